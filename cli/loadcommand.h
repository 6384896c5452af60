#pragma once

#include <QStringList>

/**
 * The load command, the inverse of dump: a database file made from its
 * JSON image (JsonLoad), written as copy writes one. A document with a
 * fault is refused with the path of the first one, and nothing is written.
 */
class LoadCommand
{
public:
    /// Runs `load JSON OUT [--password PW | --password-file PWFILE]` on
    /// @p arguments (after the command name); returns the exit status. The
    /// password enciphers the database when its image says it is
    /// enciphered, and is refused when it says not.
    static int run(const QStringList &arguments);
};
