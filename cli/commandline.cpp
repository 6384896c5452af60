#include "cli/commandline.h"

#include "cli/localeoption.h"
#include "cli/sharedoptions.h"
#include "rules/shell/commandline.h"

#include <QTextStream>

#include <cstdio>

namespace {

constexpr int HelpColumn = 30;
constexpr int LineWidth = 79;

} // namespace

CommandLine::CommandLine(const CommandSyntax &syntax, const QStringList &arguments,
                         const QStringList &locales)
    : mSyntax(syntax), mPasswords(syntax.shared & SharedOptions::NewPasswords)
{
    const QList<QCommandLineOption> options = allOptions(syntax);
    mParser.addOptions(options);
    const QStringList ordered = optionsFirst(QStringLiteral("quillgrid-cli"), arguments, options);
    if (!mParser.parse(ordered)) {
        mFinished = usageError(mParser.errorText());
        return;
    }
    if (mParser.isSet(SharedOptions::Help)) {
        QTextStream(stdout) << helpText(syntax);
        mFinished = 0;
        return;
    }
    mPositionals = mParser.positionalArguments();
    QString why;
    if (!LocaleOption::use(locales + mParser.values(SharedOptions::Locale), &why)) {
        mFinished = usageError(why);
        return;
    }
    if (const std::optional<QString> fault = check())
        mFinished = usageError(*fault);
}

std::optional<QString> CommandLine::check()
{
    if (mPositionals.size() != mSyntax.positionals.size()) {
        return QStringLiteral("%1 expected, %2 given")
            .arg(mSyntax.positionals.isEmpty() ? QStringLiteral("no argument")
                                               : mSyntax.positionals.join(QLatin1Char(' ')))
            .arg(mPositionals.size());
    }
    QString why;
    if ((mSyntax.shared & SharedOptions::Passwords) && !mPasswords.take(mParser, &why))
        return why;
    return std::nullopt;
}

std::optional<QString> CommandLine::value(const QString &name) const
{
    if (!mParser.isSet(name))
        return std::nullopt;
    return mParser.values(name).constLast();
}

int CommandLine::usageError(const QString &why) const
{
    QTextStream err(stderr);
    if (!why.isEmpty())
        err << why << '\n';
    err << usageLine(mSyntax) << Qt::endl;
    return 2;
}

QString CommandLine::usageLine(const CommandSyntax &syntax)
{
    return QStringLiteral("usage: quillgrid-cli %1 %2")
        .arg(QLatin1String(syntax.name), syntax.synopsis)
        .trimmed();
}

QString CommandLine::helpText(const CommandSyntax &syntax)
{
    QString text = wrapped(usageLine(syntax), 7) + QStringLiteral("\n\n") +
                   wrapped(syntax.summary, 0) + QStringLiteral("\n\nOptions:\n");
    for (const QCommandLineOption &option : allOptions(syntax)) {
        QString line = QStringLiteral("  ") + optionNames(option);
        line = line.size() + 2 > HelpColumn
                   ? line + QLatin1Char('\n') + QString(HelpColumn, QLatin1Char(' '))
                   : line.leftJustified(HelpColumn);
        text += line + wrapped(option.description(), HelpColumn) + QLatin1Char('\n');
    }
    return text;
}

QList<QCommandLineOption> CommandLine::allOptions(const CommandSyntax &syntax)
{
    return syntax.options + SharedOptions::of(syntax.shared) +
           QList<QCommandLineOption>{SharedOptions::locale(), SharedOptions::help()};
}

QString CommandLine::wrapped(const QString &text, int indent)
{
    // Each line of the text on lines of its own; words are never cut. The
    // first line begins where the caller put it.
    QStringList lines;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        int column = indent;
        for (const QString &word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            if (column > indent && column + 1 + word.size() > LineWidth) {
                line += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
                column = indent;
            } else if (column > indent) {
                line += QLatin1Char(' ');
                ++column;
            }
            line += word;
            column += int(word.size());
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n') + QString(indent, QLatin1Char(' ')));
}

QString CommandLine::optionNames(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names << (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    QString text = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        text += QLatin1Char(' ') + option.valueName();
    return text;
}
