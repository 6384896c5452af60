#pragma once

#include <QString>

#include <optional>

/**
 * The per-user settings: values grouped under subkeys, every value a text.
 * Preferences reads and writes only through this interface; QSettingsStore is
 * the real one.
 */
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;

    /// The text stored as @p name under @p subkey; nothing when there is none.
    virtual std::optional<QString> value(const QString &subkey, const QString &name) const = 0;
    /// Stores @p text as @p name under @p subkey, creating the subkey if missing.
    virtual void setValue(const QString &subkey, const QString &name, const QString &text) = 0;
    /// Writes pending values out; true when they were written.
    virtual bool sync() { return true; }
};
