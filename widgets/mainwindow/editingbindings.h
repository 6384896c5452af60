#pragma once

class CommandHost;
class GridView;
struct EngineServices;

/// The commands on records, fields and cells: append, insert and delete,
/// cut, copy and paste of a cell, a record or a block, and the fills.
namespace EditingBindings {

/// Binds the commands to @p host's menus, toolbar and shortcuts, and the
/// spreadsheet keys for blocks (Ctrl+C, Ctrl+X, Ctrl+V, Delete) to
/// @p grid.
void bind(const EngineServices &services, GridView &grid, CommandHost &host);

} // namespace EditingBindings
