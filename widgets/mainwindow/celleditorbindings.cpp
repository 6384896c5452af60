#include "widgets/mainwindow/celleditorbindings.h"

#include "widgets/dialogs/tbankform.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/interchangebindings.h"
#include "widgets/mainwindow/tmainform.h"

namespace CellEditorBindings {

void bind(TMainForm &form)
{
    // One dialog for the whole run, a child of the window (which gives it
    // the program font through ApplyProgramFont).
    auto *dialog =
        new TBankForm(form.document(), form.calculations(), form.locale(), form.clock(), &form);
    dialog->setEditFont(form.programFont());

    form.bindCommand(Command::EditCell, [&form, dialog] {
        const int column = form.grid()->currentGridColumn();
        const int row = form.grid()->currentGridRow();
        // Without a record or a field there is no cell to edit.
        if (column < 1 || row < 1) {
            form.feedback().beep();
            return;
        }
        dialog->execute(column, row);
    });
    QObject::connect(form.grid(), &GridView::cellEditorRequested, dialog,
                     [&form, dialog](int column, int row) {
                         loadLookupListBeforeEdit(form, column);
                         dialog->execute(column, row);
                     });
}

void loadLookupListBeforeEdit(TMainForm &form, int column)
{
    InterchangeBindings::offerLookupLoad(form, column);
}

} // namespace CellEditorBindings
