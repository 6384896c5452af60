#include "core/document/recordgrid.h"

#include <algorithm>

void RecordGrid::resize(int columns, int rows)
{
    columns = qMax(columns, 0);
    rows = qMax(rows, 0);
    mColumnCount = columns;
    mRows.assign(size_t(rows), Line{});
    mColumnWidths.assign(size_t(columns), DefaultColumnWidth);
    mSlots.resize(size_t(columns));
    for (int c = 0; c < columns; ++c)
        mSlots[size_t(c)] = c;
    slotsChanged();
}

void RecordGrid::slotsChanged()
{
    mSlotsInOrder = true;
    for (int c = 0; c < mColumnCount; ++c)
        mSlotsInOrder = mSlotsInOrder && mSlots[size_t(c)] == c;
}

RecordGrid::Line RecordGrid::toSlots(Row &&row) const
{
    Line line;
    line.height = row.height;
    for (int c = 0; c < mColumnCount && size_t(c) < row.checkBoxes.size(); ++c) {
        if (row.checkBoxes[size_t(c)]) {
            line.checkBoxes.resize(size_t(mColumnCount));
            line.checkBoxes[slot(c)] = true;
        }
    }
    if (row.texts.count() > 0) {
        line.texts = textsToSlots(std::move(row.texts));
        return line;
    }
    std::vector<QString> texts(static_cast<size_t>(mColumnCount));
    for (int c = 1; c < mColumnCount && size_t(c) < row.cells.size(); ++c)
        texts[slot(c)] = std::move(row.cells[size_t(c)]);
    line.texts = RecordTexts::fromTexts(texts.data(), qsizetype(texts.size()));
    return line;
}

RecordTexts RecordGrid::textsToSlots(RecordTexts &&texts) const
{
    if (mSlotsInOrder && texts.count() == mColumnCount)
        return std::move(texts);
    if (!texts.isWide()) {
        // The stored bytes of each column, in slot order, into one row.
        QByteArray bytes;
        for (int s = 1; s < mColumnCount; ++s) {
            const int column =
                mSlotsInOrder ? s
                              : int(std::find(mSlots.begin(), mSlots.end(), s) - mSlots.begin());
            if (column < texts.count())
                bytes.append(texts.storedBytes(column), texts.storedLength(column));
            bytes.append('\0');
        }
        return RecordTexts::fromStored(bytes.constData(), bytes.size(), mColumnCount - 1);
    }
    std::vector<QString> inSlots(static_cast<size_t>(mColumnCount));
    for (int c = 1; c < mColumnCount && c < texts.count(); ++c)
        inSlots[slot(c)] = texts.text(c);
    return RecordTexts::fromTexts(inSlots.data(), qsizetype(inSlots.size()));
}

RecordGrid::Row RecordGrid::toColumns(Line &&line) const
{
    Row row;
    row.cells.resize(size_t(mColumnCount));
    row.checkBoxes.resize(size_t(mColumnCount));
    row.height = line.height;
    for (int c = 0; c < mColumnCount; ++c) {
        row.cells[size_t(c)] = line.texts.text(int(slot(c)));
        row.checkBoxes[size_t(c)] = slot(c) < line.checkBoxes.size() && line.checkBoxes[slot(c)];
    }
    return row;
}

void RecordGrid::setCell(int column, int row, const QString &text)
{
    if (contains(column, row) && column > 0)
        mRows[size_t(row)].texts.setText(int(slot(column)), text);
}

void RecordGrid::setCells(int row, const std::vector<std::pair<int, QStringView>> &cells)
{
    if (row < 0 || row >= rowCount())
        return;
    thread_local std::vector<RecordTexts::SlotText> texts;
    texts.clear();
    for (const auto &[column, text] : cells) {
        if (column > 0 && column < mColumnCount)
            texts.push_back({int(slot(column)), text});
    }
    if (!texts.empty())
        mRows[size_t(row)].texts.setTexts(texts.data(), qsizetype(texts.size()));
}

void RecordGrid::setRecordTexts(int row, std::vector<QString> &&texts)
{
    if (row < 0 || row >= rowCount())
        return;
    RecordTexts &kept = mRows[size_t(row)].texts;
    const size_t count = qMin(texts.size(), size_t(qMax(mColumnCount - 1, 0)));
    std::vector<QString> slotted = kept.texts();
    slotted.resize(size_t(mColumnCount));
    for (size_t i = 0; i < count; ++i)
        slotted[slot(int(i) + 1)] = std::move(texts[i]);
    kept = RecordTexts::fromTexts(slotted.data(), qsizetype(slotted.size()));
}

void RecordGrid::setStoredTexts(int row, const char *data, qsizetype size,
                                RecordTexts::Summary *summary, RecordTexts::Arena *arena)
{
    if (row < 0 || row >= rowCount() || mColumnCount < 1)
        return;
    RecordTexts texts = RecordTexts::fromStored(data, size, mColumnCount - 1, summary,
                                                mSlotsInOrder ? arena : nullptr);
    if (mSlotsInOrder) {
        mRows[size_t(row)].texts = std::move(texts);
        return;
    }
    std::vector<QString> inColumns = texts.texts();
    inColumns.erase(inColumns.begin());
    setRecordTexts(row, std::move(inColumns));
}

void RecordGrid::shareTexts(int row, int from)
{
    if (row >= 0 && row < rowCount() && from >= 0 && from < rowCount())
        mRows[size_t(row)].texts = mRows[size_t(from)].texts;
}

const RecordTexts *RecordGrid::storedTexts(int row) const
{
    if (row < 0 || row >= rowCount() || !mSlotsInOrder)
        return nullptr;
    const RecordTexts &texts = mRows[size_t(row)].texts;
    return texts.isStored() && texts.count() == mColumnCount ? &texts : nullptr;
}

bool RecordGrid::hasCheckBox(int column, int row) const
{
    if (!contains(column, row))
        return false;
    const std::vector<bool> &boxes = mRows[size_t(row)].checkBoxes;
    return slot(column) < boxes.size() && boxes[slot(column)];
}

void RecordGrid::setCheckBox(int column, int row, bool on)
{
    if (!contains(column, row))
        return;
    std::vector<bool> &boxes = mRows[size_t(row)].checkBoxes;
    if (boxes.empty() && !on)
        return;
    boxes.resize(size_t(mColumnCount));
    boxes[slot(column)] = on;
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
    std::vector<Line> lines;
    lines.reserve(rows.size());
    for (Row &row : rows)
        lines.push_back(toSlots(std::move(row)));
    mRows.insert(mRows.begin() + position, std::make_move_iterator(lines.begin()),
                 std::make_move_iterator(lines.end()));
}

std::vector<RecordGrid::Row> RecordGrid::takeRows(int position, int count)
{
    if (position < 1 || count <= 0 || position + count > rowCount())
        return {};
    const auto first = mRows.begin() + position;
    std::vector<Row> taken;
    taken.reserve(size_t(count));
    for (auto it = first; it != first + count; ++it)
        taken.push_back(toColumns(std::move(*it)));
    mRows.erase(first, first + count);
    return taken;
}

void RecordGrid::permuteRows(const std::vector<int> &order)
{
    if (int(order.size()) != recordCount())
        return;
    std::vector<Line> rows;
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
        Line &row = mRows[r];
        if (r < column.cells.size() && !column.cells[r].isEmpty())
            row.texts.setText(newSlot, column.cells[r]);
        const bool on = r < column.checkBoxes.size() && column.checkBoxes[r];
        if (on || !row.checkBoxes.empty()) {
            row.checkBoxes.resize(size_t(newSlot));
            row.checkBoxes.push_back(on);
        }
    }
    mSlots.insert(mSlots.begin() + position, newSlot);
    mColumnWidths.insert(mColumnWidths.begin() + position, column.width);
    ++mColumnCount;
    slotsChanged();
}

RecordGrid::Column RecordGrid::takeColumn(int position)
{
    Column taken;
    if (position < 1 || position >= mColumnCount)
        return taken;
    const size_t gone = slot(position);
    taken.cells.reserve(mRows.size());
    taken.checkBoxes.reserve(mRows.size());
    for (Line &row : mRows) {
        taken.cells.push_back(row.texts.take(int(gone)));
        if (row.checkBoxes.empty()) {
            taken.checkBoxes.push_back(false);
            continue;
        }
        taken.checkBoxes.push_back(row.checkBoxes[gone]);
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
    slotsChanged();
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
    slotsChanged();
}

void RecordGrid::moveRow(int from, int to)
{
    if (from == to || from < 1 || to < 1 || from >= rowCount() || to >= rowCount())
        return;
    rotateOne(mRows, from, to);
}
