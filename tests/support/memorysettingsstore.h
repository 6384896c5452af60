#pragma once

#include "core/platform/settingsstore.h"

#include <QHash>
#include <QStringList>

/**
 * Settings held in memory. Every write is logged as "Subkey/Name=text", in
 * the order it was made; sync() answers syncResult.
 */
class MemorySettingsStore : public SettingsStore
{
public:
    std::optional<QString> value(const QString &subkey, const QString &name) const override
    {
        const auto it = values.constFind(key(subkey, name));
        if (it == values.constEnd())
            return std::nullopt;
        return *it;
    }

    void setValue(const QString &subkey, const QString &name, const QString &text) override
    {
        values.insert(key(subkey, name), text);
        writes << key(subkey, name) + QLatin1Char('=') + text;
    }

    bool sync() override { return syncResult; }

    /// Sets a value without logging it, as a store left by an earlier run.
    void preset(const QString &subkey, const QString &name, const QString &text)
    {
        values.insert(key(subkey, name), text);
    }

    static QString key(const QString &subkey, const QString &name)
    {
        return subkey + QLatin1Char('/') + name;
    }

    QHash<QString, QString> values;
    QStringList writes;
    bool syncResult = true;
};
