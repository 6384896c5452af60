#pragma once

class CommandHost;
class GridView;
struct EngineServices;

/**
 * The File menu's commands that move databases in and out: New, Clone,
 * Import, Append and Export, and the loading of lookup lists from the
 * grid's "Insert Popup Item". Their work lives in the engine
 * (NewDatabaseRules, CloneDatabase, TextCommands, OfferLookupLoad); this
 * binds it to the window, its dialogs and a progress dialog.
 */
namespace InterchangeBindings {

/// Binds the commands to @p host (which enables them) and offers lookup
/// lists when the context menu's popup items are about to show. Call once
/// the host's actions and context menu exist.
void bind(const EngineServices &services, GridView &grid, CommandHost &host);

/// Offers to load the lookup list of grid column @p column before its cell
/// is edited (the lookup dialog); whether a list was loaded. Does nothing
/// for a column that is no unloaded Lookup Popup.
bool offerLookupLoad(const EngineServices &services, GridView &grid, int column);

} // namespace InterchangeBindings
