#include "core/document/document.h"

#include "core/document/fieldmapping.h"
#include "core/document/fieldreferences.h"
#include "core/document/limits.h"

#include <QThreadPool>

#include <algorithm>
#include <climits>
#include <memory>
#include <utility>

/// Applies one step to the document's database, announces it and returns
/// its inverse.
struct StepApplier
{
    Document &doc;
    Database &db;
    RecordGrid &grid;

    EditStep::Step operator()(EditStep::Cells &s)
    {
        // Each record is built anew once with all its new texts.
        std::vector<size_t> order;
        order.reserve(s.changes.size());
        for (size_t i = 0; i < s.changes.size(); ++i) {
            const auto &change = s.changes[i];
            if (change.column >= 1 && change.column <= db.fieldCount() && change.row >= 0 &&
                change.row <= db.recordCount())
                order.push_back(i);
        }
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
                inverse.changes.push_back({change.column, row, grid.cell(change.column, row)});
                rowTexts.emplace_back(change.column, change.text);
                c0 = std::min(c0, change.column);
                c1 = std::max(c1, change.column);
            }
            grid.setCells(row, rowTexts);
            r0 = std::min(r0, row);
            r1 = std::max(r1, row);
        }
        // Every old text is read before its record changes, so a cell named
        // twice gets its first text back whichever comes last.
        if (c1 >= 0)
            emit doc.cellsChanged(c0, r0, c1, r1);
        return inverse;
    }

    EditStep::Step operator()(EditStep::InsertRecords &s)
    {
        const int position = qBound(1, s.position, db.recordCount() + 1);
        const int count = int(s.rows.size());
        if (count == 0)
            return EditStep::RemoveRecords{position, 0};
        emit doc.recordsAboutToBeInserted(position, count);
        grid.insertRows(position, std::move(s.rows));
        emit doc.recordsInserted(position, count);
        return EditStep::RemoveRecords{position, count};
    }

    EditStep::Step operator()(EditStep::RemoveRecords &s)
    {
        if (s.position < 1 || s.count <= 0 || s.position + s.count - 1 > db.recordCount())
            return EditStep::InsertRecords{s.position, {}};
        emit doc.recordsAboutToBeRemoved(s.position, s.count);
        std::vector<RecordGrid::Row> rows = grid.takeRows(s.position, s.count);
        emit doc.recordsRemoved(s.position, s.count);
        return EditStep::InsertRecords{s.position, std::move(rows)};
    }

    EditStep::Step operator()(EditStep::MoveRecord &s)
    {
        const int n = db.recordCount();
        if (s.from == s.to || s.from < 1 || s.to < 1 || s.from > n || s.to > n)
            return EditStep::MoveRecord{s.from, s.from};
        emit doc.recordAboutToBeMoved(s.from, s.to);
        grid.moveRow(s.from, s.to);
        emit doc.recordMoved(s.from, s.to);
        return EditStep::MoveRecord{s.to, s.from};
    }

    EditStep::Step operator()(EditStep::PermuteRecords &s)
    {
        const int n = db.recordCount();
        std::vector<int> inverse(size_t(n), 0);
        bool valid = int(s.order.size()) == n;
        for (int i = 0; valid && i < n; ++i) {
            const int from = s.order[size_t(i)];
            valid = from >= 1 && from <= n && inverse[size_t(from - 1)] == 0;
            if (valid)
                inverse[size_t(from - 1)] = i + 1;
        }
        if (!valid) {
            // Not a permutation of the records: nothing moves.
            std::vector<int> identity(static_cast<size_t>(n));
            for (int i = 0; i < n; ++i)
                identity[size_t(i)] = i + 1;
            return EditStep::PermuteRecords{std::move(identity)};
        }
        emit doc.recordsAboutToBePermuted();
        grid.permuteRows(s.order);
        emit doc.recordsPermuted(s.order);
        return EditStep::PermuteRecords{std::move(inverse)};
    }

    EditStep::Step operator()(EditStep::MoveField &s)
    {
        const int f = db.fieldCount();
        if (s.from == s.to || s.from < 1 || s.to < 1 || s.from > f || s.to > f)
            return EditStep::MoveField{s.from, s.from};
        emit doc.fieldAboutToBeMoved(s.from, s.to);
        grid.moveColumn(s.from, s.to);
        db.MoveFieldDef(s.from, s.to);
        // Calculations, sorts, filters and the find field name fields by
        // place; they follow the field to its new one.
        FieldReferences::remap(db, FieldMapping::moved(f, s.from, s.to));
        emit doc.fieldMoved(s.from, s.to);
        return EditStep::MoveField{s.to, s.from};
    }

    EditStep::Step operator()(EditStep::InsertField &s)
    {
        const int f = db.fieldCount();
        if (s.position < 1 || s.position > f + 1 || f >= Limits::MaxFields)
            return EditStep::RemoveField{0, std::nullopt};
        // The slot past the last field is overwritten by the shift; taking
        // the insertion back gives it its content again.
        FieldDef pastLast = db.field(f + 1);
        emit doc.fieldAboutToBeInserted(s.position);
        grid.insertColumn(s.position, std::move(s.column));
        for (int k = f + 1; k > s.position; --k)
            db.field(k) = std::move(db.field(k - 1));
        db.field(s.position) = std::move(s.def);
        FieldReferences::remap(db, FieldMapping::inserted(f, s.position));
        if (s.references)
            s.references->restore(db);
        emit doc.fieldInserted(s.position);
        return EditStep::RemoveField{s.position, std::move(pastLast)};
    }

    EditStep::Step operator()(EditStep::RemoveField &s)
    {
        const int f = db.fieldCount();
        if (s.position < 1 || s.position > f)
            return EditStep::InsertField{0, {}, {}, std::nullopt};
        FieldReferences references = FieldReferences::capture(db);
        emit doc.fieldAboutToBeRemoved(s.position);
        RecordGrid::Column column = grid.takeColumn(s.position);
        FieldDef def = db.field(s.position);
        // The slot past the new last field keeps the former last field's
        // definition, as the file would show it.
        for (int k = s.position; k < f; ++k)
            db.field(k) = db.field(k + 1);
        if (s.slotPastLast)
            db.field(f) = std::move(*s.slotPastLast);
        FieldReferences::remap(db, FieldMapping::removed(f, s.position));
        emit doc.fieldRemoved(s.position);
        return EditStep::InsertField{s.position, std::move(column), std::move(def),
                                     std::move(references)};
    }

    /// Puts each (position, value) of @p pairs in place through @p take,
    /// which returns the value it replaced, skipping positions outside
    /// [1, @p limit]; announces the range changed with @p announce.
    template <typename Value, typename Take, typename Announce>
    std::vector<std::pair<int, Value>> swapPairs(std::vector<std::pair<int, Value>> &pairs,
                                                 int limit, Take take, Announce announce)
    {
        std::vector<std::pair<int, Value>> inverse;
        int first = INT_MAX, last = -1;
        for (auto &[position, value] : pairs) {
            if (position < 1 || position > limit)
                continue;
            inverse.emplace_back(position, take(position, std::move(value)));
            first = std::min(first, position);
            last = std::max(last, position);
        }
        // A position named twice gets its first value back last.
        std::reverse(inverse.begin(), inverse.end());
        if (last >= 0)
            announce(first, last);
        return inverse;
    }

    EditStep::Step operator()(EditStep::FieldDefs &s)
    {
        return EditStep::FieldDefs{swapPairs(
            s.defs, Database::FieldSlots,
            [&](int slot, FieldDef def) { return std::exchange(db.field(slot), std::move(def)); },
            [&](int first, int last) { emit doc.fieldDefsChanged(first, last); })};
    }

    EditStep::Step operator()(EditStep::ColumnWidths &s)
    {
        return EditStep::ColumnWidths{swapPairs(
            s.widths, db.fieldCount(),
            [&](int column, int width) {
                const int old = grid.columnWidth(column);
                grid.setColumnWidth(column, width);
                return old;
            },
            [&](int first, int last) { emit doc.columnWidthsChanged(first, last); })};
    }

    EditStep::Step operator()(EditStep::RowHeights &s)
    {
        return EditStep::RowHeights{swapPairs(
            s.heights, db.recordCount(),
            [&](int row, int height) {
                const int old = grid.rowHeight(row);
                grid.setRowHeight(row, height);
                return old;
            },
            [&](int first, int last) { emit doc.rowHeightsChanged(first, last); })};
    }

    EditStep::Step operator()(EditStep::CheckBoxes &s)
    {
        EditStep::CheckBoxes inverse;
        int c0 = INT_MAX, r0 = INT_MAX, c1 = -1, r1 = -1;
        for (const auto &change : s.changes) {
            if (change.column < 1 || change.column > db.fieldCount() || change.row < 1 ||
                change.row > db.recordCount())
                continue;
            inverse.changes.push_back(
                {change.column, change.row, grid.hasCheckBox(change.column, change.row)});
            grid.setCheckBox(change.column, change.row, change.on);
            c0 = std::min(c0, change.column);
            c1 = std::max(c1, change.column);
            r0 = std::min(r0, change.row);
            r1 = std::max(r1, change.row);
        }
        std::reverse(inverse.changes.begin(), inverse.changes.end());
        if (c1 >= 0)
            emit doc.cellsChanged(c0, r0, c1, r1);
        return inverse;
    }

    EditStep::Step operator()(EditStep::Options &s)
    {
        EditStep::Options inverse{DatabaseOptions::of(db)};
        s.options.applyTo(db);
        emit doc.optionsChanged();
        return inverse;
    }

    EditStep::Step operator()(EditStep::NamedLists &s)
    {
        EditStep::NamedLists inverse;
        for (auto &[list, content] : s.sortLists) {
            if (list >= 1 && list <= 25)
                inverse.sortLists.emplace_back(
                    list, std::exchange(db.sortList(list), std::move(content)));
        }
        for (auto &[list, content] : s.filterLists) {
            if (list >= 1 && list <= 25)
                inverse.filterLists.emplace_back(
                    list, std::exchange(db.filterList(list), std::move(content)));
        }
        std::reverse(inverse.sortLists.begin(), inverse.sortLists.end());
        std::reverse(inverse.filterLists.begin(), inverse.filterLists.end());
        emit doc.optionsChanged();
        return inverse;
    }

    EditStep::Step operator()(EditStep::Password &s)
    {
        QString next;
        if (s.kept >= 0 && size_t(s.kept) < doc.mKeptPasswords.size())
            next = std::exchange(doc.mKeptPasswords[size_t(s.kept)], QString());
        else
            next = std::exchange(s.text, QString());
        const int kept = doc.keepPassword(db.password(), s.kept);
        db.setPassword(next);
        emit doc.optionsChanged();
        return EditStep::Password{QString(), kept};
    }

    EditStep::Step operator()(EditStep::ViewOptions &s)
    {
        EditStep::ViewOptions inverse{db.widthScale(), db.autoSizeColumns()};
        db.setWidthScale(s.widthScale);
        db.setAutoSizeColumns(s.autoSizeColumns);
        emit doc.viewOptionsChanged();
        return inverse;
    }

    EditStep::Step operator()(EditStep::SortKeys &s)
    {
        EditStep::SortKeys inverse{std::exchange(db.sort(), s.keys)};
        emit doc.sortKeysChanged();
        return inverse;
    }

    EditStep::Step operator()(EditStep::FindSettings &s)
    {
        EditStep::FindSettings inverse{db.findField(), db.findText()};
        db.setFindField(s.field);
        db.setFindText(s.text);
        return inverse;
    }
};

Document::Document(QObject *parent) : QObject(parent)
{
}

Document::Document(Database &&db, QObject *parent) : QObject(parent), mDb(std::move(db))
{
}

Edit Document::applySteps(Edit &&edit)
{
    StepApplier applier{*this, mDb, mDb.grid()};
    Edit inverse;
    inverse.kind = edit.kind;
    inverse.label = edit.label;
    inverse.mergeKey = edit.mergeKey;
    inverse.steps.reserve(edit.steps.size());
    for (EditStep::Step &step : edit.steps)
        inverse.steps.push_back(std::visit(applier, step));
    std::reverse(inverse.steps.begin(), inverse.steps.end());
    return inverse;
}

Document::~Document()
{
    wipeKeptPasswords();
}

int Document::keepPassword(QString password, int slot)
{
    if (slot < 0 || size_t(slot) >= mKeptPasswords.size()) {
        slot = int(mKeptPasswords.size());
        mKeptPasswords.emplace_back();
    }
    mKeptPasswords[size_t(slot)] = std::move(password);
    return slot;
}

void Document::wipeKeptPasswords()
{
    for (QString &password : mKeptPasswords) {
        // Overwritten where it lies, as far as no other text shares it.
        password.fill(QChar(u'\0'));
        password.clear();
    }
    mKeptPasswords.clear();
}

void Document::applyJoined(Edit edit)
{
    if (edit.kind != Edit::Change || !canUndo() || canRedo()) {
        apply(std::move(edit));
        return;
    }
    Edit inverse = applySteps(std::move(edit));
    mHistory.extendLast(std::move(inverse));
    updateChangedFlag(true);
    emit historyChanged();
}

void Document::apply(Edit edit)
{
    const QPoint before = currentCell();
    const bool merge = edit.kind == Edit::Change && mHistory.mergeable(edit.mergeKey);
    Edit inverse = applySteps(std::move(edit));
    if (inverse.kind != Edit::Change)
        return;
    if (!merge)
        mHistory.push(std::move(inverse), before);
    updateChangedFlag(true);
    emit historyChanged();
}

void Document::replace(Database &&db)
{
    emit aboutToBeReplaced();
    Database gone = std::exchange(mDb, std::move(db));
    mHistory.clear();
    wipeKeptPasswords();
    emit replaced();
    emit changedFlagChanged(mDb.isChanged());
    emit historyChanged();
    // A large database given up is a row of allocations for each record:
    // freed on another thread, the new one shows without waiting for it.
    if (gone.recordCount() >= 1000) {
        auto freed = std::make_shared<Database>(std::move(gone));
        QThreadPool::globalInstance()->start(
            [freed = std::move(freed)]() mutable { freed.reset(); });
    }
}

void Document::markSaved(const QDateTime &date, const LoStruc &image,
                         const std::optional<QString> &path)
{
    mDb.setDate(date);
    mDb.loStruc() = image;
    if (!path)
        return;
    mDb.setFilePath(*path);
    mHistory.setClean();
    mHistory.closeMerge();
    updateChangedFlag(false);
}

void Document::setChanged(bool on)
{
    updateChangedFlag(on);
}

void Document::updateChangedFlag(bool changed)
{
    if (mDb.isChanged() == changed)
        return;
    mDb.setChanged(changed);
    emit changedFlagChanged(changed);
}

bool Document::canUndo() const
{
    return mHistory.canUndo();
}

bool Document::canRedo() const
{
    return mHistory.canRedo();
}

QString Document::undoLabel() const
{
    return canUndo() ? mHistory.undoEntry().edit.label : QString();
}

QString Document::redoLabel() const
{
    return canRedo() ? mHistory.redoEntry().edit.label : QString();
}

void Document::undo()
{
    if (!canUndo())
        return;
    EditHistory::Entry &entry = mHistory.undoEntry();
    entry.cellAfter = currentCell();
    entry.edit = applySteps(std::move(entry.edit));
    mHistory.undone();
    mHistory.closeMerge();
    updateChangedFlag(!mHistory.isClean());
    emit historyChanged();
    emit currentCellRequested(entry.cellBefore.x(), entry.cellBefore.y());
}

void Document::redo()
{
    if (!canRedo())
        return;
    EditHistory::Entry &entry = mHistory.redoEntry();
    entry.edit = applySteps(std::move(entry.edit));
    mHistory.redone();
    updateChangedFlag(!mHistory.isClean());
    emit historyChanged();
    emit currentCellRequested(entry.cellAfter.x(), entry.cellAfter.y());
}
