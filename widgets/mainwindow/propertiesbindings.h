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

} // namespace PropertiesBindings
