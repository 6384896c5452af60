#pragma once

#include <QString>
#include <QStringList>

/**
 * What the editor's command line asks for: the file to open (its only
 * argument; several are one path that the shell split at its blanks), or
 * --help or --version, which are answered without a window. An unknown
 * option is a usage error.
 */
struct EditorCommandLine
{
    enum class Action
    {
        Open,       ///< start the editor, with `file` when one is named
        Help,       ///< print helpText()
        Version,    ///< print the version
        UsageError, ///< print `file` (the fault) and the usage line
    };

    Action action = Action::Open;
    /// The file to open (Open), or the fault (UsageError).
    QString file;

    /// Parses the arguments after the program's name (with Qt's own
    /// options, such as -style, already taken out or passed over).
    static EditorCommandLine parse(const QStringList &argumentsAfterProgram);

    /// `usage: quillgrid [FILE]`.
    static QString usageLine();
    /// The usage line, what the editor does and every option described.
    static QString helpText();
};
