#include "cli/findcommand.h"

#include "cli/clisession.h"
#include "cli/passwordoptions.h"
#include "core/document/database.h"
#include "table/find/findsearch.h"

#include <QTextStream>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: quillgrid-cli find FILE TEXT [--field N] [--begins] "
                           "[--password PW | --password-file PWFILE]"
                        << Qt::endl;
    return 2;
}

} // namespace

int FindCommand::fieldNumber(const QString &text, int fields)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0 || (fields >= 0 && n > fields))
        return -1;
    return n;
}

int FindCommand::run(const QStringList &arguments)
{
    QStringList positional;
    PasswordOptions passwords(false);
    FindSearch::Query query;
    QString fieldText;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const PasswordOptions::Taken taken = passwords.take(arguments, i);
        if (taken == PasswordOptions::Taken::Bad)
            return usage();
        if (taken == PasswordOptions::Taken::Yes)
            continue;
        if (arg == QLatin1String("--field") && i + 1 < arguments.size())
            fieldText = arguments[++i];
        else if (arg == QLatin1String("--begins"))
            query.mustBegin = true;
        else if (arg.startsWith(QLatin1String("--")))
            return usage();
        else
            positional << arg;
    }
    if (positional.size() != 2 || positional[0].isEmpty() ||
        (!fieldText.isEmpty() && fieldNumber(fieldText) < 0))
        return usage();
    query.text = positional[1];

    CliSession session;
    if (!session.usePasswords(passwords))
        return 1;
    Database db;
    if (!session.readDatabase(positional[0], db))
        return 1;
    if (!fieldText.isEmpty()) {
        query.field = fieldNumber(fieldText, db.fieldCount());
        if (query.field < 0) {
            QTextStream(stderr) << "the database has no field " << fieldText << Qt::endl;
            return 2;
        }
    }

    const std::vector<QPoint> matches = FindSearch::allMatches(db, query);
    if (matches.empty()) {
        session.printError(FindSearch::notFoundMessage().lines);
        return 1;
    }
    QTextStream out(stdout);
    for (const QPoint &cell : matches) {
        out << QStringLiteral("%1").arg(cell.y(), 4, 10, QLatin1Char('0')) << '\t'
            << db.grid().cell(cell.x(), 0) << '\n';
    }
    out.flush();
    return out.status() == QTextStream::Ok ? 0 : 1;
}
