#include "cli/replacecommand.h"

#include "cli/clisession.h"
#include "cli/findcommand.h"
#include "cli/localeoption.h"
#include "cli/passwordoptions.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "core/platform/qt/systemclock.h"
#include "table/find/replacestep.h"
#include "values/calc/calculatedfields.h"

#include <QTextStream>

#include <optional>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: quillgrid-cli replace IN OUT --find TEXT --with TEXT [--field "
                           "N] [--begins] [--match-case] [--password PW | --password-file PWFILE]"
                        << Qt::endl;
    return 2;
}

} // namespace

int ReplaceCommand::run(const QStringList &arguments)
{
    QStringList paths;
    PasswordOptions passwords(false);
    ReplaceStep::Query query;
    std::optional<QString> find;
    std::optional<QString> with;
    QString fieldText;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const PasswordOptions::Taken taken = passwords.take(arguments, i);
        if (taken == PasswordOptions::Taken::Bad)
            return usage();
        if (taken == PasswordOptions::Taken::Yes)
            continue;
        const bool hasValue = i + 1 < arguments.size();
        if (arg == QLatin1String("--find") && hasValue)
            find = arguments[++i];
        else if (arg == QLatin1String("--with") && hasValue)
            with = arguments[++i];
        else if (arg == QLatin1String("--field") && hasValue)
            fieldText = arguments[++i];
        else if (arg == QLatin1String("--begins"))
            query.mustBegin = true;
        else if (arg == QLatin1String("--match-case"))
            query.matchCase = true;
        else if (arg.startsWith(QLatin1String("--")))
            return usage();
        else
            paths << arg;
    }
    if (paths.size() != 2 || paths[0].isEmpty() || paths[1].isEmpty() || !with ||
        (!fieldText.isEmpty() && FindCommand::fieldNumber(fieldText) < 0))
        return usage();
    if (!find || find->isEmpty()) {
        QTextStream(stderr) << "--find needs a text to look for" << Qt::endl;
        return usage();
    }
    query.findText = *find;
    query.replaceText = *with;

    CliSession session;
    if (!session.usePasswords(passwords))
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
