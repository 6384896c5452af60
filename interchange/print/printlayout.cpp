#include "interchange/print/printlayout.h"

#include "core/document/database.h"
#include "core/platform/textmeasurer.h"

#include <cmath>

QString PrintPage::label() const
{
    return QStringLiteral("Page %1.%2").arg(rowBand).arg(columnBand);
}

PrintLayout::PrintLayout(const Database &db, const TextMeasurer &cellFont)
    : mDb(db), mMeasurer(cellFont)
{
}

int PrintLayout::ColumnPrintWidth(int column) const
{
    if (column == 0)
        return mMeasurer.textWidth(QStringLiteral("0000_"));
    // 0.29 mm per screen pixel.
    return mDb.grid().columnWidth(column) * 290 / 100;
}

int PrintLayout::cellFontHeight(int programFontHeight)
{
    return int(std::nearbyint(programFontHeight * 2.5));
}

QString PrintLayout::fitText(const QString &text, int width, const TextMeasurer &measurer)
{
    const int room = width - FitMargin;
    if (width <= 0 || measurer.textWidth(text) <= room)
        return text;
    const QString dots = QStringLiteral("..");
    // Characters go from before the ".." one at a time until the text fits
    // or only ".." is left. Widths grow with the length, so the longest
    // head that fits is searched for instead of shortening one by one.
    qsizetype fits = 0; // a head of this length fits (0: only ".." remains)
    qsizetype tooLong = text.size() + 1;
    while (tooLong - fits > 1) {
        const qsizetype mid = fits + (tooLong - fits) / 2;
        if (measurer.textWidth(text.left(mid) + dots) <= room)
            fits = mid;
        else
            tooLong = mid;
    }
    QString fitted = text.left(fits) + dots;
    // Then from the front while it is still too wide.
    while (!fitted.isEmpty() && measurer.textWidth(fitted) > room)
        fitted.remove(0, 1);
    return fitted;
}

void PrintLayout::layOut(const PageArea &area,
                         const std::function<bool(PrintPage &&)> &emitPage) const
{
    const RecordGrid &grid = mDb.grid();
    const int records = mDb.recordCount();
    const int fields = mDb.fieldCount();
    const int pageWidth = area.width;
    const int heightLimit = area.height - BottomMargin;
    if (fields < 1)
        return;
    std::vector<int> widths(size_t(fields) + 1);
    for (int c = 0; c <= fields; ++c)
        widths[size_t(c)] = ColumnPrintWidth(c);
    // A line is one line: the breaks within a cell print as spaces.
    const auto fitted = [this](QString text, int width) {
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        return fitText(text, width, mMeasurer);
    };

    int firstRow = 1;
    for (int rowBand = 1; firstRow <= records; ++rowBand) {
        int row = firstRow;
        int firstColumn = 1;
        for (int columnBand = 1; firstColumn <= fields; ++columnBand) {
            PrintPage page;
            page.rowBand = rowBand;
            page.columnBand = columnBand;
            row = firstRow;
            int y = TitleY;
            page.texts.push_back({LeftMargin, y, mDb.name(), PrintText::Font::Title});
            page.texts.push_back({LabelX, y, page.label(), PrintText::Font::Title});
            y += HeaderGap;

            // A band holds at least one column, even one wider than the page.
            int lastColumn = firstColumn;
            int across = widths[0] + widths[size_t(firstColumn)] + LeftMargin;
            while (lastColumn < fields && across + widths[size_t(lastColumn) + 1] < pageWidth) {
                ++lastColumn;
                across += widths[size_t(lastColumn)];
            }

            int x = widths[0] + LeftMargin;
            for (int c = firstColumn; c <= lastColumn; ++c) {
                page.texts.push_back({x, y, fitted(grid.cell(c, 0), widths[size_t(c)])});
                x += widths[size_t(c)];
            }
            y += LinePitch;

            // Hidden rows print nothing and take no line.
            do {
                if (!grid.isRowHidden(row)) {
                    page.texts.push_back({LeftMargin, y, RecordGrid::recordNumberText(row)});
                    x = widths[0] + LeftMargin;
                    for (int c = firstColumn; c <= lastColumn; ++c) {
                        page.texts.push_back({x, y, fitted(grid.cell(c, row), widths[size_t(c)])});
                        x += widths[size_t(c)];
                    }
                }
                ++row;
                if (row <= records && !grid.isRowHidden(row))
                    y += LinePitch;
            } while (row <= records && y <= heightLimit - LinePitch);

            page.lastRow = row - 1;
            firstColumn = lastColumn + 1;
            if (!emitPage(std::move(page)))
                return;
        }
        firstRow = row;
    }
}

std::vector<PrintPage> PrintLayout::pages(const PageArea &area) const
{
    std::vector<PrintPage> all;
    layOut(area, [&all](PrintPage &&page) {
        all.push_back(std::move(page));
        return true;
    });
    return all;
}
