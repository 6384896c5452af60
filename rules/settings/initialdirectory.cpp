#include "rules/settings/initialdirectory.h"

#include "rules/settings/preferences.h"

QString InitialDirectory::UpdateInitialDirectory(const Preferences &preferences,
                                                 const QString &syncPath, const QString &userFolder)
{
    if (preferences.initialDir && !userFolder.isEmpty())
        return syncPath + QLatin1Char('/') + userFolder + QStringLiteral("/backup");
    return preferences.initialDirPath;
}

QString InitialDirectory::UpdateInitialDirectory(const Preferences &preferences,
                                                 const QString &backupFolder)
{
    return preferences.initialDir && !backupFolder.isEmpty() ? backupFolder
                                                             : preferences.initialDirPath;
}
