#pragma once

#include <QString>

class CalculatedFields;
class Database;
class MessageService;

/**
 * The grid's own changes to a record cell, in one place: what the user
 * types into a cell, a check box clicked, a popup item chosen from the
 * context menu. Each refuses a cell that may not be edited in place (a
 * "Read only" field, a read-only database, a cell outside the records) and
 * returns whether the cell was written; each marks the database changed.
 * Columns and rows are grid positions.
 */
namespace CellEdit {

/// Writes @p text as the whole text of the cell and recalculates its row.
bool storeText(Database &db, CalculatedFields &calc, int column, int row, const QString &text);

/// An in-place edit ending with @p text. An unchanged text changes nothing;
/// a long one is limited as the field asks, with @p messages showing why.
bool editInPlace(Database &db, CalculatedFields &calc, MessageService &messages, int column,
                 int row, const QString &text);

/// A check box set to @p checked: the cell holds "1" or "0".
bool setChecked(Database &db, int column, int row, bool checked);

} // namespace CellEdit
