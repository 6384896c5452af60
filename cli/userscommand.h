#pragma once

#include "cli/commandsyntax.h"

/// The users command: the handheld users the synchronisation software knows.
class UsersCommand
{
public:
    /// `users`.
    static const CommandSyntax &syntax();
    /// Runs the command: one line per user, its ID, name and install
    /// folder separated by tabs; returns the exit status.
    static int run(CommandLine &line);
};
