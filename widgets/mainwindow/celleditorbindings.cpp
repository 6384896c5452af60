#include "widgets/mainwindow/celleditorbindings.h"

#include "core/document/document.h"
#include "core/platform/userfeedback.h"
#include "rules/shell/engineservices.h"
#include "widgets/dialogs/tbankform.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/commandhost.h"
#include "widgets/mainwindow/interchangebindings.h"

namespace CellEditorBindings {

void bind(const EngineServices &services, GridView &grid, CommandHost &host)
{
    // One dialog for the whole run, a child of the grid's window (which
    // gives it the program font through ApplyProgramFont).
    auto *dialog = new TBankForm(services.document, services.calculations, services.locale,
                                 services.clock, grid.window());
    dialog->setEditFont(host.programFont());

    host.bindCommand(Command::EditCell, [&services, &grid, dialog] {
        const int column = grid.currentGridColumn();
        const int row = grid.currentGridRow();
        // Without a record or a field there is no cell to edit.
        if (column < 1 || row < 1) {
            services.feedback.beep();
            return;
        }
        dialog->execute(column, row);
    });
    QObject::connect(&grid, &GridView::cellEditorRequested, dialog,
                     [&services, &grid, dialog](int column, int row) {
                         loadLookupListBeforeEdit(services, grid, column);
                         dialog->execute(column, row);
                     });
}

void loadLookupListBeforeEdit(const EngineServices &services, GridView &grid, int column)
{
    InterchangeBindings::offerLookupLoad(services, grid, column);
}

} // namespace CellEditorBindings
