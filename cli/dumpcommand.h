#pragma once

#include "cli/commandsyntax.h"

/**
 * The dump command: the whole database as one JSON object (JsonDump), for
 * scripts and for checking what the reader made of a file.
 */
class DumpCommand
{
public:
    /// `dump FILE [--password PW | --password-file PWFILE] [--recalc]`.
    static const CommandSyntax &syntax();
    /// Runs the command on @p line; returns the exit status. With --recalc
    /// every calculated cell is computed anew first, as the editor would.
    static int run(CommandLine &line);
};
