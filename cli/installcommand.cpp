#include "cli/installcommand.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "cli/passwordoptions.h"
#include "cli/sharedoptions.h"
#include "core/document/database.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/platform/qt/syncsoftwareproviders.h"
#include "interchange/hotsync/tuserdata.h"
#include "rules/shell/installflow.h"

#include <QTextStream>

namespace {

/// The user named @p wanted, else the one with that ID; -1 when none is.
int findUser(const TUserData &users, const QString &wanted)
{
    for (int i = 0; i < users.UserCount(); ++i) {
        if (users.UserName(i) == wanted)
            return i;
    }
    bool number = false;
    const uint id = wanted.toUInt(&number);
    for (int i = 0; number && i < users.UserCount(); ++i) {
        if (users.UserId(i) == id)
            return i;
    }
    return -1;
}

} // namespace

const CommandSyntax &InstallCommand::syntax()
{
    static const CommandSyntax syntax{
        "install",
        QStringLiteral("FILE [--user NAME|ID] [--password PW | --password-file PWFILE]"),
        QStringLiteral("Copies the database FILE into a handheld user's install folder and "
                       "marks it for the next synchronisation, as the editor's Install does."),
        {QStringLiteral("FILE")},
        {QCommandLineOption(QStringLiteral("user"),
                            QStringLiteral("the handheld user, by name or ID (by default the "
                                           "user who synchronised last)"),
                            QStringLiteral("NAME|ID"))},
        SharedOptions::Passwords,
        run};
    return syntax;
}

int InstallCommand::run(CommandLine &line)
{
    const QStringList &paths = line.positionals();
    const std::optional<QString> user = line.value(QStringLiteral("user"));
    PasswordOptions &passwords = line.passwords();
    if (paths[0].isEmpty())
        return line.usageError(QStringLiteral("FILE must name a file"));

    CliSession session;
    if (!session.usePasswords(passwords))
        return 1;
    LocalFileSystem files;
    TUserData users(SyncSoftwareProviders::platform(), files);
    bool reportMissing = false;
    users.Create(session, reportMissing);
    if (users.UserCount() < 1) {
        session.printError({QStringLiteral("No handheld user of the synchronisation software "
                                           "was found."),
                            QStringLiteral("A plain install folder can be set up in the editor: "
                                           "File > Set up handheld delivery...")});
        return 1;
    }
    const int index = user ? findUser(users, *user) : users.LastUserIndex();
    if (index < 0) {
        session.printError({QStringLiteral("No handheld user is named %1.").arg(*user)});
        return 1;
    }

    Database db;
    if (!session.readDatabase(paths[0], db))
        return 1;
    QString folder;
    if (!users.PrepareInstall(index, &folder, session)) {
        session.printError({QStringLiteral("The synchronisation software could not be asked to "
                                           "install the file.")});
        return 1;
    }
    const QString target = folder + QLatin1Char('/') + InstallFileName(paths[0], db.name());
    if (!TUserData::CheckInstallTarget(target, files, session))
        return 1;
    if (!session.saveCopy(std::move(db), target))
        return 1;
    if (!users.FileInstalled(index, target)) {
        session.printError(
            {QStringLiteral("The file could not be added to the list of files to install:"),
             target});
        return 1;
    }
    QTextStream(stdout) << "The Database is ready for synchronizing." << Qt::endl;
    return 0;
}
