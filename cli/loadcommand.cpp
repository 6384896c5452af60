#include "cli/loadcommand.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "cli/sharedoptions.h"
#include "core/crypto/cryptformrules.h"
#include "core/document/database.h"
#include "core/document/databaseflags.h"
#include "interchange/json/jsonload.h"

#include <QFile>
#include <QFileInfo>

#include <optional>

const CommandSyntax &LoadCommand::syntax()
{
    static const CommandSyntax syntax{
        "load",
        QStringLiteral("JSON OUT [--password PW | --password-file PWFILE]"),
        QStringLiteral("Writes the database that the JSON image of a dump describes to OUT, as "
                       "copy writes one; an enciphered one (\"encrypted\": true) with the "
                       "password given, which it needs. A document with a fault is refused with "
                       "the JSON path of the first one, and nothing is written."),
        {QStringLiteral("JSON"), QStringLiteral("OUT")},
        {},
        SharedOptions::Passwords,
        run};
    return syntax;
}

int LoadCommand::run(CommandLine &line)
{
    // An empty name names no file.
    const QString jsonPath = line.positionals()[0];
    const QString outPath = line.positionals()[1];
    if (jsonPath.isEmpty() || outPath.isEmpty())
        return line.usageError(QStringLiteral("JSON and OUT must name files"));
    CliSession session;
    if (!session.usePasswords(line.passwords()))
        return 1;

    QFile json(jsonPath);
    const bool folder = QFileInfo(jsonPath).isDir();
    if (folder || !json.open(QIODevice::ReadOnly)) {
        session.printError({jsonPath + QStringLiteral(": ") +
                            (folder ? QStringLiteral("Is a directory") : json.errorString())});
        return 1;
    }
    Database db;
    const JsonLoad::Result result = JsonLoad::read(json, db);
    json.close();
    if (!result.ok) {
        session.printError({jsonPath + QStringLiteral(": ") + result.fault});
        return 1;
    }

    // The image holds no password: the one given enciphers, under the
    // rules of a new password.
    const std::optional<QString> &password = line.passwords().password();
    if (db.flags() & DatabaseFlags::Encrypted) {
        if (!password) {
            session.printError(
                {QStringLiteral("The database is enciphered: give the password to "
                                "encipher it with (--password or --password-file).")});
            return 1;
        }
        const CryptFormRules::Outcome outcome =
            CryptFormRules(CryptFormRules::Mode::Encryption).ok(*password, *password);
        if (!outcome.accepted) {
            session.printError(outcome.error.lines);
            return 1;
        }
        db.setPassword(outcome.password);
    } else if (password) {
        session.printError({QStringLiteral("The database is not enciphered: it takes no password "
                                           "(its \"encrypted\" and \"flags\" say so).")});
        return 1;
    }
    return session.saveCopy(std::move(db), outPath) ? 0 : 1;
}
