#pragma once

class CommandHost;
class GridView;
class QMainWindow;
struct EngineServices;

/**
 * Watches the database's own file (FileWatchRules): the bar above the grid
 * when another program changed or removed it, with Reload, Save and
 * Ignore; the look at the file when @p window gets the focus back; and
 * "Revert to saved". A reload keeps the current cell and the scroll
 * position where the database still has them.
 */
namespace FileWatchBindings {

void bind(const EngineServices &services, GridView &grid, CommandHost &host, QMainWindow &window);

} // namespace FileWatchBindings
