#include "widgets/mainwindow/installbindings.h"

#include "core/document/document.h"
#include "interchange/hotsync/tuserdata.h"
#include "rules/grid/columnautosize.h"
#include "rules/settings/preferences.h"
#include "rules/shell/engineservices.h"
#include "rules/shell/installflow.h"
#include "widgets/mainwindow/commandhost.h"

#include <QAction>

void InstallBindings::bind(const EngineServices &services, CommandHost &host,
                           std::function<bool()> setUp)
{
    host.bindCommand(Command::Install, [&services, &host, setUp] {
        if (services.userData.UserCount() < 1 && !setUp())
            return;
        const Preferences &p = services.preferences;
        InstallFlow(services.document, services.autoSize, services.userData,
                    {services.selectedSyncUser, p.saveAtInstall, p.expertMode}, services.save());
        host.action(Command::AutoSizing)->setChecked(services.autoSize.isOn());
        host.UpdateStatus();
    });
}
