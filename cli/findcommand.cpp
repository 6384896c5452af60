#include "cli/findcommand.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "cli/sharedoptions.h"
#include "core/document/database.h"
#include "table/find/findsearch.h"

#include <QTextStream>

int FindCommand::fieldNumber(const QString &text, int fields)
{
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0 || (fields >= 0 && n > fields))
        return -1;
    return n;
}

QCommandLineOption FindCommand::fieldOption()
{
    return QCommandLineOption(QStringLiteral("field"),
                              QStringLiteral("search field N alone (from 1; 0, the default, "
                                             "means all fields)"),
                              QStringLiteral("N"));
}

const CommandSyntax &FindCommand::syntax()
{
    static const CommandSyntax syntax{
        "find",
        QStringLiteral("FILE TEXT [--field N] [--begins] [--password PW | --password-file "
                       "PWFILE]"),
        QStringLiteral("Lists every cell the Find dialog's search reaches from the start, record "
                       "by record and field by field, one line each: the record number as the "
                       "editor shows it (0012), a TAB, the field's name. Only the letters a to z "
                       "are taken without regard to case. Without a match it says so on "
                       "standard error and exits with 1."),
        {QStringLiteral("FILE"), QStringLiteral("TEXT")},
        {fieldOption(), QCommandLineOption(QStringLiteral("begins"),
                                           QStringLiteral("the cell must begin with TEXT"))},
        SharedOptions::Passwords,
        run};
    return syntax;
}

int FindCommand::run(CommandLine &line)
{
    const QStringList &positional = line.positionals();
    FindSearch::Query query;
    query.mustBegin = line.isSet(QStringLiteral("begins"));
    const QString fieldText = line.value(QStringLiteral("field")).value_or(QString());
    if (positional[0].isEmpty())
        return line.usageError(QStringLiteral("FILE must name a file"));
    if (!fieldText.isEmpty() && fieldNumber(fieldText) < 0)
        return line.usageError(QStringLiteral("no field number: ") + fieldText);
    query.text = positional[1];

    CliSession session;
    if (!session.usePasswords(line.passwords()))
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
