#pragma once

#include "cli/commandsyntax.h"

/// The replace command: Replace All as the Replace dialog does it, then
/// the database written to another file.
class ReplaceCommand
{
public:
    /// `replace IN OUT --find TEXT --with TEXT [--field N] [--begins]
    /// [--match-case] [--password PW | --password-file PWFILE]`.
    static const CommandSyntax &syntax();
    /// Runs the command on @p line: prints the number of replacements, or
    /// "Find text not found." on standard error; OUT is written either way.
    /// Returns the exit status.
    static int run(CommandLine &line);
};
