#pragma once

#include "core/platform/syncsoftware.h"

#include <memory>

/**
 * The handheld maker's desktop software as its own settings describe it:
 * the root "U.S. Robotics", else "Palm Computing", with the subkeys
 * "Pilot Desktop\Preferences" (LastUserName), "Pilot Desktop\Core" (Path,
 * the program folder holding users.dat and a folder per user) and
 * "Pilot Desktop\HotSync Manager", where the value "Install" followed by a
 * user's ID, set to 1, asks for that user's Install folder to be installed.
 *
 * On Windows these are the user's registry keys under Software. Elsewhere
 * the same keys and values are kept in an INI file, one section per key
 * named by its path below Software (names compare without regard to case,
 * as the registry's do), for example:
 *
 *     [Palm Computing\Pilot Desktop\Core]
 *     Path=/home/anna/Palm
 *     [Palm Computing\Pilot Desktop\Preferences]
 *     LastUserName=Anna
 *     [Palm Computing\Pilot Desktop\HotSync Manager]
 *
 * Marking writes "Install<ID>=1" into the last section, keeping every other
 * line of the file as it was.
 */
class PalmDesktopSettings : public SyncSoftware
{
public:
    /// Where the keys are kept: the registry or an INI file.
    class Keys
    {
    public:
        virtual ~Keys() = default;
        /// Whether the key @p path ("A\B") is there.
        virtual bool hasKey(const QString &path) const = 0;
        /// The text of value @p name of key @p path; nothing when missing.
        virtual std::optional<QString> value(const QString &path, const QString &name) const = 0;
        /// Sets value @p name of the existing key @p path to the number @p number.
        virtual bool setNumber(const QString &path, const QString &name, quint32 number) = 0;
    };

    /// The keys in @p keys, which are kept at @p location (an INI file's
    /// path, the registry).
    PalmDesktopSettings(std::unique_ptr<Keys> keys, const QString &location);
    ~PalmDesktopSettings() override;

    /// The settings in the INI file @p iniPath.
    static std::unique_ptr<PalmDesktopSettings> iniFile(const QString &iniPath);
#ifdef Q_OS_WIN
    /// The settings in the user's registry.
    static std::unique_ptr<PalmDesktopSettings> registry();
#endif
    /// "QGE/PalmDesktop.ini" in the user's configuration folder.
    static QString defaultIniPath();

    QString title() const override;
    QString location() const override
    {
        return mLocation;
    }
    bool isInstalled() const override;
    QString desktopPath() const override;
    QString lastUserName() const override;
    Mark markInstallFolder(const SyncUser &user) override;

private:
    /// The root key, "U.S. Robotics" or "Palm Computing"; empty when neither is there.
    QString root() const;
    std::optional<QString> text(const QString &key, const QString &name) const;

    std::unique_ptr<Keys> mKeys;
    QString mLocation;
};
