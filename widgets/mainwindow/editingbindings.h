#pragma once

class TMainForm;

/// The commands on records, fields and cells: append, insert and delete,
/// cut, copy and paste of a cell, a record or a block, and the fills.
namespace EditingBindings {

/// Binds the commands to @p form's menus, toolbar and shortcuts, and the
/// spreadsheet keys for blocks (Ctrl+C, Ctrl+X, Ctrl+V, Delete) to its
/// grid.
void bind(TMainForm &form);

} // namespace EditingBindings
