#include "widgets/platform/tableprinter.h"

#include "core/document/database.h"
#include "core/platform/textmeasurer.h"
#include "interchange/print/printlayout.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <array>
#include <cmath>

namespace {

/// Widths in the cell font, in tenths of a millimetre. The texts of a large
/// table are measured a million times: characters of the first 256 code
/// points add up their advances, kept once each; a text with any other
/// character is shaped whole.
class FontMeasurer : public TextMeasurer
{
public:
    explicit FontMeasurer(const QFont &font) : mMetrics(font)
    {
        for (int c = 0; c < int(mAdvances.size()); ++c)
            mAdvances[size_t(c)] = mMetrics.horizontalAdvance(QChar(c));
    }
    int textWidth(const QString &text) const override
    {
        double width = 0;
        for (const QChar c : text) {
            if (c.unicode() >= mAdvances.size())
                return int(std::ceil(mMetrics.horizontalAdvance(text)));
            width += mAdvances[c.unicode()];
        }
        return int(std::ceil(width));
    }

private:
    QFontMetricsF mMetrics;
    std::array<double, 256> mAdvances{};
};

} // namespace

TablePrinter::Fonts TablePrinter::fonts(const QFont &programFont)
{
    // The program font's character height in screen pixels, as a negative
    // number (the height of an 8-point font at 96 dots an inch is -11).
    const double points =
        programFont.pointSizeF() > 0 ? programFont.pointSizeF() : programFont.pixelSize() * 0.75;
    const int screenHeight = -int(std::lround(points * 96.0 / 72.0));
    Fonts f;
    f.cell = programFont;
    f.cell.setPixelSize(std::max(1, std::abs(PrintLayout::cellFontHeight(screenHeight))));
    f.cell.setHintingPreference(QFont::PreferNoHinting);

    // A positive height is that of the whole line, not of the characters.
    f.title = programFont;
    f.title.setBold(true);
    f.title.setHintingPreference(QFont::PreferNoHinting);
    f.title.setPixelSize(100);
    const double lineAt100 = QFontMetricsF(f.title).height();
    f.title.setPixelSize(
        std::max(1, int(std::lround(PrintLayout::TitleHeight * 100.0 / std::max(1.0, lineAt100)))));
    return f;
}

std::unique_ptr<TextMeasurer> TablePrinter::cellMeasurer(const QFont &programFont)
{
    return std::make_unique<FontMeasurer>(fonts(programFont).cell);
}

int TablePrinter::print(QPagedPaintDevice &device, const Database &db, const QFont &programFont,
                        const std::function<bool(int lastRow)> &progress)
{
    const Fonts fonts = TablePrinter::fonts(programFont);
    const FontMeasurer measurer(fonts.cell);
    const PrintLayout layout(db, measurer);
    // Whole millimetres, as the device reports its printable size.
    const QRectF area = device.pageLayout().paintRect(QPageLayout::Millimeter);
    const PageArea pageArea{int(area.width()) * 10, int(area.height()) * 10};

    QPainter painter;
    if (!painter.begin(&device))
        return -1;
    const double scale = device.logicalDpiX() / 254.0;
    const double ascents[] = {QFontMetricsF(fonts.title).ascent(),
                              QFontMetricsF(fonts.cell).ascent()};
    painter.setPen(Qt::black);
    int printed = 0;
    bool stopped = false;
    layout.layOut(pageArea, [&](PrintPage &&page) {
        if (printed > 0 && !device.newPage()) {
            stopped = true;
            return false;
        }
        painter.resetTransform();
        painter.scale(scale, scale);
        for (const PrintText &t : page.texts) {
            const bool title = t.font == PrintText::Font::Title;
            painter.setFont(title ? fonts.title : fonts.cell);
            painter.drawText(QPointF(t.x, t.y + ascents[title ? 0 : 1]), t.text);
        }
        ++printed;
        if (progress && !progress(page.lastRow)) {
            stopped = true;
            return false;
        }
        return true;
    });
    painter.end();
    return stopped ? -1 : printed;
}
