#include "widgets/mainwindow/installbindings.h"

#include "rules/shell/installflow.h"
#include "widgets/mainwindow/tmainform.h"

#include <QAction>

void InstallBindings::bind(TMainForm &form)
{
    form.bindCommand(Command::Install, [&form] {
        const Preferences &p = form.preferences();
        InstallFlow(form.document(), form.autoSize(), form.userData(),
                    {form.selectedSyncUser(), p.saveAtInstall, p.expertMode},
                    {form.messages(), form.files(), form.fileDialogs(), form.feedback(),
                     form.clock(), form.cipher()});
        form.action(Command::AutoSizing)->setChecked(form.autoSize().isOn());
        form.UpdateStatus();
    });
}
