#pragma once

#include "core/platform/settingsstore.h"

#include <memory>

class QSettings;

/**
 * SettingsStore on QSettings. A subkey is a group, a name a key, and every
 * value is written as a string.
 *
 * On Windows the default store is the user's registry key Software\QGE; on
 * other platforms it is an INI file, defaultIniPath(). A store on an explicit
 * INI file can be made on any platform.
 */
class QSettingsStore : public SettingsStore
{
public:
    /// The platform's per-user store.
    QSettingsStore();
    /// An INI file at @p iniPath; its folder is created when it is written.
    explicit QSettingsStore(const QString &iniPath);
    ~QSettingsStore() override;

    QSettingsStore(const QSettingsStore &) = delete;
    QSettingsStore &operator=(const QSettingsStore &) = delete;

    std::optional<QString> value(const QString &subkey, const QString &name) const override;
    void setValue(const QString &subkey, const QString &name, const QString &text) override;
    bool sync() override;

    /// "QGE/QGE.ini" in the user's configuration folder.
    static QString defaultIniPath();

private:
    std::unique_ptr<QSettings> mSettings;
};
