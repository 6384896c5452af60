#pragma once

#include "cli/commandsyntax.h"

/// The copy command: reads a database and writes it to another file,
/// optionally with a new password or none.
class CopyCommand
{
public:
    /// `copy IN OUT [--password PW | --password-file PWFILE] [--encrypt
    /// NEWPW | --encrypt-file NEWPWFILE | --decrypt] [--sort KEYS]`.
    static const CommandSyntax &syntax();
    /// Runs the command on @p line; returns the exit status.
    static int run(CommandLine &line);
};
