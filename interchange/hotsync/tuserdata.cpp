#include "interchange/hotsync/tuserdata.h"

#include "core/platform/filesystem.h"
#include "core/platform/messageservice.h"
#include "interchange/hotsync/usersdat.h"

#include <QIODevice>

namespace {

// The list keeps its count in one byte.
constexpr int MaxUsers = 255;

} // namespace

TUserData::TUserData(std::vector<std::unique_ptr<SyncSoftware>> software, FileSystem &files)
    : mSoftware(std::move(software)), mFiles(files)
{
}

TUserData::~TUserData() = default;

Message TUserData::missingSoftwareMessage()
{
    return {QStringLiteral("Quillgrid"),
            MessageIcon::Error,
            {QStringLiteral("The Desktop software for the Palm Computing(R) Platform is not "
                            "correctly installed."),
             QStringLiteral("Nevertheless you can use Quillgrid5 without problems.")},
            MessageButton::Ok | MessageButton::DontShowAgain};
}

void TUserData::Create(MessageService &messages, bool &reportMissing)
{
    Create();
    if (!mSoftwareFound && reportMissing &&
        messages.show(missingSoftwareMessage()) == MessageButton::DontShowAgain)
        reportMissing = false;
}

void TUserData::Create()
{
    mUsers.clear();
    mFound.clear();
    mLastUserIndex = 0;
    mSoftwareFound = false;
    mDesktopPath.clear();
    bool lastUserKnown = false;
    for (const std::unique_ptr<SyncSoftware> &software : mSoftware) {
        Found &found = mFound.emplace_back();
        found.title = software->title();
        found.location = software->location();
        if (!software->isInstalled())
            continue;
        found.installed = true;
        const QString desktop = software->desktopPath();
        if (!mSoftwareFound)
            mDesktopPath = desktop;
        mSoftwareFound = true;
        UsersDat::UserList list;
        if (std::optional<std::vector<SyncUser>> own = software->ownUsers()) {
            list.users = std::move(*own);
            const QString last = software->lastUserName();
            for (size_t i = 0; i < list.users.size(); ++i) {
                if (list.users[i].name == last)
                    list.lastUserIndex = int(i);
            }
        } else if (!desktop.isEmpty()) {
            if (const std::unique_ptr<QIODevice> file =
                    mFiles.openForReading(desktop + QStringLiteral("/users.dat")))
                list = UsersDat::read(file->readAll(), software->lastUserName());
        }
        // The user who synchronised last is looked for in the first
        // software that has users.
        if (!lastUserKnown && !list.users.empty()) {
            mLastUserIndex = int(mUsers.size()) + list.lastUserIndex;
            lastUserKnown = true;
        }
        if (!list.users.empty())
            found.installFolder = software->installFolder(list.users.front());
        for (SyncUser &user : list.users) {
            found.userNames << user.name;
            if (int(mUsers.size()) < MaxUsers)
                mUsers.push_back({std::move(user), software.get()});
        }
    }
}

const TUserData::Entry *TUserData::entry(int index) const
{
    if (index < 0 || index >= UserCount())
        return nullptr;
    return &mUsers[size_t(index)];
}

quint16 TUserData::UserId(int index) const
{
    const Entry *e = entry(index);
    return e ? e->user.id : 0;
}

QString TUserData::UserName(int index) const
{
    const Entry *e = entry(index);
    return e ? e->user.name : QString();
}

QString TUserData::UserFolder(int index) const
{
    const Entry *e = entry(index);
    return e ? e->user.folder : QString();
}

QString TUserData::BackupFolder(int index) const
{
    const Entry *e = entry(index);
    return e ? e->software->backupFolder(e->user) : QString();
}

QString TUserData::InstallFolder(int index) const
{
    const Entry *e = entry(index);
    return e ? e->software->installFolder(e->user) : QString();
}

bool TUserData::PrepareInstall(int index, QString *installFolder, MessageService &messages)
{
    const Entry *e = entry(index);
    if (!e)
        return false;
    *installFolder = e->software->installFolder(e->user);
    switch (e->software->markInstallFolder(e->user)) {
    case SyncSoftware::Mark::Marked:
        return true;
    case SyncSoftware::Mark::NotInstalled:
        messages.show({QStringLiteral("Quillgrid5"),
                       MessageIcon::Error,
                       {QStringLiteral("The Pilot DeskTop Software is not Correctly Installed")},
                       MessageButton::Ok});
        return false;
    case SyncSoftware::Mark::NoManager:
        break;
    case SyncSoftware::Mark::Missing:
        messages.show(Message::error(
            {QStringLiteral("The install folder of the handheld user \"%1\" is not there, so "
                            "nothing was installed:")
                 .arg(e->user.name),
             *installFolder, QStringLiteral("Is the card or the shared folder connected?")}));
        return false;
    case SyncSoftware::Mark::Outside:
        messages.show(Message::error(
            {QStringLiteral("The install folder of the handheld user \"%1\" lies outside the "
                            "folder of the synchronisation software, so nothing was installed:")
                 .arg(e->user.name),
             *installFolder, QStringLiteral("Please check the user's folder in its settings.")}));
        return false;
    }
    return false;
}

bool TUserData::CheckInstallTarget(const QString &target, FileSystem &files,
                                   MessageService &messages)
{
    if (files.resolveLinks(target) == target)
        return true;
    messages.show(Message::error(
        {QStringLiteral("The install folder holds a link of the database's name, so nothing "
                        "was installed:"),
         target, QStringLiteral("Please remove the link and install again.")}));
    return false;
}

bool TUserData::FileInstalled(int index, const QString &path)
{
    const Entry *e = entry(index);
    return e && e->software->fileInstalled(e->user, path);
}
