#pragma once

class CommandHost;
class GridView;
struct EngineServices;

/// "Fi&lter" (Ctrl+L) and "Ad&vanced Filter" (Ctrl+J) of the Tools menu and
/// the toolbar, and "Filter by this &value" of the grid's context menu.
namespace FilterBindings {

/// Binds the three commands to @p host. The Filter command switches the
/// simple filter off, or on; without a filter text it opens the
/// Properties dialog on its Filter page instead (and only beeps when the
/// dialog cannot open). Filter by this value filters by the current cell.
void bind(const EngineServices &services, GridView &grid, CommandHost &host);

} // namespace FilterBindings
