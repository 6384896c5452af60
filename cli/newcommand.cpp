#include "cli/newcommand.h"

#include "cli/clisession.h"
#include "core/document/database.h"
#include "core/format/codepage.h"
#include "core/platform/qt/systemclock.h"
#include "interchange/newdatabase/newdatabaserules.h"

#include <QDir>
#include <QTextStream>

#include <cstdio>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: quillgrid-cli new OUT --name NAME [--fields 5] [--records 10] "
                           "[--type String] [--width 60]"
                        << Qt::endl;
    return 2;
}

} // namespace

int NewCommand::run(const QStringList &arguments)
{
    NewDatabaseRules::Choices choices;
    bool named = false;
    QString out;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (arg == QLatin1String("--name") && hasValue) {
            choices.name = arguments[++i];
            named = true;
        } else if (arg == QLatin1String("--fields") && hasValue) {
            choices.columns = arguments[++i];
        } else if (arg == QLatin1String("--records") && hasValue) {
            choices.rows = arguments[++i];
        } else if (arg == QLatin1String("--width") && hasValue) {
            choices.width = arguments[++i];
        } else if (arg == QLatin1String("--type") && hasValue) {
            choices.type = NewDatabaseRules::typeFromText(arguments[++i]);
            if (choices.type < 0) {
                QTextStream(stderr) << "unknown field type: " << arguments[i] << Qt::endl;
                return 2;
            }
        } else if (arg.startsWith(QLatin1String("--")) || !out.isEmpty()) {
            return usage();
        } else {
            out = arg;
        }
    }
    if (out.isEmpty() || !named)
        return usage();
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
