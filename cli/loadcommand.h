#pragma once

#include "cli/commandsyntax.h"

/**
 * The load command, the inverse of dump: a database file made from its
 * JSON image (JsonLoad), written as copy writes one. A document with a
 * fault is refused with the path of the first one, and nothing is written.
 */
class LoadCommand
{
public:
    /// `load JSON OUT [--password PW | --password-file PWFILE]`.
    static const CommandSyntax &syntax();
    /// Runs the command on @p line; returns the exit status. The password
    /// enciphers the database when its image says it is enciphered, and is
    /// refused when it says not.
    static int run(CommandLine &line);
};
