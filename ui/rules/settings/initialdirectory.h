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
};
