#include "cli/dumpcommand.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "cli/localeoption.h"
#include "cli/sharedoptions.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "core/platform/qt/systemclock.h"
#include "interchange/json/jsondump.h"
#include "values/calc/calculatedfields.h"

#include <QFile>

#include <cstdio>

const CommandSyntax &DumpCommand::syntax()
{
    static const CommandSyntax syntax{
        "dump",
        QStringLiteral("FILE [--password PW | --password-file PWFILE] [--recalc]"),
        QStringLiteral("Prints the database FILE as one JSON object (UTF-8): its name, flags and "
                       "dates, every field, every record as an array of cell texts, the sort "
                       "and filter lists, and the bytes of the file that none of these gives. "
                       "load makes the file again from it."),
        {QStringLiteral("FILE")},
        {QCommandLineOption(QStringLiteral("recalc"),
                            QStringLiteral("compute every calculated cell anew first, as the "
                                           "editor shows it"))},
        SharedOptions::Passwords,
        run};
    return syntax;
}

int DumpCommand::run(CommandLine &line)
{
    const QString path = line.positionals()[0];
    if (path.isEmpty())
        return line.usageError(QStringLiteral("FILE must name a file"));
    const bool recalc = line.isSet(QStringLiteral("recalc"));

    CliSession session;
    if (!session.usePasswords(line.passwords()))
        return 1;
    Database db;
    if (!session.readDatabase(path, db))
        return 1;
    Document doc(std::move(db));
    if (recalc) {
        QtLocaleService locale(LocaleOption::locale());
        SystemClock clock;
        const CalculatedFields calc(doc.database(), locale, clock, session);
        doc.apply(Edit::change(QStringLiteral("recalculate"), calc.RecalculateAll()));
    }

    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered))
        return 1;
    return JsonDump::write(out, doc.database()) && out.flush() ? 0 : 1;
}
