#pragma once

#include <QStringList>

/// The copy command: reads a database and writes it to another file,
/// optionally with a new password or none.
class CopyCommand
{
public:
    /// Runs `copy IN OUT [--password PW | --password-file PWFILE] [--encrypt
    /// NEWPW | --encrypt-file NEWPWFILE | --decrypt]`; returns the exit status.
    static int run(const QStringList &arguments);
};
