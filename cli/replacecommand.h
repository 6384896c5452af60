#pragma once

#include <QStringList>

/// The replace command: Replace All as the Replace dialog does it, then
/// the database written to another file.
class ReplaceCommand
{
public:
    /// Runs `replace IN OUT --find TEXT --with TEXT [--field N] [--begins]
    /// [--match-case] [--password PW | --password-file PWFILE]`; prints the
    /// number of replacements, or "Find text not found." on standard error;
    /// OUT is written either way. Returns the exit status.
    static int run(const QStringList &arguments);
};
