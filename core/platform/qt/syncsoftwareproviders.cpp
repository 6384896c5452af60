#include "core/platform/qt/syncsoftwareproviders.h"

#include "core/platform/qt/jpilotsettings.h"
#include "core/platform/qt/palmdesktopsettings.h"

std::vector<std::unique_ptr<SyncSoftware>> SyncSoftwareProviders::platform()
{
    std::vector<std::unique_ptr<SyncSoftware>> providers;
#ifdef Q_OS_WIN
    providers.push_back(PalmDesktopSettings::registry());
#else
    providers.push_back(PalmDesktopSettings::iniFile(PalmDesktopSettings::defaultIniPath()));
    providers.push_back(std::make_unique<JPilotSettings>(JPilotSettings::defaultFolder()));
#endif
    return providers;
}
