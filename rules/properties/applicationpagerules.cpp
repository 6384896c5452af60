#include "rules/properties/applicationpagerules.h"

#include "rules/properties/propertiesshell.h"
#include "rules/settings/preferences.h"

ApplicationPageRules::ApplicationPageRules(Preferences &preferences, PropertiesShell &shell,
                                           PropertiesControls::ApplicationControls &page)
    : mPreferences(preferences), mShell(shell), mPage(page)
{
}

void ApplicationPageRules::open()
{
    const QStringList users = mShell.syncUserNames();
    const bool any = !users.isEmpty();
    mPage.userEnabled = any;
    // Without users the box keeps what it showed before.
    if (any) {
        mPage.user.items = users;
        const int last = mShell.lastSyncUser();
        mPage.user.index = last >= 0 && last < users.size() ? last : -1;
    }
    mPage.initialDirEnabled = any;
    mPage.saveAtInstallEnabled = mPage.initialDirEnabled;
    mPage.initialDir = mPreferences.initialDir;
    mPage.saveAtInstall = mPreferences.saveAtInstall;
    mPage.expertMode = mPreferences.expertMode;
    mPage.usNumFormat = mPreferences.usNumFormat;
    mPage.autoRightJust = mPreferences.autoRightJust;
    mPage.handheldSoftware = mPreferences.handheldSoftware;
}

void ApplicationPageRules::confirm()
{
    mShell.setSelectedSyncUser(mPage.user.index);
    mPreferences.saveAtInstall = mPage.saveAtInstall;
    mPreferences.initialDir = mPage.initialDir;
    mPreferences.expertMode = mPage.expertMode;
    mPreferences.handheldSoftware = mPage.handheldSoftware;
    mShell.UpdateInitialDirectory();
    mPreferences.autoRightJust = mPage.autoRightJust;
    mShell.setAutoRightJustify(mPage.autoRightJust);
    mPreferences.usNumFormat = mPage.usNumFormat;
    mShell.setUsNumberFormat(mPage.usNumFormat);
}
