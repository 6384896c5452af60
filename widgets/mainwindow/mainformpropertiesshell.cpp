#include "widgets/mainwindow/mainformpropertiesshell.h"

#include "interchange/hotsync/tuserdata.h"
#include "numbers/numberseparators.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/tmainform.h"

void MainFormPropertiesShell::SetupGrid(bool open)
{
    mForm.SetupGrid(open);
}

void MainFormPropertiesShell::UpdateInitialDirectory()
{
    mForm.UpdateInitialDirectory();
}

void MainFormPropertiesShell::setAutoRightJustify(bool on)
{
    mForm.grid()->setAutoRightJustify(on);
    mForm.grid()->viewport()->update();
}

void MainFormPropertiesShell::setUsNumberFormat(bool us)
{
    NumberSeparators::setCurrent(us ? NumberSeparators::us() : mForm.systemSeparators());
    mForm.grid()->viewport()->update();
}

QStringList MainFormPropertiesShell::syncUserNames() const
{
    const TUserData &users = mForm.services().userData;
    QStringList names;
    for (int i = 0; i < users.UserCount(); ++i)
        names << users.UserName(i);
    return names;
}

int MainFormPropertiesShell::lastSyncUser() const
{
    return mForm.services().userData.LastUserIndex();
}

void MainFormPropertiesShell::setSelectedSyncUser(int user)
{
    mForm.services().selectedSyncUser = user;
}
