#pragma once

#include <QStringList>

/// The new command: creates a database as the new-database dialog does and
/// writes it to a file.
class NewCommand
{
public:
    /// Runs `new OUT --name NAME [--fields N] [--records N] [--type T]
    /// [--width W]`; returns the exit status.
    static int run(const QStringList &arguments);
};
