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

namespace {

/// Measures the first lines of cells: up to the carriage return (or a bare
/// line feed; a stored LF stands for CR LF).
class FirstLines
{
public:
    explicit FirstLines(const TextMeasurer &measurer) : mMeasurer(measurer) {}

    int width(const RecordGrid &grid, int column, int row)
    {
        const char *bytes = nullptr;
        qsizetype size = 0;
        if (grid.storedCell(column, row, &bytes, &size)) {
            qsizetype length = 0;
            while (length < size && bytes[length] != '\n' && bytes[length] != '\r')
                ++length;
            return mMeasurer.storedWidth(bytes, length);
        }
        // A row kept as UTF-16: measured as text, each text once.
        grid.cellInto(column, row, mText);
        qsizetype length = 0;
        while (length < mText.size() && mText.at(length) != QLatin1Char('\r') &&
               mText.at(length) != QLatin1Char('\n'))
            ++length;
        mText.truncate(length);
        auto it = mMeasured.constFind(mText);
        if (it == mMeasured.constEnd())
            it = mMeasured.insert(mText, mMeasurer.textWidth(mText));
        return *it;
    }

private:
    const TextMeasurer &mMeasurer;
    QString mText;
    QHash<QString, int> mMeasured;
};

} // namespace

int ColumnAutoSize::fittingWidth(const Database &db, const TextMeasurer &measurer, int column)
{
    FirstLines lines(measurer);
    int widest = 0;
    for (int row = 0; row <= db.recordCount(); ++row) {
        widest = std::max(widest, lines.width(db.grid(), column, row) + Margin);
        if (widest >= MaxPixels)
            return MaxPixels;
    }
    return widest;
}

std::vector<int> ColumnAutoSize::fittingWidths(const Database &db, const TextMeasurer &measurer)
{
    // Row by row, so that each record's bytes are read once while they are
    // at hand; a column that reaches the most is measured no further.
    const int fields = db.fieldCount();
    FirstLines lines(measurer);
    std::vector<int> widest(size_t(fields) + 1, 0);
    std::vector<int> open; // the columns still below the most
    for (int column = 1; column <= fields; ++column)
        open.push_back(column);
    for (int row = 0; row <= db.recordCount() && !open.empty(); ++row) {
        for (size_t i = 0; i < open.size();) {
            const int column = open[i];
            int &w = widest[size_t(column)];
            w = std::max(w, lines.width(db.grid(), column, row) + Margin);
            if (w >= MaxPixels) {
                w = MaxPixels;
                open.erase(open.begin() + qsizetype(i));
            } else {
                ++i;
            }
        }
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
        const std::vector<int> fitting = fittingWidths(db, mMeasurer);
        for (int column = 1; column <= fields; ++column) {
            mSavedWidths[size_t(column)] = grid.columnWidth(column);
            widths.widths.emplace_back(column, fitting[size_t(column)]);
        }
    } else if (db.autoSizeColumns()) {
        for (int column = 1; column <= fields; ++column)
            widths.widths.emplace_back(column, mSavedWidths[size_t(column)]);
    }
    Edit edit = Edit::view(std::move(widths));
    edit.steps.push_back(EditStep::ViewOptions{db.widthScale(), on});
    mDoc.apply(std::move(edit));
}
