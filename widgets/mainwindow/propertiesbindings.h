#pragma once

class CommandHost;
class GridView;
class PropertiesShell;
struct EngineServices;

/// "Pr&operties..." (F3, the toolbar, the grid's context menu): the
/// Properties dialog for the current column's field.
namespace PropertiesBindings {

/// Binds the command; the dialog asks @p shell, the window's answers, for
/// what lies outside the engine.
void bind(const EngineServices &services, GridView &grid, CommandHost &host,
          PropertiesShell &shell);

/// Opens the dialog bound for @p grid's window on page @p page
/// (PropertiesControls::Page); false when it cannot open (no database, or
/// it is open already).
bool showPage(GridView &grid, CommandHost &host, int page);

} // namespace PropertiesBindings
