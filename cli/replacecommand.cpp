#include "cli/replacecommand.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "cli/findcommand.h"
#include "cli/localeoption.h"
#include "cli/sharedoptions.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "core/platform/qt/systemclock.h"
#include "table/find/replacestep.h"
#include "values/calc/calculatedfields.h"

#include <QTextStream>

#include <optional>

const CommandSyntax &ReplaceCommand::syntax()
{
    static const CommandSyntax syntax{
        "replace",
        QStringLiteral("IN OUT --find TEXT --with TEXT [--field N] [--begins] [--match-case] "
                       "[--password PW | --password-file PWFILE]"),
        QStringLiteral("Does what the Replace dialog's Replace All does and writes the result "
                       "to OUT: every occurrence in every cell of the range, the search going on "
                       "behind each inserted text. Prints the number of replacements, or on "
                       "standard error that the text was not found (OUT is written either way), "
                       "and how many replacements were skipped because they would take a cell "
                       "past 4000 characters."),
        {QStringLiteral("IN"), QStringLiteral("OUT")},
        {QCommandLineOption(QStringLiteral("find"), QStringLiteral("the text to replace"),
                            QStringLiteral("TEXT")),
         QCommandLineOption(QStringLiteral("with"), QStringLiteral("the text to put in its place"),
                            QStringLiteral("TEXT")),
         FindCommand::fieldOption(),
         QCommandLineOption(QStringLiteral("begins"),
                            QStringLiteral("only where the cell begins with the text")),
         QCommandLineOption(QStringLiteral("match-case"),
                            QStringLiteral("compare the case too (else both in the locale's "
                                           "upper case)"))},
        SharedOptions::Passwords,
        run};
    return syntax;
}

int ReplaceCommand::run(CommandLine &line)
{
    const QStringList &paths = line.positionals();
    ReplaceStep::Query query;
    query.mustBegin = line.isSet(QStringLiteral("begins"));
    query.matchCase = line.isSet(QStringLiteral("match-case"));
    const std::optional<QString> find = line.value(QStringLiteral("find"));
    const std::optional<QString> with = line.value(QStringLiteral("with"));
    const QString fieldText = line.value(QStringLiteral("field")).value_or(QString());
    if (paths[0].isEmpty() || paths[1].isEmpty())
        return line.usageError(QStringLiteral("IN and OUT must name files"));
    if (!with)
        return line.usageError(QStringLiteral("--with is needed"));
    if (!fieldText.isEmpty() && FindCommand::fieldNumber(fieldText) < 0)
        return line.usageError(QStringLiteral("no field number: ") + fieldText);
    if (!find || find->isEmpty())
        return line.usageError(QStringLiteral("--find needs a text to look for"));
    query.findText = *find;
    query.replaceText = *with;

    CliSession session;
    if (!session.usePasswords(line.passwords()))
        return 1;
    Database db;
    if (!session.readDatabase(paths[0], db))
        return 1;
    if (!fieldText.isEmpty()) {
        query.field = FindCommand::fieldNumber(fieldText, db.fieldCount());
        if (query.field < 0) {
            QTextStream(stderr) << "the database has no field " << fieldText << Qt::endl;
            return 2;
        }
    }

    Document doc(std::move(db));
    QtLocaleService locale(LocaleOption::locale());
    SystemClock clock;
    const CalculatedFields calc(doc.database(), locale, clock, session);
    ReplaceStep step(doc, locale, &calc);
    const ReplaceStep::Outcome outcome = step.run(ReplaceStep::ReplaceAll, query);
    if (outcome.notFound)
        session.printError(ReplaceStep::notFoundMessage().lines);
    else
        QTextStream(stdout) << outcome.replacements << Qt::endl;
    if (outcome.skipped > 0)
        session.printError({ReplaceStep::skippedText(outcome.skipped)});
    return session.saveCopy(doc, paths[1]) ? 0 : 1;
}
