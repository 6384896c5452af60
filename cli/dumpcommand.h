#pragma once

#include <QJsonObject>

class Database;

/**
 * The dump command: the whole database as one JSON object, for scripts and
 * for checking what the reader made of a file.
 */
class DumpCommand
{
public:
    /// The JSON image of @p db.
    static QJsonObject toJson(const Database &db);

    /// Runs `dump FILE [--password PW | --password-file PWFILE] [--recalc]`
    /// on @p arguments (after the command name); returns the exit status.
    /// With --recalc every calculated cell is computed anew first, as the
    /// editor would.
    static int run(const QStringList &arguments);
};
