#include "cli/copycommand.h"

#include "cli/clisession.h"
#include "cli/localeoption.h"
#include "cli/passwordoptions.h"
#include "core/crypto/cryptformrules.h"
#include "core/document/database.h"
#include "core/document/databaseflags.h"
#include "core/document/document.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "table/filter/filterengine.h"
#include "table/sort/recordsort.h"

#include <QTextStream>

#include <cstdio>

namespace {

int usage()
{
    QTextStream(stderr)
        << "usage: quillgrid-cli copy IN OUT [--password PW | --password-file "
           "PWFILE] [--encrypt NEWPW | --encrypt-file NEWPWFILE | --decrypt] [--sort KEYS]"
        << Qt::endl;
    return 2;
}

constexpr quint16 SecurityFlags =
    DatabaseFlags::NoSecurity | DatabaseFlags::Encrypted | DatabaseFlags::PalmOsPassword;

/// KEYS of --sort: one to three signed field numbers separated by commas,
/// the missing ones 0; nothing when it is not such a list. "stored" is
/// taken by the caller.
std::optional<SortSettings> parseKeys(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() > 3)
        return std::nullopt;
    SortSettings keys;
    for (qsizetype k = 0; k < parts.size(); ++k) {
        bool ok = false;
        const int key = parts[k].trimmed().toInt(&ok);
        if (!ok || key < -127 || key > 127)
            return std::nullopt;
        keys.keys[size_t(k)] = qint8(key);
    }
    return keys;
}

/// Whether every key names a field of @p db (0 only for the second and
/// third, "None").
bool keysNameFields(const SortSettings &keys, const Database &db)
{
    for (size_t k = 0; k < keys.keys.size(); ++k) {
        const int field = qAbs(int(keys.keys[k]));
        if (field > db.fieldCount() || (k == 0 && field == 0))
            return false;
    }
    return true;
}

} // namespace

int CopyCommand::run(const QStringList &arguments)
{
    QStringList paths;
    PasswordOptions passwords(true);
    bool decrypt = false;
    std::optional<QString> sortText;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const PasswordOptions::Taken taken = passwords.take(arguments, i);
        if (taken == PasswordOptions::Taken::Bad)
            return usage();
        if (taken == PasswordOptions::Taken::Yes)
            continue;
        if (arg == QLatin1String("--decrypt"))
            decrypt = true;
        else if (arg == QLatin1String("--sort") && i + 1 < arguments.size())
            sortText = arguments[++i];
        else if (arg.startsWith(QLatin1String("--")))
            return usage();
        else
            paths << arg;
    }
    const bool encrypt = passwords.hasNewPassword();
    if (paths.size() != 2 || (encrypt && decrypt))
        return usage();
    const bool stored = sortText == QLatin1String("stored");
    std::optional<SortSettings> keys;
    if (sortText && !stored) {
        keys = parseKeys(*sortText);
        if (!keys)
            return usage();
    }
    // An empty name names no file; in particular not the input's own.
    if (paths[0].isEmpty() || paths[1].isEmpty()) {
        QTextStream(stderr) << "IN and OUT must name files" << Qt::endl;
        return usage();
    }

    CliSession session;
    if (!session.usePasswords(passwords))
        return 1;
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
    if (stored)
        keys = db.sort();
    if (sortText && !stored && !keysNameFields(*keys, db)) {
        QTextStream(stderr) << "the sort keys " << *sortText << " name no field of the database"
                            << Qt::endl;
        return 2;
    }
    Document doc(std::move(db));
    if (keys) {
        // As the Sort command sorts; the keys are kept as the database's.
        QtLocaleService locale(LocaleOption::locale());
        FilterEngine filter(doc, locale, session);
        RecordSort::sortRecords(doc, *keys, filter, session, locale);
    }
    return session.saveCopy(doc, paths[1]) ? 0 : 1;
}
