#include "cli/loadcommand.h"

#include "cli/clisession.h"
#include "cli/passwordoptions.h"
#include "core/crypto/cryptformrules.h"
#include "core/document/database.h"
#include "core/document/databaseflags.h"
#include "interchange/json/jsonload.h"

#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <optional>

namespace {

struct Options
{
    QString json;
    QString out;
    PasswordOptions passwords{false};
};

/// The options of `load JSON OUT [--password PW | --password-file PWFILE]`;
/// nothing on a usage error.
std::optional<Options> parseOptions(const QStringList &arguments)
{
    Options options;
    QStringList paths;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const PasswordOptions::Taken taken = options.passwords.take(arguments, i);
        if (taken == PasswordOptions::Taken::Bad)
            return std::nullopt;
        if (taken == PasswordOptions::Taken::Yes)
            continue;
        if (arguments[i].startsWith(QLatin1String("--")))
            return std::nullopt;
        paths << arguments[i];
    }
    // An empty name names no file.
    if (paths.size() != 2 || paths[0].isEmpty() || paths[1].isEmpty())
        return std::nullopt;
    options.json = paths[0];
    options.out = paths[1];
    return options;
}

} // namespace

int LoadCommand::run(const QStringList &arguments)
{
    std::optional<Options> options = parseOptions(arguments);
    if (!options) {
        QTextStream(stderr)
            << "usage: quillgrid-cli load JSON OUT [--password PW | --password-file PWFILE]"
            << Qt::endl;
        return 2;
    }
    CliSession session;
    if (!session.usePasswords(options->passwords))
        return 1;

    QFile json(options->json);
    const bool folder = QFileInfo(options->json).isDir();
    if (folder || !json.open(QIODevice::ReadOnly)) {
        session.printError({options->json + QStringLiteral(": ") +
                            (folder ? QStringLiteral("Is a directory") : json.errorString())});
        return 1;
    }
    Database db;
    const JsonLoad::Result result = JsonLoad::read(json, db);
    json.close();
    if (!result.ok) {
        session.printError({options->json + QStringLiteral(": ") + result.fault});
        return 1;
    }

    // The image holds no password: the one given enciphers, under the
    // rules of a new password.
    const std::optional<QString> &password = options->passwords.password();
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
    return session.saveCopy(std::move(db), options->out) ? 0 : 1;
}
