#pragma once

#include <QString>

/**
 * Files that an interruption removes: while a path is held here, SIGINT,
 * SIGTERM or SIGHUP unlink it before the process ends as the signal's
 * default action would end it. The handler is installed with the first
 * path, for each signal whose action is still the default (a signal that
 * is ignored, or handled by someone else, is left alone). For the one
 * thread that saves; the handler itself only unlinks and re-raises.
 */
class InterruptCleanup
{
public:
    /// Holds @p path; false when it is too long or every place is taken.
    static bool add(const QString &path);
    /// Lets @p path go (renamed into place, or removed).
    static void remove(const QString &path);
    /// How many paths are held.
    static int count();
};
