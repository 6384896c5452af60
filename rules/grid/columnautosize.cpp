#include "rules/grid/columnautosize.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/document/recordgrid.h"
#include "core/platform/textmeasurer.h"

#include <QHash>

#include <algorithm>

ColumnAutoSize::ColumnAutoSize(Document &doc, const TextMeasurer &measurer)
    : mDoc(doc), mMeasurer(measurer)
{
}

bool ColumnAutoSize::isOn() const
{
    return mDoc.database().autoSizeColumns();
}

int ColumnAutoSize::fittingWidth(const Database &db, const TextMeasurer &measurer, int column)
{
    const RecordGrid &grid = db.grid();
    // Measuring is the slow part, and columns repeat their texts.
    QHash<QString, int> measured;
    int widest = 0;
    for (int row = 0; row <= db.recordCount(); ++row) {
        const QString text = grid.cell(column, row);
        // The first line: up to the carriage return (or a bare line feed).
        qsizetype length = 0;
        while (length < text.size() && text.at(length) != QLatin1Char('\r') &&
               text.at(length) != QLatin1Char('\n'))
            ++length;
        // The texts are made for the asking: the keys own theirs.
        const QString line = text.left(length);
        auto it = measured.constFind(line);
        if (it == measured.constEnd())
            it = measured.insert(line, measurer.textWidth(line));
        widest = std::max(widest, *it + Margin);
        if (widest >= MaxPixels)
            return MaxPixels;
    }
    return widest;
}

void ColumnAutoSize::AutoSizeColumns(bool on)
{
    const Database &db = mDoc.database();
    const RecordGrid &grid = db.grid();
    const int fields = std::min<int>(db.fieldCount(), int(mSavedWidths.size()) - 1);
    EditStep::ColumnWidths widths;
    if (on) {
        for (int column = 1; column <= fields; ++column) {
            mSavedWidths[size_t(column)] = grid.columnWidth(column);
            widths.widths.emplace_back(column, fittingWidth(db, mMeasurer, column));
        }
    } else if (db.autoSizeColumns()) {
        for (int column = 1; column <= fields; ++column)
            widths.widths.emplace_back(column, mSavedWidths[size_t(column)]);
    }
    Edit edit = Edit::view(std::move(widths));
    edit.steps.push_back(EditStep::ViewOptions{db.widthScale(), on});
    mDoc.apply(std::move(edit));
}
