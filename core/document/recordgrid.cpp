#include "core/document/recordgrid.h"

#include <algorithm>

void RecordGrid::resize(int columns, int rows)
{
    columns = qMax(columns, 0);
    rows = qMax(rows, 0);
    mColumnCount = columns;
    mRows.assign(size_t(rows), Row{});
    for (Row &row : mRows) {
        row.cells.resize(size_t(columns));
        row.checkBoxes.resize(size_t(columns));
    }
    mColumnWidths.assign(size_t(columns), DefaultColumnWidth);
    mSlots.resize(size_t(columns));
    for (int c = 0; c < columns; ++c)
        mSlots[size_t(c)] = c;
}

void RecordGrid::toSlots(Row &row) const
{
    Row slotted;
    slotted.cells.resize(size_t(mColumnCount));
    slotted.checkBoxes.resize(size_t(mColumnCount));
    slotted.height = row.height;
    for (int c = 0; c < mColumnCount && size_t(c) < row.cells.size(); ++c)
        slotted.cells[slot(c)] = std::move(row.cells[size_t(c)]);
    for (int c = 0; c < mColumnCount && size_t(c) < row.checkBoxes.size(); ++c)
        slotted.checkBoxes[slot(c)] = row.checkBoxes[size_t(c)];
    row = std::move(slotted);
}

void RecordGrid::toColumns(Row &row) const
{
    Row ordered;
    ordered.cells.resize(size_t(mColumnCount));
    ordered.checkBoxes.resize(size_t(mColumnCount));
    ordered.height = row.height;
    for (int c = 0; c < mColumnCount; ++c) {
        ordered.cells[size_t(c)] = std::move(row.cells[slot(c)]);
        ordered.checkBoxes[size_t(c)] = row.checkBoxes[slot(c)];
    }
    row = std::move(ordered);
}

const QString &RecordGrid::emptyText()
{
    static const QString kEmpty;
    return kEmpty;
}

void RecordGrid::setCell(int column, int row, const QString &text)
{
    if (contains(column, row) && column > 0)
        mRows[size_t(row)].cells[slot(column)] = text;
}

void RecordGrid::setRecordTexts(int row, std::vector<QString> &&texts)
{
    if (row < 0 || row >= rowCount())
        return;
    std::vector<QString> &cells = mRows[size_t(row)].cells;
    const size_t count = qMin(texts.size(), size_t(qMax(mColumnCount - 1, 0)));
    for (size_t i = 0; i < count; ++i)
        cells[slot(int(i) + 1)] = std::move(texts[i]);
}

bool RecordGrid::hasCheckBox(int column, int row) const
{
    return contains(column, row) && mRows[size_t(row)].checkBoxes[slot(column)];
}

void RecordGrid::setCheckBox(int column, int row, bool on)
{
    if (contains(column, row))
        mRows[size_t(row)].checkBoxes[slot(column)] = on;
}

int RecordGrid::columnWidth(int column) const
{
    if (column < 0 || column >= mColumnCount)
        return 0;
    return mColumnWidths[size_t(column)];
}

void RecordGrid::setColumnWidth(int column, int pixels)
{
    if (column >= 0 && column < mColumnCount)
        mColumnWidths[size_t(column)] = pixels;
}

int RecordGrid::rowHeight(int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    return mRows[size_t(row)].height;
}

void RecordGrid::setRowHeight(int row, int pixels)
{
    if (row >= 0 && row < rowCount())
        mRows[size_t(row)].height = pixels;
}

void RecordGrid::showAllRows()
{
    for (int row = 1; row < rowCount(); ++row)
        mRows[size_t(row)].height = VisibleRowHeight;
}

void RecordGrid::insertRows(int position, std::vector<Row> &&rows)
{
    position = qBound(1, position, rowCount());
    for (Row &row : rows)
        toSlots(row);
    mRows.insert(mRows.begin() + position, std::make_move_iterator(rows.begin()),
                 std::make_move_iterator(rows.end()));
}

std::vector<RecordGrid::Row> RecordGrid::takeRows(int position, int count)
{
    if (position < 1 || count <= 0 || position + count > rowCount())
        return {};
    const auto first = mRows.begin() + position;
    std::vector<Row> taken(std::make_move_iterator(first), std::make_move_iterator(first + count));
    mRows.erase(first, first + count);
    for (Row &row : taken)
        toColumns(row);
    return taken;
}

void RecordGrid::permuteRows(const std::vector<int> &order)
{
    if (int(order.size()) != recordCount())
        return;
    std::vector<Row> rows;
    rows.reserve(mRows.size());
    rows.push_back(std::move(mRows[0]));
    for (int from : order)
        rows.push_back(std::move(mRows[size_t(from)]));
    mRows = std::move(rows);
}

void RecordGrid::insertColumn(int position, Column &&column)
{
    position = qBound(1, position, qMax(mColumnCount, 1));
    // The new column takes a new slot at the end of every row; only the
    // map from columns to slots shifts.
    const int newSlot = mColumnCount;
    for (size_t r = 0; r < mRows.size(); ++r) {
        Row &row = mRows[r];
        row.cells.push_back(r < column.cells.size() ? std::move(column.cells[r]) : QString());
        row.checkBoxes.push_back(r < column.checkBoxes.size() && column.checkBoxes[r]);
    }
    mSlots.insert(mSlots.begin() + position, newSlot);
    mColumnWidths.insert(mColumnWidths.begin() + position, column.width);
    ++mColumnCount;
}

RecordGrid::Column RecordGrid::takeColumn(int position)
{
    Column taken;
    if (position < 1 || position >= mColumnCount)
        return taken;
    const size_t gone = slot(position);
    taken.cells.reserve(mRows.size());
    taken.checkBoxes.reserve(mRows.size());
    for (Row &row : mRows) {
        taken.cells.push_back(std::move(row.cells[gone]));
        taken.checkBoxes.push_back(row.checkBoxes[gone]);
        row.cells.erase(row.cells.begin() + std::ptrdiff_t(gone));
        row.checkBoxes.erase(row.checkBoxes.begin() + std::ptrdiff_t(gone));
    }
    taken.width = mColumnWidths[size_t(position)];
    mColumnWidths.erase(mColumnWidths.begin() + position);
    mSlots.erase(mSlots.begin() + position);
    for (int &s : mSlots) {
        if (size_t(s) > gone)
            --s;
    }
    --mColumnCount;
    return taken;
}

QString RecordGrid::recordNumberText(int row)
{
    return QStringLiteral("%1").arg(row, 4, 10, QLatin1Char('0'));
}

namespace {

template <typename Vector> void rotateOne(Vector &v, int from, int to)
{
    if (from < to)
        std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
    else
        std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
}

} // namespace

void RecordGrid::moveColumn(int from, int to)
{
    if (from == to || from < 1 || to < 1 || from >= mColumnCount || to >= mColumnCount)
        return;
    // The cells stay in their slots; the columns name other slots.
    rotateOne(mSlots, from, to);
    rotateOne(mColumnWidths, from, to);
}

void RecordGrid::moveRow(int from, int to)
{
    if (from == to || from < 1 || to < 1 || from >= rowCount() || to >= rowCount())
        return;
    rotateOne(mRows, from, to);
}
