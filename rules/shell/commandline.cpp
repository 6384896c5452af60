#include "rules/shell/commandline.h"

namespace {

/// Whether @p argument names one of @p options that takes a value and
/// does not carry it after "=".
bool takesNextArgument(const QString &argument, const QList<QCommandLineOption> &options)
{
    if (!argument.startsWith(QLatin1String("--")) || argument.contains(QLatin1Char('=')))
        return false;
    const QString name = argument.mid(2);
    for (const QCommandLineOption &option : options) {
        if (option.names().contains(name))
            return !option.valueName().isEmpty();
    }
    return false;
}

/// Whether @p argument is "-" and the one-letter name of one of @p options.
bool isShortOption(const QString &argument, const QList<QCommandLineOption> &options)
{
    if (argument.size() != 2 || argument[0] != QLatin1Char('-') || argument[1] == QLatin1Char('-'))
        return false;
    for (const QCommandLineOption &option : options) {
        if (option.names().contains(argument.mid(1)))
            return true;
    }
    return false;
}

} // namespace

QStringList optionsFirst(const QString &program, const QStringList &argumentsAfterProgram,
                         const QList<QCommandLineOption> &options)
{
    QStringList ordered{program};
    QStringList positional;
    for (qsizetype i = 0; i < argumentsAfterProgram.size(); ++i) {
        const QString &argument = argumentsAfterProgram[i];
        if (argument == QLatin1String("--")) {
            positional << argumentsAfterProgram.mid(i + 1);
            break;
        }
        if (!argument.startsWith(QLatin1String("--")) && !isShortOption(argument, options)) {
            positional << argument;
            continue;
        }
        ordered << argument;
        if (takesNextArgument(argument, options)) {
            if (i + 1 >= argumentsAfterProgram.size())
                return ordered; // the parser says the value is missing
            ordered << argumentsAfterProgram[++i];
        }
    }
    return ordered << QStringLiteral("--") << positional;
}
