#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

class CommandLine;

/**
 * What one command of quillgrid-cli takes: its name, the synopsis and
 * summary its help shows, its positional arguments (each exactly once),
 * its own options and the shared ones (SharedOptions) it takes besides
 * --locale and --help, which every command takes.
 */
struct CommandSyntax
{
    const char *name = "";
    /// What follows the name in the usage line.
    QString synopsis;
    /// What the command does, for its help.
    QString summary;
    /// The names of the positional arguments, in their order.
    QStringList positionals;
    /// The command's own options.
    QList<QCommandLineOption> options;
    /// SharedOptions::Group flags.
    unsigned shared = 0;
    /// Runs the command on the parsed line; returns the exit status.
    int (*run)(CommandLine &line) = nullptr;
};
