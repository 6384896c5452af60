#pragma once

#include <QString>

struct Preferences;

/// Where the open and save dialogs start.
class InitialDirectory
{
public:
    /**
     * The handheld user's backup folder, @p syncPath/@p userFolder/backup,
     * when initialDir is on and @p userFolder is known (not empty); otherwise
     * initialDirPath. Parts are joined with '/'; convert to native separators
     * for display.
     */
    static QString UpdateInitialDirectory(const Preferences &preferences, const QString &syncPath,
                                          const QString &userFolder);
    /// The same with the user's backup folder given whole: @p backupFolder
    /// when initialDir is on and it is known (not empty), else initialDirPath.
    static QString UpdateInitialDirectory(const Preferences &preferences,
                                          const QString &backupFolder);
};
