#include "core/document/document.h"
#include "core/document/editsteps.h"

// The steps on cells: their texts (Cells) and their check boxes
// (CheckBoxes). Both announce the rectangle they touched with
// cellsChanged.

namespace EditSteps {

namespace {

bool isRecordCell(const Database &db, int column, int row, int firstRow)
{
    return column >= 1 && column <= db.fieldCount() && row >= firstRow && row <= db.recordCount();
}

} // namespace

Effect effect(const Target &t, const EditStep::Cells &s)
{
    bool changes = false;
    for (const auto &change : s.changes) {
        // Row 0 holds the field names.
        if (!isRecordCell(t.db, change.column, change.row, 0))
            return Effect::Invalid;
        changes = changes || t.grid.cell(change.column, change.row) != change.text;
    }
    return changes ? Effect::Changes : Effect::None;
}

EditStep::Step apply(Target &t, EditStep::Cells &s)
{
    // Each record is built anew once with all its new texts.
    std::vector<size_t> order(s.changes.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const auto byRow = [&](size_t a, size_t b) { return s.changes[a].row < s.changes[b].row; };
    if (!std::is_sorted(order.begin(), order.end(), byRow))
        std::stable_sort(order.begin(), order.end(), byRow);
    EditStep::Cells inverse;
    inverse.changes.reserve(order.size());
    std::vector<std::pair<int, QStringView>> rowTexts;
    int c0 = INT_MAX, r0 = INT_MAX, c1 = -1, r1 = -1;
    for (size_t k = 0; k < order.size();) {
        const int row = s.changes[order[k]].row;
        rowTexts.clear();
        for (; k < order.size() && s.changes[order[k]].row == row; ++k) {
            const auto &change = s.changes[order[k]];
            inverse.changes.push_back({change.column, row, t.grid.cell(change.column, row)});
            rowTexts.emplace_back(change.column, change.text);
            c0 = std::min(c0, change.column);
            c1 = std::max(c1, change.column);
        }
        t.grid.setCells(row, rowTexts);
        r0 = std::min(r0, row);
        r1 = std::max(r1, row);
    }
    // Every old text is read before its record changes, so a cell named
    // twice gets its first text back whichever comes last.
    if (c1 >= 0)
        emit t.doc.cellsChanged(c0, r0, c1, r1);
    return inverse;
}

qint64 bytes(const EditStep::Cells &s)
{
    qint64 n = 0;
    for (const auto &c : s.changes)
        n += 8 + textBytes(c.text);
    return n;
}

Effect effect(const Target &t, const EditStep::CheckBoxes &s)
{
    bool changes = false;
    for (const auto &change : s.changes) {
        if (!isRecordCell(t.db, change.column, change.row, 1))
            return Effect::Invalid;
        changes = changes || t.grid.hasCheckBox(change.column, change.row) != change.on;
    }
    return changes ? Effect::Changes : Effect::None;
}

EditStep::Step apply(Target &t, EditStep::CheckBoxes &s)
{
    EditStep::CheckBoxes inverse;
    inverse.changes.reserve(s.changes.size());
    int c0 = INT_MAX, r0 = INT_MAX, c1 = -1, r1 = -1;
    for (const auto &change : s.changes) {
        inverse.changes.push_back(
            {change.column, change.row, t.grid.hasCheckBox(change.column, change.row)});
        t.grid.setCheckBox(change.column, change.row, change.on);
        c0 = std::min(c0, change.column);
        c1 = std::max(c1, change.column);
        r0 = std::min(r0, change.row);
        r1 = std::max(r1, change.row);
    }
    std::reverse(inverse.changes.begin(), inverse.changes.end());
    if (c1 >= 0)
        emit t.doc.cellsChanged(c0, r0, c1, r1);
    return inverse;
}

qint64 bytes(const EditStep::CheckBoxes &)
{
    return 16;
}

} // namespace EditSteps
