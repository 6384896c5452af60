#include "rules/shell/deliverysetuprules.h"

#include "core/platform/filesystem.h"
#include "interchange/hotsync/tuserdata.h"

#include <QDir>

namespace {

constexpr qsizetype MaxUserNameChars = 31;

} // namespace

DeliverySetupRules::StartNotice
DeliverySetupRules::startNotice(const TUserData &users, bool reportMissing, bool desktopExpected)
{
    if (!reportMissing)
        return StartNotice::None;
    if (desktopExpected)
        return users.softwareFound() ? StartNotice::None : StartNotice::Message;
    return users.UserCount() > 0 ? StartNotice::None : StartNotice::Line;
}

QString DeliverySetupRules::installHint(int userCount)
{
    if (userCount > 0)
        return QStringLiteral("Install database for hotsync");
    return QStringLiteral("Install database for hotsync: handheld delivery is not set up yet, "
                          "so this opens its set-up");
}

int DeliverySetupRules::selectedUser(const TUserData &users,
                                     const PlainInstallFolder::Setting &setting, int otherwise)
{
    if (setting.folder.isEmpty())
        return otherwise;
    for (int i = 0; i < users.UserCount(); ++i) {
        if (users.InstallFolder(i) == setting.folder && users.UserName(i) == setting.userName)
            return i;
    }
    return otherwise;
}

DeliverySetupRules::DeliverySetupRules(const TUserData &users,
                                       const PlainInstallFolder::Setting &setting,
                                       const QString &defaultUserName)
    : folder(setting.folder),
      userName(setting.folder.isEmpty() ? defaultUserName.left(MaxUserNameChars)
                                        : setting.userName),
      mUsers(users)
{
}

QStringList DeliverySetupRules::foundLines() const
{
    QStringList lines;
    for (const TUserData::Found &found : mUsers.found()) {
        const bool plain = found.title == PlainInstallFolder::titleText();
        QString line = found.title;
        if (!found.location.isEmpty())
            line += QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(found.location));
        if (!found.installed) {
            line += plain ? QStringLiteral(": not set up") : QStringLiteral(": not found");
        } else if (found.userNames.isEmpty()) {
            line += QStringLiteral(": found, but it names no handheld user");
        } else {
            line += QStringLiteral(": %1 %2; Install puts the file ")
                        .arg(found.userNames.size() == 1 ? QStringLiteral("user")
                                                         : QStringLiteral("users"),
                             found.userNames.join(QStringLiteral(", ")));
            line += found.installFolder == found.location
                        ? QStringLiteral("there")
                        : QStringLiteral("into ") + QDir::toNativeSeparators(found.installFolder);
        }
        lines << line;
    }
    return lines;
}

DeliverySetupRules::Result DeliverySetupRules::B_OKClick(FileSystem &files) const
{
    const QString chosen = folder.trimmed();
    if (chosen.isEmpty())
        return {PlainInstallFolder::Setting(), QString()};
    if (!QDir::isAbsolutePath(chosen))
        return {std::nullopt, QStringLiteral("Please give the folder's full path.")};
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(chosen));
    if (!files.status(path).folder)
        return {std::nullopt, QStringLiteral("There is no folder %1.").arg(chosen)};
    const QString name = userName.trimmed();
    if (name.isEmpty())
        return {std::nullopt, QStringLiteral("Please give the handheld user's name.")};
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return {std::nullopt,
                    QStringLiteral("The user's name may hold no line breaks or tabs.")};
    }
    return {PlainInstallFolder::Setting{path, name.left(MaxUserNameChars)}, QString()};
}
