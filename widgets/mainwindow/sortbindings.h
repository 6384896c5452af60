#pragma once

class CommandHost;
class GridView;
struct EngineServices;

/// The Sort normal and Sort reverse commands of the Tools menu.
namespace SortBindings {

/// Binds both commands to @p host: the current column becomes the first
/// sort key, ascending or descending, and the records are sorted.
void bind(const EngineServices &services, GridView &grid, CommandHost &host);

/// The sort buttons' hints name the field they would sort by, the current
/// one.
void updateHints(const EngineServices &services, const GridView &grid, CommandHost &host);

} // namespace SortBindings
