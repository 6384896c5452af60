#pragma once

#include <QStringList>

/**
 * The dump command: the whole database as one JSON object (JsonDump), for
 * scripts and for checking what the reader made of a file.
 */
class DumpCommand
{
public:
    /// Runs `dump FILE [--password PW | --password-file PWFILE] [--recalc]`
    /// on @p arguments (after the command name); returns the exit status.
    /// With --recalc every calculated cell is computed anew first, as the
    /// editor would.
    static int run(const QStringList &arguments);
};
