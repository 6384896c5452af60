#include "cli/dumpcommand.h"

#include "cli/clisession.h"
#include "cli/localeoption.h"
#include "cli/passwordoptions.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "core/platform/qt/systemclock.h"
#include "interchange/json/jsondump.h"
#include "values/calc/calculatedfields.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

int DumpCommand::run(const QStringList &arguments)
{
    QTextStream err(stderr);
    const auto usage = [&err] {
        err << "usage: quillgrid-cli dump FILE [--password PW | --password-file PWFILE] [--recalc]"
            << Qt::endl;
        return 2;
    };
    QString path;
    PasswordOptions passwords(false);
    bool recalc = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const PasswordOptions::Taken taken = passwords.take(arguments, i);
        if (taken == PasswordOptions::Taken::Bad)
            return usage();
        if (taken == PasswordOptions::Taken::Yes)
            continue;
        if (arg == QLatin1String("--recalc"))
            recalc = true;
        else if (arg.startsWith(QLatin1String("--")) || !path.isEmpty())
            return usage();
        else
            path = arg;
    }
    if (path.isEmpty())
        return usage();

    CliSession session;
    if (!session.usePasswords(passwords))
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
