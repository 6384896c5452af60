#include "widgets/mainwindow/mainformpropertiesshell.h"

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
    QStringList names;
    for (int i = 0; i < mForm.userData().UserCount(); ++i)
        names << mForm.userData().UserName(i);
    return names;
}

int MainFormPropertiesShell::lastSyncUser() const
{
    return mForm.userData().LastUserIndex();
}

void MainFormPropertiesShell::setSelectedSyncUser(int user)
{
    mForm.setSelectedSyncUser(user);
}
