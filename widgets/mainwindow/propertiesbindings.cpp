#include "widgets/mainwindow/propertiesbindings.h"

#include "core/document/document.h"
#include "rules/shell/engineservices.h"
#include "widgets/dialogs/tpropertiesform.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/commandhost.h"

namespace PropertiesBindings {

void bind(const EngineServices &services, GridView &grid, CommandHost &host, PropertiesShell &shell)
{
    // One dialog for the whole run; it keeps its active page.
    auto *dialog = new TPropertiesForm({services.document, services.calculations, services.filter,
                                        services.messages, services.passwords, services.locale,
                                        services.feedback, services.preferences, shell},
                                       grid.window());

    host.bindCommand(Command::Properties, [&grid, &host, dialog] {
        if (host.isDatabaseOpen() && !dialog->isVisible()) {
            dialog->execute(grid.currentGridColumn());
            host.updateCommandStates();
        }
    });
    // Undo and redo of options follow into the grid and the commands.
    const Document &doc = services.document;
    QObject::connect(&doc, &Document::optionsChanged, &grid, [&doc, &grid, &host] {
        if (!host.isDatabaseOpen())
            return;
        grid.setReadOnly(doc.database().isReadOnly());
        host.updateCommandStates();
    });
}

bool showPage(GridView &grid, CommandHost &host, int page)
{
    auto *dialog =
        grid.window()->findChild<TPropertiesForm *>(QString(), Qt::FindDirectChildrenOnly);
    if (!dialog || !host.isDatabaseOpen() || dialog->isVisible())
        return false;
    dialog->rules().PageControlChange(page);
    dialog->execute(grid.currentGridColumn());
    host.updateCommandStates();
    return true;
}

} // namespace PropertiesBindings
