#include "core/document/fieldreferences.h"

#include "core/document/database.h"
#include "core/document/fieldmapping.h"

#include <cstdlib>

namespace {

/// An operand byte: bits 0-6 the field's 0-based position, bit 7 "Previous
/// Record".
quint32 remapOperand(quint32 byte, const FieldMapping &mapping)
{
    const int position = mapping.map(int(byte & 0x7F) + 1);
    const quint32 index =
        position == FieldMapping::None ? FieldReferences::NoFieldOperand : quint32(position - 1);
    return (byte & 0x80) | index;
}

/// k ascending, -k descending, 0 none.
qint8 remapSortKey(qint8 key, const FieldMapping &mapping)
{
    if (key == 0)
        return 0;
    const int position = mapping.map(std::abs(int(key)));
    return qint8(key < 0 ? -position : position);
}

} // namespace

void FieldReferences::remap(Database &db, const FieldMapping &mapping)
{
    for (int k = 1; k <= Limits::MaxFields; ++k) {
        FieldDef &def = db.field(k);
        if (!FieldType::isCalculated(def.type))
            continue;
        const auto word = quint32(def.setting1);
        def.setting1 = qint32((remapOperand(word >> 24, mapping) << 24) |
                              (remapOperand((word >> 16) & 0xFF, mapping) << 16) | (word & 0xFFFF));
    }

    for (qint8 &key : db.sort().keys)
        key = remapSortKey(key, mapping);
    for (int i = 1; i <= Limits::SortListCount; ++i) {
        for (qint8 &key : db.sortList(i).sort.keys)
            key = remapSortKey(key, mapping);
    }

    // The simple filter and the find field: 0 is all fields, k field k.
    FilterSettings &filter = db.filter();
    if (filter.field > 0) {
        filter.field = qint8(mapping.map(filter.field));
        if (filter.field == FieldMapping::None)
            filter.text.clear();
    }
    if (db.findField() > 0)
        db.setFindField(mapping.map(db.findField()));

    // Filter conditions: -1 is all fields, k - 1 field k.
    for (int i = 1; i <= Limits::FilterListCount; ++i) {
        SavedFilterList &list = db.filterList(i);
        for (size_t c = 0; c < list.fields.size(); ++c) {
            if (list.fields[c] < 0)
                continue;
            const int position = mapping.map(list.fields[c] + 1);
            list.fields[c] = qint8(position - 1);
            if (position == FieldMapping::None)
                list.texts[c].clear();
        }
    }
}

FieldReferences FieldReferences::capture(const Database &db)
{
    FieldReferences refs;
    for (int k = 1; k <= Limits::MaxFields; ++k) {
        const FieldDef &def = db.field(k);
        if (FieldType::isCalculated(def.type))
            refs.mOperands[size_t(k - 1)] = quint16(quint32(def.setting1) >> 16);
    }
    refs.mSort = db.sort();
    for (int i = 1; i <= Limits::SortListCount; ++i)
        refs.mSortLists[size_t(i - 1)] = db.sortList(i).sort;
    refs.mFilterField = db.filter().field;
    refs.mFilterText = db.filter().text;
    for (int i = 1; i <= Limits::FilterListCount; ++i) {
        const SavedFilterList &list = db.filterList(i);
        refs.mConditions[size_t(i - 1)] = {list.fields, list.texts};
    }
    refs.mFindField = db.findField();
    return refs;
}

void FieldReferences::restore(Database &db) const
{
    for (int k = 1; k <= Limits::MaxFields; ++k) {
        FieldDef &def = db.field(k);
        const std::optional<quint16> &operands = mOperands[size_t(k - 1)];
        if (operands && FieldType::isCalculated(def.type))
            def.setting1 = qint32((quint32(*operands) << 16) | (quint32(def.setting1) & 0xFFFF));
    }
    db.sort() = mSort;
    for (int i = 1; i <= Limits::SortListCount; ++i)
        db.sortList(i).sort = mSortLists[size_t(i - 1)];
    db.filter().field = qint8(mFilterField);
    db.filter().text = mFilterText;
    for (int i = 1; i <= Limits::FilterListCount; ++i) {
        SavedFilterList &list = db.filterList(i);
        list.fields = mConditions[size_t(i - 1)].fields;
        list.texts = mConditions[size_t(i - 1)].texts;
    }
    db.setFindField(mFindField);
}
