#include "core/platform/qt/qsettingsstore.h"

#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace {

QString keyOf(const QString &subkey, const QString &name)
{
    return subkey + QLatin1Char('/') + name;
}

} // namespace

QSettingsStore::QSettingsStore()
{
#ifdef Q_OS_WIN
    mSettings = std::make_unique<QSettings>(QStringLiteral("HKEY_CURRENT_USER\\Software\\QGE"),
                                            QSettings::NativeFormat);
#else
    mSettings = std::make_unique<QSettings>(defaultIniPath(), QSettings::IniFormat);
#endif
}

QSettingsStore::QSettingsStore(const QString &iniPath)
    : mSettings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

QSettingsStore::~QSettingsStore() = default;

std::optional<QString> QSettingsStore::value(const QString &subkey, const QString &name) const
{
    const QString key = keyOf(subkey, name);
    if (!mSettings->contains(key))
        return std::nullopt;
    const QVariant stored = mSettings->value(key);
    // An INI line edited by hand to hold an unquoted comma reads as a list.
    if (stored.typeId() == QMetaType::QStringList)
        return stored.toStringList().join(QStringLiteral(", "));
    return stored.toString();
}

void QSettingsStore::setValue(const QString &subkey, const QString &name, const QString &text)
{
    mSettings->setValue(keyOf(subkey, name), text);
}

bool QSettingsStore::sync()
{
    mSettings->sync();
    return mSettings->status() == QSettings::NoError;
}

QString QSettingsStore::defaultIniPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/QGE/QGE.ini");
}
