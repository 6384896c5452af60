#include "cli/userscommand.h"

#include "cli/clisession.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/platform/qt/syncsoftwareproviders.h"
#include "interchange/hotsync/tuserdata.h"

#include <QTextStream>

int UsersCommand::run(const QStringList &arguments)
{
    if (!arguments.isEmpty()) {
        QTextStream(stderr) << "usage: quillgrid-cli users" << Qt::endl;
        return 2;
    }
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
