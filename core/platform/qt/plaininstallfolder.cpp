#include "core/platform/qt/plaininstallfolder.h"

#include "core/platform/settingsstore.h"

#include <QFileInfo>

namespace {

const QString kSubkey = QStringLiteral("Handheld");
const QString kFolder = QStringLiteral("InstallFolder");
const QString kUser = QStringLiteral("InstallUser");

// The user records of the synchronisation software keep 31 characters.
constexpr qsizetype MaxUserNameChars = 31;

} // namespace

PlainInstallFolder::Setting PlainInstallFolder::load(const SettingsStore &store)
{
    return {store.value(kSubkey, kFolder).value_or(QString()),
            store.value(kSubkey, kUser).value_or(QString()).left(MaxUserNameChars)};
}

bool PlainInstallFolder::save(SettingsStore &store, const Setting &setting)
{
    store.setValue(kSubkey, kFolder, setting.folder);
    store.setValue(kSubkey, kUser, setting.userName);
    return store.sync();
}

PlainInstallFolder::PlainInstallFolder(const SettingsStore &store) : mStore(store)
{
}

PlainInstallFolder::PlainInstallFolder(std::unique_ptr<SettingsStore> store)
    : mOwned(std::move(store)), mStore(*mOwned)
{
}

PlainInstallFolder::~PlainInstallFolder() = default;

QString PlainInstallFolder::titleText()
{
    return QStringLiteral("Plain install folder");
}

std::optional<std::vector<SyncUser>> PlainInstallFolder::ownUsers() const
{
    const Setting setting = load(mStore);
    if (setting.folder.isEmpty())
        return std::vector<SyncUser>();
    return std::vector<SyncUser>{{0, setting.userName, QString()}};
}

SyncSoftware::Mark PlainInstallFolder::markInstallFolder(const SyncUser &)
{
    const QString folder = location();
    if (folder.isEmpty())
        return Mark::NotInstalled;
    return QFileInfo(folder).isDir() ? Mark::Marked : Mark::Missing;
}
