#pragma once

#include "cli/commandsyntax.h"
#include "cli/passwordoptions.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

/**
 * One command's arguments parsed as its CommandSyntax says, on Qt's parser:
 * `--option value` and `--option=value`, `--` before arguments that
 * begin with two dashes; an argument that begins with a single dash (a
 * search text "-5", a file "-old.pdb") is positional, as it always was,
 * but -h (optionsFirst()). The shared options are checked here: a
 * password given twice or a password file of no name, and an unknown
 * locale, are usage errors; the locale in force is set.
 */
class CommandLine
{
public:
    /// Parses @p arguments (those after the command's name); @p locales
    /// are the --locale names given before the command.
    CommandLine(const CommandSyntax &syntax, const QStringList &arguments,
                const QStringList &locales = {});

    /// The exit status when the run ends here: 0 once the help was shown,
    /// 2 once a usage error was reported.
    std::optional<int> finished() const { return mFinished; }

    bool isSet(const QString &name) const { return mParser.isSet(name); }
    /// The value of option @p name, the last one given; nothing when it
    /// was not given.
    std::optional<QString> value(const QString &name) const;
    /// The positional arguments, as many as the syntax names.
    const QStringList &positionals() const { return mPositionals; }
    /// The password options given.
    PasswordOptions &passwords() { return mPasswords; }

    /// Reports @p why (when given) and the usage line on standard error;
    /// returns 2.
    int usageError(const QString &why = QString()) const;

    /// `usage: quillgrid-cli NAME SYNOPSIS`.
    static QString usageLine(const CommandSyntax &syntax);
    /// The usage line, the summary and every option described.
    static QString helpText(const CommandSyntax &syntax);
    /// Every option @p syntax takes, in the order the help shows them.
    static QList<QCommandLineOption> allOptions(const CommandSyntax &syntax);
    /// @p text wrapped at 79 columns, every line after the first indented
    /// by @p indent.
    static QString wrapped(const QString &text, int indent);
    /// An option as its help names it: "-h, --help", "--field N".
    static QString optionNames(const QCommandLineOption &option);

private:
    std::optional<QString> check();

    const CommandSyntax &mSyntax;
    QCommandLineParser mParser;
    QStringList mPositionals;
    PasswordOptions mPasswords;
    std::optional<int> mFinished;
};
