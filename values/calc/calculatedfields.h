#pragma once

#include "core/document/edit.h"

#include <QString>

#include <optional>

class Clock;
class Database;
class LocaleService;
class UserFeedback;

/**
 * The values the program computes into cells: calculated fields, the stamps
 * of creation and modification, defaults and auto-increment numbers of new
 * records, and the column sum.
 *
 * Reads the Database it is given and changes nothing: each computation comes
 * back as the cells (or record) it would write, for a command to apply
 * through the Document. Rows and columns are grid positions: records are
 * rows 1..n, fields columns 1..f. Nothing here reports an error: a value that
 * cannot be computed shows as "???" (or "INF" for a division by zero).
 */
class CalculatedFields
{
public:
    /// A record as InitialiseRecord() fills it, and the auto-increment
    /// counters it moved on.
    struct NewRecord
    {
        RecordGrid::Row row;
        EditStep::FieldDefs counters;
    };
    /// Records as InitialiseRecords() fills them, and the counters as the
    /// last one left them.
    struct NewRecords
    {
        std::vector<RecordGrid::Row> rows;
        EditStep::FieldDefs counters;
    };

    CalculatedFields(const Database &db, LocaleService &locale, Clock &clock,
                     UserFeedback &feedback);

    /// The text of calculated field @p column for record @p row.
    QString EvaluateCalcField(int column, int row) const;

    /// @p cells with, for every record whose texts they change, its
    /// calculated cells worked out from the new texts, left to right and
    /// then right to left, so that each may use one on either side of it.
    /// With @p stamps the records' modification stamps are set too, as
    /// RecalculateRow() does; cells already holding their text are left out.
    EditStep::Cells withRecalculation(EditStep::Cells cells, bool stamps) const;
    /// Restamps the modification fields of record @p row and recomputes its
    /// calculated fields.
    EditStep::Cells RecalculateRow(int row) const;
    /// A new record for position @p row (the record above it is the one a
    /// "Previous Record" operand reads).
    NewRecord InitialiseRecord(int row) const;
    /// @p count new records for positions @p row on, each as
    /// InitialiseRecord() would make it once the ones before were in: the
    /// counters run on, a "Previous Record" operand reads the new record
    /// above.
    NewRecords InitialiseRecords(int row, int count) const;
    /// Every calculated cell recomputed; stamps stay as they are.
    EditStep::Cells RecalculateAll() const;
    /// The Column sum command on the current cell: the sum of the numbers
    /// above it in visible records written into it, when there is one. A
    /// protected field only beeps.
    std::optional<EditStep::Cells> ColumnSum(int column, int row) const;

private:
    class Texts;

    QString evaluate(int column, int row, const Texts &texts) const;
    void recalculate(int row, bool stamps, Texts &texts) const;

    const Database &mDb;
    LocaleService &mLocale;
    Clock &mClock;
    UserFeedback &mFeedback;
};
