#include "cli/userscommand.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/platform/qt/syncsoftwareproviders.h"
#include "interchange/hotsync/tuserdata.h"

#include <QTextStream>

const CommandSyntax &UsersCommand::syntax()
{
    static const CommandSyntax syntax{
        "users",
        QString(),
        QStringLiteral("Lists the handheld users of the synchronisation software, one line "
                       "each: the user's ID, name and install folder, separated by TABs."),
        {},
        {},
        0,
        run};
    return syntax;
}

int UsersCommand::run(CommandLine &)
{
    CliSession session;
    LocalFileSystem files;
    TUserData users(SyncSoftwareProviders::platform(), files);
    bool reportMissing = false;
    users.Create(session, reportMissing);
    QTextStream out(stdout);
    for (int i = 0; i < users.UserCount(); ++i) {
        out << users.UserId(i) << '\t' << users.UserName(i) << '\t' << users.InstallFolder(i)
            << '\n';
    }
    return 0;
}
