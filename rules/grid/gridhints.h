#pragma once

#include "core/platform/message.h"
#include "numbers/numberseparators.h"

#include <QString>

class Database;
class MessageService;
class RecordGrid;

/**
 * What the grid says about its header cells when the mouse rests on them,
 * and which of its cells the user may change in place.
 *
 * Columns and rows are grid positions: fields are columns 1..f, records rows
 * 1..n; row 0 holds the field names and column 0 the record numbers. A
 * record counts as visible while its row height is greater than 0. Hint
 * lines are separated by a carriage return.
 */
class GridHints
{
public:
    /// An in-place edit of a String field with setting1 == 1 keeps this many
    /// characters.
    static constexpr int ShortTextLimit = 250;

    /// The hint of cell (@p column, @p row): the record count for (0, 0),
    /// the field hint for a field name, nothing for any other cell.
    static QString cellHint(const Database &db, int column, int row,
                            const NumberSeparators &sep = NumberSeparators::current());
    /// "N Records", or "N Record" for N of 0 or 1, N counting visible records.
    static QString recordCountHint(const RecordGrid &grid);
    /// The hint of the field name of column @p column: its type, what the
    /// type counts or sums, and "Read only" for a protected field.
    static QString fieldHint(const Database &db, int column,
                             const NumberSeparators &sep = NumberSeparators::current());
    /// "Total: S" and, with at least one visible record, "Average: S/V",
    /// over the visible records of @p column.
    static QString columnStatistics(const RecordGrid &grid, int column,
                                    const NumberSeparators &sep = NumberSeparators::current());

    /// Whether the text or the check box of data cell (@p column, @p row)
    /// may be changed in place: not in a "Read only" field, not in a
    /// read-only database.
    static bool mayEditCell(const Database &db, int column, int row);
    /// Whether a double click on (@p column, @p row) opens the cell editor:
    /// an editable cell that is not in a Boolean field.
    static bool mayOpenCellEditor(const Database &db, int column, int row);

    /// The text an in-place edit of column @p column stores: @p text, cut to
    /// ShortTextLimit characters for a String field with the short-text
    /// option, in which case @p messages shows shortenedTextMessage().
    static QString limitEditedText(const Database &db, int column, const QString &text,
                                   MessageService &messages);
    static Message shortenedTextMessage();
};
