#include "cli/copycommand.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "cli/localeoption.h"
#include "cli/passwordoptions.h"
#include "cli/sharedoptions.h"
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

const CommandSyntax &CopyCommand::syntax()
{
    static const CommandSyntax syntax{
        "copy",
        QStringLiteral("IN OUT [--password PW | --password-file PWFILE] [--encrypt NEWPW | "
                       "--encrypt-file NEWPWFILE | --decrypt] [--sort KEYS]"),
        QStringLiteral("Writes the database IN to OUT (no backup is made), with a new password "
                       "or none, its records sorted or not. The handheld's limits are reported "
                       "on standard error and the copy goes on."),
        {QStringLiteral("IN"), QStringLiteral("OUT")},
        {QCommandLineOption(QStringLiteral("decrypt"),
                            QStringLiteral("remove the password: the copy is marked \"No "
                                           "security\"")),
         QCommandLineOption(QStringLiteral("sort"),
                            QStringLiteral("sort the records first, as the Sort command does, "
                                           "and keep KEYS as the database's sort keys: one to "
                                           "three field numbers (from 1) separated by commas, a "
                                           "minus for a descending key (-3,1), or stored for "
                                           "the file's own keys"),
                            QStringLiteral("KEYS"))},
        SharedOptions::Passwords | SharedOptions::NewPasswords,
        run};
    return syntax;
}

int CopyCommand::run(CommandLine &line)
{
    const QStringList &paths = line.positionals();
    PasswordOptions &passwords = line.passwords();
    const bool decrypt = line.isSet(QStringLiteral("decrypt"));
    const std::optional<QString> sortText = line.value(QStringLiteral("sort"));
    const bool encrypt = passwords.hasNewPassword();
    if (encrypt && decrypt)
        return line.usageError(QStringLiteral("--decrypt and a new password exclude each other"));
    const bool stored = sortText == QLatin1String("stored");
    std::optional<SortSettings> keys;
    if (sortText && !stored) {
        keys = parseKeys(*sortText);
        if (!keys)
            return line.usageError(QStringLiteral("no sort keys: ") + *sortText);
    }
    // An empty name names no file; in particular not the input's own.
    if (paths[0].isEmpty() || paths[1].isEmpty())
        return line.usageError(QStringLiteral("IN and OUT must name files"));

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
