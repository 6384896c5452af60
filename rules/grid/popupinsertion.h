#pragma once

#include <QStringList>

#include <optional>

class Database;

/**
 * The grid's context menu offers the items of a popup field's list; the
 * chosen one becomes the current cell's whole text (CellEdit::storeText),
 * for a multiple popup too.
 */
namespace PopupInsertion {

/// The items the "Insert Popup Item" submenu lists for column @p column, in
/// list order; none (the entry hidden) unless the field is a popup field.
std::optional<QStringList> menuItems(const Database &db, int column);

} // namespace PopupInsertion
