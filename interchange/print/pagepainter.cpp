#include "interchange/print/pagepainter.h"

#include "core/document/database.h"
#include "interchange/print/fontmeasurer.h"
#include "interchange/print/printlayout.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QRawFont>

#include <array>
#include <cmath>

namespace {

/// The widths of the cell font: characters keep their own advances, as the
/// glyph runs place them.
std::unique_ptr<FontMeasurer> makeCellMeasurer(const QFont &cellFont)
{
    return std::make_unique<FontMeasurer>(cellFont, FontMeasurer::Rounding::Up,
                                          FontMeasurer::Pairs::Ignored);
}

/// The cell texts of one line as one run of glyphs.
class LineRun
{
public:
    LineRun(const FontMeasurer &measurer, const QRawFont &font) : mMeasurer(measurer), mFont(font)
    {
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            const QString c = Codepage::decode(&byte, 1);
            quint32 glyph = 0;
            int count = 1;
            if (measurer.advance(static_cast<unsigned char>(b)) >= 0 &&
                font.glyphIndexesForChars(c.constData(), 1, &glyph, &count) && count == 1)
                mGlyphs[size_t(b)] = glyph;
        }
    }

    /// Adds @p text with its left edge at @p x; false, adding nothing,
    /// when a character of it has no glyph here.
    bool add(double x, const QString &text)
    {
        const qsizetype start = mIndexes.size();
        qint64 at = 0; // 1/64 unit from x
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            const int b = u < 0x80 ? int(u) : Codepage::byteFor(u);
            const quint32 glyph = b < 0 ? 0 : mGlyphs[size_t(b)];
            if (glyph == 0) {
                mIndexes.resize(start);
                mPositions.resize(start);
                return false;
            }
            mIndexes.push_back(glyph);
            mPositions.push_back(QPointF(x + double(at) / 64.0, 0));
            at += mMeasurer.advance(static_cast<unsigned char>(b));
        }
        return true;
    }

    /// Draws the run with its baseline at @p baseline, and empties it.
    void draw(QPainter &painter, double baseline)
    {
        if (mIndexes.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(mFont);
        run.setGlyphIndexes(mIndexes);
        run.setPositions(mPositions);
        painter.drawGlyphRun(QPointF(0, baseline), run);
        mIndexes.clear();
        mPositions.clear();
    }

private:
    const FontMeasurer &mMeasurer;
    QRawFont mFont;
    std::array<quint32, 256> mGlyphs{}; ///< 0: drawn through the font
    QList<quint32> mIndexes;
    QList<QPointF> mPositions;
};

} // namespace

PagePainter::Fonts PagePainter::fonts(const QFont &programFont)
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
    // Glyphs stand where the layout measured them, each at its own advance.
    f.cell.setKerning(false);

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

std::unique_ptr<TextMeasurer> PagePainter::cellMeasurer(const QFont &programFont)
{
    return makeCellMeasurer(fonts(programFont).cell);
}

int PagePainter::print(QPagedPaintDevice &device, const Database &db, const QFont &programFont,
                       const std::function<bool(int lastRow)> &progress)
{
    const Fonts fonts = PagePainter::fonts(programFont);
    const std::unique_ptr<FontMeasurer> measurer = makeCellMeasurer(fonts.cell);
    const PrintLayout layout(db, *measurer);
    // Whole millimetres, as the device reports its printable size.
    const QRectF area = device.pageLayout().paintRect(QPageLayout::Millimeter);
    const PageArea pageArea{int(area.width()) * 10, int(area.height()) * 10};

    QPainter painter;
    if (!painter.begin(&device))
        return -1;
    const double scale = device.logicalDpiX() / 254.0;
    const double titleAscent = QFontMetricsF(fonts.title).ascent();
    const double cellAscent = QFontMetricsF(fonts.cell).ascent();
    LineRun line(*measurer, QRawFont::fromFont(fonts.cell));
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
        int lineY = -1;
        for (const PrintText &t : page.texts) {
            if (t.font == PrintText::Font::Title) {
                painter.setFont(fonts.title);
                painter.drawText(QPointF(t.x, t.y + titleAscent), t.text);
                continue;
            }
            if (t.y != lineY) {
                line.draw(painter, lineY + cellAscent);
                lineY = t.y;
            }
            if (!line.add(t.x, t.text)) {
                painter.setFont(fonts.cell);
                painter.drawText(QPointF(t.x, t.y + cellAscent), t.text);
            }
        }
        line.draw(painter, lineY + cellAscent);
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
