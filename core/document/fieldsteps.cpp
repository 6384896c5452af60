#include "core/document/document.h"
#include "core/document/editsteps.h"
#include "core/document/fieldmapping.h"
#include "core/document/fieldreferences.h"
#include "core/document/limits.h"

// The steps on fields: moved (MoveField), in (InsertField), out
// (RemoveField), their definitions (FieldDefs) and their columns' widths
// (ColumnWidths). A field that moves, comes or goes takes its column, its
// definition slot and every reference to it by position along
// (FieldReferences::remap), and is announced just before and after.

namespace EditSteps {

Effect effect(const Target &t, const EditStep::MoveField &s)
{
    const int f = t.db.fieldCount();
    if (s.from < 1 || s.to < 1 || s.from > f || s.to > f)
        return Effect::Invalid;
    return s.from == s.to ? Effect::None : Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::MoveField &s)
{
    const int f = t.db.fieldCount();
    emit t.doc.fieldAboutToBeMoved(s.from, s.to);
    t.grid.moveColumn(s.from, s.to);
    t.db.MoveFieldDef(s.from, s.to);
    // Calculations, sorts, filters and the find field name fields by
    // place; they follow the field to its new one.
    FieldReferences::remap(t.db, FieldMapping::moved(f, s.from, s.to));
    emit t.doc.fieldMoved(s.from, s.to);
    return EditStep::MoveField{s.to, s.from};
}

qint64 bytes(const EditStep::MoveField &)
{
    return 16;
}

Effect effect(const Target &t, const EditStep::InsertField &s)
{
    const int f = t.db.fieldCount();
    if (s.position < 1 || s.position > f + 1 || f >= Limits::MaxFields)
        return Effect::Invalid;
    return Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::InsertField &s)
{
    Database &db = t.db;
    const int f = db.fieldCount();
    // The slot past the last field is overwritten by the shift; taking
    // the insertion back gives it its content again.
    FieldDef pastLast = db.field(f + 1);
    emit t.doc.fieldAboutToBeInserted(s.position);
    t.grid.insertColumn(s.position, std::move(s.column));
    for (int k = f + 1; k > s.position; --k)
        db.field(k) = std::move(db.field(k - 1));
    db.field(s.position) = std::move(s.def);
    FieldReferences::remap(db, FieldMapping::inserted(f, s.position));
    if (s.references)
        s.references->restore(db);
    emit t.doc.fieldInserted(s.position);
    return EditStep::RemoveField{s.position, std::move(pastLast)};
}

qint64 bytes(const EditStep::InsertField &s)
{
    qint64 n = 64 + qint64(s.column.checkBoxes.size() / 8) + (s.references ? 4096 : 0);
    for (const QString &text : s.column.cells)
        n += textBytes(text);
    return n + bytes(EditStep::FieldDefs{{{s.position, s.def}}});
}

Effect effect(const Target &t, const EditStep::RemoveField &s)
{
    if (s.position < 1 || s.position > t.db.fieldCount())
        return Effect::Invalid;
    return Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::RemoveField &s)
{
    Database &db = t.db;
    const int f = db.fieldCount();
    FieldReferences references = FieldReferences::capture(db);
    emit t.doc.fieldAboutToBeRemoved(s.position);
    RecordGrid::Column column = t.grid.takeColumn(s.position);
    FieldDef def = db.field(s.position);
    // The slot past the new last field keeps the former last field's
    // definition, as the file would show it.
    for (int k = s.position; k < f; ++k)
        db.field(k) = db.field(k + 1);
    if (s.slotPastLast)
        db.field(f) = std::move(*s.slotPastLast);
    FieldReferences::remap(db, FieldMapping::removed(f, s.position));
    emit t.doc.fieldRemoved(s.position);
    return EditStep::InsertField{s.position, std::move(column), std::move(def),
                                 std::move(references)};
}

qint64 bytes(const EditStep::RemoveField &)
{
    return 16;
}

Effect effect(const Target &t, const EditStep::FieldDefs &s)
{
    return pairsEffect(s.defs, Database::FieldSlots,
                       [&t](int slot) -> const FieldDef & { return t.db.field(slot); });
}

EditStep::Step apply(Target &t, EditStep::FieldDefs &s)
{
    return EditStep::FieldDefs{swapPairs(
        s.defs,
        [&t](int slot, FieldDef def) { return std::exchange(t.db.field(slot), std::move(def)); },
        [&t](int first, int last) { emit t.doc.fieldDefsChanged(first, last); })};
}

qint64 bytes(const EditStep::FieldDefs &s)
{
    qint64 n = 0;
    for (const auto &[slot, def] : s.defs) {
        n += 128 + textBytes(def.defaultText);
        for (const QString &item : def.popupItems)
            n += textBytes(item);
    }
    return n;
}

Effect effect(const Target &t, const EditStep::ColumnWidths &s)
{
    return pairsEffect(s.widths, t.db.fieldCount(),
                       [&t](int column) { return t.grid.columnWidth(column); });
}

EditStep::Step apply(Target &t, EditStep::ColumnWidths &s)
{
    return EditStep::ColumnWidths{swapPairs(
        s.widths,
        [&t](int column, int width) {
            const int old = t.grid.columnWidth(column);
            t.grid.setColumnWidth(column, width);
            return old;
        },
        [&t](int first, int last) { emit t.doc.columnWidthsChanged(first, last); })};
}

qint64 bytes(const EditStep::ColumnWidths &s)
{
    return qint64(s.widths.size()) * 8;
}

} // namespace EditSteps
