#pragma once

#include "cli/commandsyntax.h"

/// The new command: creates a database as the new-database dialog does and
/// writes it to a file.
class NewCommand
{
public:
    /// `new OUT --name NAME [--fields N] [--records N] [--type T]
    /// [--width W]`.
    static const CommandSyntax &syntax();
    /// Runs the command on @p line; returns the exit status.
    static int run(CommandLine &line);
};
