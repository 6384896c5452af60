#include "core/platform/qt/syncsoftwareproviders.h"

#include "core/platform/qt/jpilotsettings.h"
#include "core/platform/qt/palmdesktopsettings.h"
#include "core/platform/qt/plaininstallfolder.h"
#include "core/platform/qt/qsettingsstore.h"

namespace {

std::vector<std::unique_ptr<SyncSoftware>> desktops()
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

} // namespace

std::vector<std::unique_ptr<SyncSoftware>>
SyncSoftwareProviders::platform(const SettingsStore &settings)
{
    std::vector<std::unique_ptr<SyncSoftware>> providers = desktops();
    providers.push_back(std::make_unique<PlainInstallFolder>(settings));
    return providers;
}

std::vector<std::unique_ptr<SyncSoftware>> SyncSoftwareProviders::platform()
{
    std::vector<std::unique_ptr<SyncSoftware>> providers = desktops();
    providers.push_back(std::make_unique<PlainInstallFolder>(std::make_unique<QSettingsStore>()));
    return providers;
}

bool SyncSoftwareProviders::desktopSoftwareExpected()
{
#ifdef Q_OS_WIN
    return true;
#else
    return false;
#endif
}
