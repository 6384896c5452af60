#include "widgets/mainwindow/propertiesbindings.h"

#include "widgets/dialogs/tpropertiesform.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/mainformpropertiesshell.h"
#include "widgets/mainwindow/tmainform.h"

namespace PropertiesBindings {

void bind(TMainForm &form)
{
    auto *shell = new MainFormPropertiesShell(form);
    // One dialog for the whole run; it keeps its active page.
    auto *dialog = new TPropertiesForm({form.document(), form.calculations(), form.filter(),
                                        form.messages(), form.passwords(), form.locale(),
                                        form.feedback(), form.mutablePreferences(), *shell},
                                       &form);
    QObject::connect(dialog, &QObject::destroyed, [shell] { delete shell; });

    form.bindCommand(Command::Properties, [&form, dialog] {
        if (!form.isDatabaseOpen())
            return;
        dialog->execute(form.grid()->currentGridColumn());
        form.updateCommandStates();
    });
    // Undo and redo of options follow into the grid and the commands.
    QObject::connect(&form.document(), &Document::optionsChanged, &form, [&form] {
        if (!form.isDatabaseOpen())
            return;
        form.grid()->setReadOnly(form.database().isReadOnly());
        form.updateCommandStates();
    });
}

} // namespace PropertiesBindings
