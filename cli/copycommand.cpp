#include "cli/copycommand.h"

#include "cli/clisession.h"
#include "cli/passwordoptions.h"
#include "core/crypto/cryptformrules.h"
#include "core/document/database.h"
#include "core/document/databaseflags.h"

#include <QTextStream>

#include <cstdio>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: quillgrid-cli copy IN OUT [--password PW | --password-file "
                           "PWFILE] [--encrypt NEWPW | --encrypt-file NEWPWFILE | --decrypt]"
                        << Qt::endl;
    return 2;
}

constexpr quint16 SecurityFlags =
    DatabaseFlags::NoSecurity | DatabaseFlags::Encrypted | DatabaseFlags::PalmOsPassword;

} // namespace

int CopyCommand::run(const QStringList &arguments)
{
    QStringList paths;
    PasswordOptions passwords(true);
    bool decrypt = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const PasswordOptions::Taken taken = passwords.take(arguments, i);
        if (taken == PasswordOptions::Taken::Bad)
            return usage();
        if (taken == PasswordOptions::Taken::Yes)
            continue;
        if (arg == QLatin1String("--decrypt"))
            decrypt = true;
        else if (arg.startsWith(QLatin1String("--")))
            return usage();
        else
            paths << arg;
    }
    const bool encrypt = passwords.hasNewPassword();
    if (paths.size() != 2 || (encrypt && decrypt))
        return usage();
    // An empty name names no file; in particular not the input's own.
    if (paths[0].isEmpty() || paths[1].isEmpty()) {
        QTextStream(stderr) << "IN and OUT must name files" << Qt::endl;
        return usage();
    }

    CliSession session;
    QString error;
    if (!passwords.load(&error)) {
        session.printError({error});
        return 1;
    }
    session.setPassword(passwords.password());
    Database db;
    if (!session.readDatabase(paths[0], db))
        return 1;

    // As the Properties dialog sets "Encrypted" and "No security".
    if (encrypt) {
        const CryptFormRules::Outcome outcome =
            CryptFormRules(CryptFormRules::Mode::Encryption)
                .ok(*passwords.newPassword(), *passwords.newPassword());
        if (!outcome.accepted) {
            session.printError(outcome.error.lines);
            return 1;
        }
        db.setPassword(outcome.password);
        db.setFlags((db.flags() & ~SecurityFlags) | DatabaseFlags::Encrypted);
    } else if (decrypt) {
        db.setPassword(QString());
        db.setFlags((db.flags() & ~SecurityFlags) | DatabaseFlags::NoSecurity);
    }
    return session.saveCopy(std::move(db), paths[1]) ? 0 : 1;
}
