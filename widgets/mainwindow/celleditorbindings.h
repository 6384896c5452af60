#pragma once

class CommandHost;
class GridView;
struct EngineServices;

/// The cell editor's commands: "&Edit cell..." and a double click on a cell.
namespace CellEditorBindings {

/// Binds "&Edit cell..." (menu, context menu, toolbar, F2), which opens the
/// editor for the current cell whatever its field, and the grid's double
/// click, which the grid allows only for a cell the editor may change.
void bind(const EngineServices &services, GridView &grid, CommandHost &host);

/// The lookup-list step a double click runs for field @p column before the
/// editor opens: loading the popup items of a lookup-list field that are not
/// loaded yet (InterchangeBindings::offerLookupLoad, the lookup dialog).
void loadLookupListBeforeEdit(const EngineServices &services, GridView &grid, int column);

} // namespace CellEditorBindings
