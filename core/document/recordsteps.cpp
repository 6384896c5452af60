#include "core/document/document.h"
#include "core/document/editsteps.h"

// The steps on records: in (InsertRecords), out (RemoveRecords), moved
// (MoveRecord), put in a new order (PermuteRecords), and their heights,
// which the filters set (RowHeights). Records that come, go or move are
// announced just before and after.

namespace EditSteps {

Effect effect(const Target &t, const EditStep::InsertRecords &s)
{
    if (s.position < 1 || s.position > t.db.recordCount() + 1)
        return Effect::Invalid;
    return s.rows.empty() ? Effect::None : Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::InsertRecords &s)
{
    const int count = int(s.rows.size());
    emit t.doc.recordsAboutToBeInserted(s.position, count);
    t.grid.insertRows(s.position, std::move(s.rows));
    emit t.doc.recordsInserted(s.position, count);
    return EditStep::RemoveRecords{s.position, count};
}

qint64 bytes(const EditStep::InsertRecords &s)
{
    qint64 n = 0;
    for (const RecordGrid::Row &row : s.rows) {
        n += 64 + qint64(row.checkBoxes.size() / 8) + row.texts.byteSize();
        for (const QString &text : row.cells)
            n += textBytes(text);
    }
    return n;
}

Effect effect(const Target &t, const EditStep::RemoveRecords &s)
{
    if (s.position < 1 || s.count < 0 || s.position > t.db.recordCount() - s.count + 1)
        return Effect::Invalid;
    return s.count == 0 ? Effect::None : Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::RemoveRecords &s)
{
    emit t.doc.recordsAboutToBeRemoved(s.position, s.count);
    std::vector<RecordGrid::Row> rows = t.grid.takeRows(s.position, s.count);
    emit t.doc.recordsRemoved(s.position, s.count);
    return EditStep::InsertRecords{s.position, std::move(rows)};
}

qint64 bytes(const EditStep::RemoveRecords &)
{
    return 16;
}

Effect effect(const Target &t, const EditStep::MoveRecord &s)
{
    const int n = t.db.recordCount();
    if (s.from < 1 || s.to < 1 || s.from > n || s.to > n)
        return Effect::Invalid;
    return s.from == s.to ? Effect::None : Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::MoveRecord &s)
{
    emit t.doc.recordAboutToBeMoved(s.from, s.to);
    t.grid.moveRow(s.from, s.to);
    emit t.doc.recordMoved(s.from, s.to);
    return EditStep::MoveRecord{s.to, s.from};
}

qint64 bytes(const EditStep::MoveRecord &)
{
    return 16;
}

Effect effect(const Target &t, const EditStep::PermuteRecords &s)
{
    const int n = t.db.recordCount();
    if (int(s.order.size()) != n)
        return Effect::Invalid;
    std::vector<bool> seen(size_t(n), false);
    bool moves = false;
    for (int i = 0; i < n; ++i) {
        const int from = s.order[size_t(i)];
        if (from < 1 || from > n || seen[size_t(from - 1)])
            return Effect::Invalid;
        seen[size_t(from - 1)] = true;
        moves = moves || from != i + 1;
    }
    return moves ? Effect::Changes : Effect::None;
}

EditStep::Step apply(Target &t, EditStep::PermuteRecords &s)
{
    std::vector<int> inverse(s.order.size(), 0);
    for (size_t i = 0; i < s.order.size(); ++i)
        inverse[size_t(s.order[i] - 1)] = int(i) + 1;
    emit t.doc.recordsAboutToBePermuted();
    t.grid.permuteRows(s.order);
    emit t.doc.recordsPermuted(s.order);
    return EditStep::PermuteRecords{std::move(inverse)};
}

qint64 bytes(const EditStep::PermuteRecords &s)
{
    return qint64(s.order.size()) * 4;
}

Effect effect(const Target &t, const EditStep::RowHeights &s)
{
    return pairsEffect(s.heights, t.db.recordCount(),
                       [&t](int row) { return t.grid.rowHeight(row); });
}

EditStep::Step apply(Target &t, EditStep::RowHeights &s)
{
    return EditStep::RowHeights{swapPairs(
        s.heights,
        [&t](int row, int height) {
            const int old = t.grid.rowHeight(row);
            t.grid.setRowHeight(row, height);
            return old;
        },
        [&t](int first, int last) { emit t.doc.rowHeightsChanged(first, last); })};
}

qint64 bytes(const EditStep::RowHeights &s)
{
    return qint64(s.heights.size()) * 8;
}

} // namespace EditSteps
