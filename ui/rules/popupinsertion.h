#pragma once

#include <QStringList>

#include <optional>

class CalculatedFields;
class Database;

/**
 * The grid's context menu offers the items of a popup field's list, to be
 * written into the current cell.
 */
namespace PopupInsertion {

/// The items the "Insert Popup Item" submenu lists for column @p column, in
/// list order; none (the entry hidden) unless the field is a popup field.
std::optional<QStringList> menuItems(const Database &db, int column);

/// Writes @p item as the whole text of cell (@p column, @p row), marks the
/// database changed and recalculates the row, unless the cell may not be
/// edited in place. Returns whether it wrote.
bool insertItem(Database &db, CalculatedFields &calc, int column, int row, const QString &item);

} // namespace PopupInsertion
