#pragma once

#include <QStringList>

/// The file named on the command line: every argument after the program's
/// name, joined by single spaces, so that a path with blanks given without
/// quotes is whole again. Empty when there is none.
inline QString commandLineFile(const QStringList &argumentsAfterProgram)
{
    return argumentsAfterProgram.join(QLatin1Char(' '));
}
