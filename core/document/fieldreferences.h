#pragma once

#include "core/document/limits.h"
#include "core/document/sortsettings.h"

#include <QString>

#include <array>
#include <optional>

class Database;
class FieldMapping;

/**
 * Every reference of a Database that names a field by its position: the
 * operands of the calculated fields, the sort keys of the current sort and of
 * the sort lists, the simple filter's field, the condition fields of the
 * filter lists (list 1 being the working advanced filter) and the find field;
 * with the texts that go when their field does.
 *
 * The first unlocked field and the view position describe the view, not a
 * field, and are not references.
 */
class FieldReferences
{
public:
    /// The position an operand holds once its field is gone. No database has
    /// that many fields, so the calculation gives "???", as it does for any
    /// operand past the last field; and it is an ordinary setting to the file.
    static constexpr quint8 NoFieldOperand = 0x7F;

    /// Rewrites every reference of @p db so that it follows its field through
    /// @p mapping. A reference to a removed field names none afterwards: its
    /// operand names NoFieldOperand (its "Previous Record" bit kept), a sort
    /// key or the find field becomes 0, the simple filter becomes "All Fields"
    /// with an empty text, and a filter condition becomes empty ("All Fields",
    /// no text), which the filter skips. References to positions past the
    /// mapping's fields stay as they are.
    ///
    /// The operands of every calculated field slot 1..50 are rewritten, so
    /// this may run before or after the field table itself changes.
    static void remap(Database &db, const FieldMapping &mapping);

    /// The references of @p db as they stand.
    static FieldReferences capture(const Database &db);
    /// Puts the captured references back into @p db, whose fields must stand
    /// where they stood at capture (an undo puts the fields back first). The
    /// operands go back to the slots that held calculated fields then and now.
    void restore(Database &db) const;

    bool operator==(const FieldReferences &) const = default;

private:
    struct Conditions
    {
        std::array<qint8, 5> fields{};
        std::array<QString, 5> texts;
        bool operator==(const Conditions &) const = default;
    };

    /// Bits 16-31 of setting 1 of each calculated slot.
    std::array<std::optional<quint16>, Limits::MaxFields> mOperands;
    SortSettings mSort;
    std::array<SortSettings, Limits::SortListCount> mSortLists;
    int mFilterField = 0;
    QString mFilterText;
    std::array<Conditions, Limits::FilterListCount> mConditions;
    int mFindField = 0;
};
