#pragma once

#include <QStringList>

/// The install command: a database into a handheld user's install folder,
/// marked for the next synchronisation.
class InstallCommand
{
public:
    /// Runs `install FILE [--user NAME|ID] [--password PW | --password-file
    /// PWFILE]`; without --user, the user who synchronised last. Returns the
    /// exit status.
    static int run(const QStringList &arguments);
};
