#pragma once

#include "cli/commandsyntax.h"

/// The install command: a database into a handheld user's install folder,
/// marked for the next synchronisation.
class InstallCommand
{
public:
    /// `install FILE [--user NAME|ID] [--password PW | --password-file
    /// PWFILE]`.
    static const CommandSyntax &syntax();
    /// Runs the command on @p line; without --user, for the user who
    /// synchronised last. Returns the exit status.
    static int run(CommandLine &line);
};
