#pragma once

#include "table/operations/tableservices.h"

#include <QString>

/**
 * Appending, inserting and deleting records and fields: each asks what it
 * must (the handheld's limits, a confirmation unless the user works in
 * expert mode) and then applies one undoable edit to the document.
 *
 * The caller switches the filter off first (and, for a field appended or
 * inserted, auto-sizing), as the main window does. Each returns whether the
 * database changed. Columns and rows are grid positions.
 */
class RecordCommands
{
public:
    explicit RecordCommands(TableServices services) : mS(services) {}

    /// A new record at the end, with its defaults; it becomes the current
    /// record (see newRecordRow()).
    bool AppendRecord();
    /// A new record before record @p row, which it takes the place of.
    bool InsertRecord(int row);
    /// Record @p row taken out; the last record never is.
    bool DeleteRecord(int row, bool expertMode);

    /// A new String field named "Field " and its number, 90 pixels wide,
    /// at the end.
    bool AppendField();
    /// The same before field @p column.
    bool InsertField(int column);
    /// Field @p column taken out with its cells; the last field never is.
    bool DeleteField(int column, bool expertMode);

    /// The new field's width in pixels.
    static constexpr int NewFieldWidth = 90;

private:
    bool refuseAtRecordLimit();
    bool refuseAtFieldLimit();
    bool insertRecordAt(int position, const QString &label);
    bool insertFieldAt(int position, const QString &label);

    TableServices mS;
};
