#pragma once

class CommandHost;
class GridView;
struct EngineServices;

/// The Find, Find next and Replace commands of the Tools menu, with the
/// Find and Replace dialogs, created once and kept for the whole run.
namespace FindBindings {

void bind(const EngineServices &services, GridView &grid, CommandHost &host);

} // namespace FindBindings
