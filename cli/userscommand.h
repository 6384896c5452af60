#pragma once

#include <QStringList>

/// The users command: the handheld users the synchronisation software knows.
class UsersCommand
{
public:
    /// Runs `users`: one line per user, its ID, name and install folder
    /// separated by tabs; returns the exit status.
    static int run(const QStringList &arguments);
};
