#pragma once

class CommandHost;
class GridView;
class QMainWindow;
struct EngineServices;

/**
 * Keeps the unsaved changes of the window's database in a recovery file
 * (RecoveryRules): the timer after a change, the writer's thread, the
 * question about the files a run that did not end left, at the first show
 * of @p window and before a file is opened, and the removal when the
 * window goes (with @p grid, the first of its parts to go). The files are in the per-user state
 * folder's "recovery". A write that fails is told in @p host's status bar.
 */
namespace RecoveryBindings {

void bind(EngineServices &services, GridView &grid, QMainWindow &window, CommandHost &host);

} // namespace RecoveryBindings
