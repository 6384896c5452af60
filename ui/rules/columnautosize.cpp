#include "ui/rules/columnautosize.h"

#include "core/database.h"
#include "core/recordgrid.h"
#include "core/textmeasurer.h"

#include <algorithm>

ColumnAutoSize::ColumnAutoSize(Database &db, const TextMeasurer &measurer)
    : mDb(db), mMeasurer(measurer)
{
}

bool ColumnAutoSize::isOn() const
{
    return mDb.autoSizeColumns();
}

int ColumnAutoSize::fittingWidth(const Database &db, const TextMeasurer &measurer, int column)
{
    const RecordGrid &grid = db.grid();
    int widest = 0;
    for (int row = 0; row <= db.recordCount(); ++row) {
        const QString &text = grid.cell(column, row);
        qsizetype length = text.indexOf(QLatin1Char('\r'));
        if (length < 0)
            length = text.size();
        // Measuring is the slow part. A text that is clearly not the widest
        // is passed over: kerning could hide a pixel or two, which the
        // margin takes up.
        const QStringView line = QStringView(text).left(length);
        if (measurer.estimateWidth(line) + Margin <= widest)
            continue;
        const int width = measurer.textWidth(line.toString()) + Margin;
        widest = std::max(widest, width);
        if (widest >= MaxPixels)
            return MaxPixels;
    }
    return widest;
}

void ColumnAutoSize::AutoSizeColumns(bool on)
{
    RecordGrid &grid = mDb.grid();
    const int fields = std::min<int>(mDb.fieldCount(), int(mSavedWidths.size()) - 1);
    if (on) {
        for (int column = 1; column <= fields; ++column) {
            mSavedWidths[size_t(column)] = grid.columnWidth(column);
            grid.setColumnWidth(column, fittingWidth(mDb, mMeasurer, column));
        }
    } else if (mDb.autoSizeColumns()) {
        for (int column = 1; column <= fields; ++column)
            grid.setColumnWidth(column, mSavedWidths[size_t(column)]);
    }
    mDb.setAutoSizeColumns(on);
}
