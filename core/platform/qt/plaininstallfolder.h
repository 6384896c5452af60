#pragma once

#include "core/platform/syncsoftware.h"

#include <memory>

class SettingsStore;

/**
 * A folder of the user's choosing that takes databases as they are: the
 * folder an emulator takes files from, a card reader, a shared folder. It
 * knows one user, of the name the user gave (ID 0). Install copies the
 * database into the folder under its own name and leaves nothing else
 * there: no list, no mark, no folder made.
 *
 * The folder and the name are kept in the per-user settings, subkey
 * "Handheld", values "InstallFolder" and "InstallUser"; no folder means
 * none is set up. They are read whenever asked, so a new set-up counts from
 * the next reading of the users.
 */
class PlainInstallFolder : public SyncSoftware
{
public:
    /// What the settings hold.
    struct Setting
    {
        QString folder;   ///< absolute; empty: none set up
        QString userName; ///< at most 31 characters are kept

        bool operator==(const Setting &) const = default;
    };
    /// The setting in @p store.
    static Setting load(const SettingsStore &store);
    /// Stores @p setting in @p store and writes it out; false when it could
    /// not be written.
    static bool save(SettingsStore &store, const Setting &setting);

    /// Reads its setting from @p store, which outlives it.
    explicit PlainInstallFolder(const SettingsStore &store);
    /// Reads its setting from @p store, which it keeps.
    explicit PlainInstallFolder(std::unique_ptr<SettingsStore> store);
    ~PlainInstallFolder() override;

    /// "Plain install folder".
    static QString titleText();
    QString title() const override { return titleText(); }
    QString location() const override { return load(mStore).folder; }
    bool isInstalled() const override { return !location().isEmpty(); }
    QString desktopPath() const override { return location(); }
    QString lastUserName() const override { return load(mStore).userName; }
    std::optional<std::vector<SyncUser>> ownUsers() const override;
    /// None: the folder keeps no backups.
    QString backupFolder(const SyncUser &) const override { return QString(); }
    QString installFolder(const SyncUser &) const override { return location(); }
    /// Marked when the folder is there (a link to a folder counts); Missing
    /// when it is not, and then nothing is made: a card reader's folder
    /// comes back with its card.
    Mark markInstallFolder(const SyncUser &user) override;

private:
    std::unique_ptr<SettingsStore> mOwned;
    const SettingsStore &mStore;
};
