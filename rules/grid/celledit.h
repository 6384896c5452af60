#pragma once

#include <QString>

class CalculatedFields;
class Document;
class MessageService;

/**
 * The grid's own changes to a record cell, in one place: what the user
 * types into a cell, a check box clicked, a popup item chosen from the
 * context menu. Each refuses a cell that may not be edited in place (a
 * "Read only" field, a read-only database, a cell outside the records),
 * returns whether the cell was written, and applies one undoable edit that
 * marks the database changed and keeps the record's calculated cells
 * current. Columns and rows are grid positions.
 */
namespace CellEdit {

/// Writes @p text as the whole text of the cell and restamps and
/// recalculates its record; the edit is named @p label.
bool storeText(Document &doc, const CalculatedFields &calc, int column, int row,
               const QString &text, const QString &label);

/// An in-place edit ending with @p text. An unchanged text changes nothing;
/// a long one is limited as the field asks, with @p messages showing why.
bool editInPlace(Document &doc, const CalculatedFields &calc, MessageService &messages, int column,
                 int row, const QString &text);

/// A check box set to @p checked: the cell holds "1" or "0". The record's
/// calculated cells follow; its stamps stay.
bool setChecked(Document &doc, const CalculatedFields &calc, int column, int row, bool checked);

/// The Column sum command on cell (@p column, @p row): the sum of the
/// numbers above it in visible records written into it, named "column sum",
/// when there is one (CalculatedFields::ColumnSum); whether it was written.
bool sumColumn(Document &doc, const CalculatedFields &calc, int column, int row);

} // namespace CellEdit
