#include "widgets/mainwindow/filterbindings.h"

#include "core/document/document.h"
#include "rules/properties/propertiescontrols.h"
#include "rules/shell/engineservices.h"
#include "table/filter/filterengine.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/commandhost.h"
#include "widgets/mainwindow/propertiesbindings.h"

#include <QAction>

namespace FilterBindings {

void bind(const EngineServices &services, GridView &grid, CommandHost &host)
{
    FilterEngine &filter = services.filter;
    const Document &doc = services.document;
    host.bindCommand(Command::Filter, [&filter, &doc, &grid, &host] {
        // Without a text there is nothing to filter by: the page where it
        // is given.
        if (filter.filterMode() != FilterEngine::Simple && doc.database().filter().text.isEmpty() &&
            PropertiesBindings::showPage(grid, host, PropertiesControls::FilterPage)) {
            // The button and the menu item show the filter, not the click.
            host.action(Command::Filter)->setChecked(filter.isSimpleChecked());
            return;
        }
        filter.toggleSimpleFilter();
    });
    host.bindCommand(Command::AdvancedFilter, [&filter] { filter.toggleAdvancedFilter(); });
    host.bindCommand(Command::FilterByValue, [&filter, &doc, &grid] {
        const int column = grid.currentGridColumn();
        const int row = grid.currentGridRow();
        const Database &db = doc.database();
        if (column >= 1 && column <= db.fieldCount() && row >= 1 && row <= db.recordCount())
            filter.FilterByValue(column, row);
    });
}

} // namespace FilterBindings
