#include "cli/newcommand.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "core/document/database.h"
#include "core/format/codepage.h"
#include "core/platform/qt/systemclock.h"
#include "interchange/newdatabase/newdatabaserules.h"

#include <QDir>
#include <QTextStream>

#include <cstdio>

const CommandSyntax &NewCommand::syntax()
{
    static const CommandSyntax syntax{
        "new",
        QStringLiteral("OUT --name NAME [--fields 5] [--records 10] [--type String] [--width 60]"),
        QStringLiteral("Creates a database as the new-database dialog does and writes it to "
                       "OUT: fields named \"Field 1\"..., all of one type and width, and empty "
                       "records."),
        {QStringLiteral("OUT")},
        {QCommandLineOption(QStringLiteral("name"),
                            QStringLiteral("the database's name: 1 to 30 characters of "
                                           "Windows-1252"),
                            QStringLiteral("NAME")),
         QCommandLineOption(QStringLiteral("fields"),
                            QStringLiteral("the number of fields, 1 to 50 (5 by default)"),
                            QStringLiteral("N")),
         QCommandLineOption(QStringLiteral("records"),
                            QStringLiteral("the number of empty records, 1 to 32000 (10 by "
                                           "default)"),
                            QStringLiteral("N")),
         QCommandLineOption(QStringLiteral("type"),
                            QStringLiteral("the fields' type: its index or its name in the "
                                           "dialog's list, such as String, Boolean or \"Normal "
                                           "PopUp\" (String by default)"),
                            QStringLiteral("TYPE")),
         QCommandLineOption(QStringLiteral("width"),
                            QStringLiteral("the fields' width, 1 to 300 units (60 by default)"),
                            QStringLiteral("W"))},
        0,
        run};
    return syntax;
}

int NewCommand::run(CommandLine &line)
{
    NewDatabaseRules::Choices choices;
    const QString out = line.positionals()[0];
    const std::optional<QString> name = line.value(QStringLiteral("name"));
    if (out.isEmpty())
        return line.usageError(QStringLiteral("OUT must name a file"));
    if (!name)
        return line.usageError(QStringLiteral("--name is needed"));
    choices.name = *name;
    if (const auto fields = line.value(QStringLiteral("fields")))
        choices.columns = *fields;
    if (const auto records = line.value(QStringLiteral("records")))
        choices.rows = *records;
    if (const auto width = line.value(QStringLiteral("width")))
        choices.width = *width;
    if (const auto type = line.value(QStringLiteral("type"))) {
        choices.type = NewDatabaseRules::typeFromText(*type);
        if (choices.type < 0) {
            QTextStream(stderr) << "unknown field type: " << *type << Qt::endl;
            return 2;
        }
    }
    // The name is stored in the handheld's code page; a character it has
    // no byte for would become "?".
    if (!Codepage::canEncode(choices.name)) {
        QTextStream(stderr) << "NAME may only hold characters of Windows-1252: \"" << choices.name
                            << "\" has others" << Qt::endl;
        return 2;
    }

    CliSession session;
    if (const auto failure = NewDatabaseRules::check(choices)) {
        session.printError(failure->lines);
        return 1;
    }
    Database db;
    db.setWidthScale(1.0);
    SystemClock clock;
    NewDatabaseRules::create(db, choices, clock.now(), QDir::currentPath());
    return session.saveCopy(std::move(db), out) ? 0 : 1;
}
