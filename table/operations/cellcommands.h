#pragma once

#include "core/platform/message.h"
#include "table/operations/tableservices.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <utility>
#include <vector>

/**
 * Cut, copy and paste of a cell, a record or a block of cells through the
 * clipboard, and the fills. Each command that changes texts applies one
 * undoable edit that marks the database changed (a fill or a cut even when
 * no text differs) and leaves every changed record's calculated cells
 * current; only Cut cell and Paste cell also restamp the record's
 * modification fields, as a cell the user edits does.
 *
 * Columns and rows are grid positions: fields 1..f, records 1..n. A block is
 * a QRect of grid positions (x the column, y the row).
 */
class CellCommands
{
public:
    explicit CellCommands(TableServices services) : mS(services) {}

    /// The cell's text to the clipboard, unchanged.
    void CopyCell(int column, int row);
    /// The same, then the cell emptied.
    void CutCell(int column, int row);
    /// The clipboard's text becomes the cell's, whatever the field's type.
    void PasteCell(int column, int row);

    /// The record's texts to the clipboard, joined by TABs.
    void CopyRow(int row);
    /// The same, then the record's cells emptied (after a confirmation
    /// unless @p expertMode). Returns whether it went ahead.
    bool CutRow(int row, bool expertMode);
    /// The clipboard's TAB-separated texts written over the record's fields
    /// from the first on (after a confirmation unless @p expertMode).
    bool PasteRow(int row, bool expertMode);

    enum class Direction
    {
        Up,
        Down,
        Left,
        Right
    };
    /// The current cell's text copied into every cell from it to the edge
    /// of the table in @p direction, hidden records included. Returns how
    /// many cells took it.
    int Fill(Direction direction, int column, int row);

    /// The visible records of @p block as TAB-separated lines.
    void CopyBlock(const QRect &block);
    /// The clipboard's block written from cell (@p column, @p row) on into
    /// the visible records and fields it covers; calculated and protected
    /// fields keep their texts. Lines past the last record go into new
    /// records, made as Append Row makes them, in the same edit; columns
    /// past the last field, and lines past the records a database holds,
    /// are left out and told in one message after the paste. Returns the
    /// cells written to (empty when none).
    QRect PasteBlock(int column, int row);
    /// What PasteBlock says of the @p lines and @p columns it left out.
    static Message leftOutMessage(int lines, int columns);
    /// Empties the cells of @p block in visible records, except in
    /// calculated and protected fields. Returns whether any changed.
    bool ClearBlock(const QRect &block);

private:
    /// Applies @p cells as one edit named @p label, with the changed
    /// records' calculated cells (and with @p stamps their stamps).
    void applyCells(const QString &label, std::vector<std::pair<QPoint, QString>> cells,
                    bool stamps);
    /// Whether a block command may write the cell of @p column.
    bool blockMayWrite(int column) const;

    TableServices mS;
};
