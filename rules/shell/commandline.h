#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QStringList>

/// The file named on the command line: every argument after the program's
/// name, joined by single spaces, so that a path with blanks given without
/// quotes is whole again. Empty when there is none.
inline QString commandLineFile(const QStringList &argumentsAfterProgram)
{
    return argumentsAfterProgram.join(QLatin1Char(' '));
}

/**
 * @p argumentsAfterProgram ordered for QCommandLineParser::parse(), after
 * @p program: the options first (an argument that begins with two dashes,
 * or a dash and the one-letter name of one of @p options, with the value that follows one of @p
 * options that takes a value given without "="), then "--" and every other argument in its order.
 * So an argument that begins with a single dash (a file "-old.pdb", a search text "-5") is never
 * taken for an option, and "--" still ends the options. When the last option lacks its value, the
 * positional arguments are left out, so that the parser reports the missing value.
 */
QStringList optionsFirst(const QString &program, const QStringList &argumentsAfterProgram,
                         const QList<QCommandLineOption> &options);
