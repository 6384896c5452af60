#include "rules/settings/preferences.h"

#include "core/platform/settingsstore.h"

namespace {

const QString settingsKey = QStringLiteral("Settings");
const QString fontKey = QStringLiteral("Font");
const QString formPosKey = QStringLiteral("FormPos");
const QString filesKey = QStringLiteral("Files");

QString fileName(int slot)
{
    return QStringLiteral("File%1").arg(slot);
}

int readInt(const SettingsStore &store, const QString &subkey, const QString &name, int fallback)
{
    const std::optional<QString> text = store.value(subkey, name);
    if (!text)
        return fallback;
    bool ok = false;
    const int value = text->toInt(&ok, 10);
    return ok ? value : fallback;
}

bool readBool(const SettingsStore &store, const QString &subkey, const QString &name, bool fallback)
{
    const std::optional<QString> text = store.value(subkey, name);
    if (!text)
        return fallback;
    bool ok = false;
    const int value = text->toInt(&ok, 10);
    return ok ? value != 0 : fallback;
}

QString readText(const SettingsStore &store, const QString &subkey, const QString &name,
                 const QString &fallback)
{
    return store.value(subkey, name).value_or(fallback);
}

void writeInt(SettingsStore &store, const QString &subkey, const QString &name, int value)
{
    store.setValue(subkey, name, QString::number(value));
}

void writeBool(SettingsStore &store, const QString &subkey, const QString &name, bool value)
{
    store.setValue(subkey, name, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

Preferences Preferences::defaults(const NumberSeparators &system)
{
    Preferences p;
    p.usNumFormat = system == NumberSeparators::us();
    return p;
}

Preferences Preferences::load(const SettingsStore &store, const NumberSeparators &system)
{
    Preferences p = defaults(system);

    p.initialDir = readBool(store, settingsKey, QStringLiteral("InitialDir"), p.initialDir);
    p.initialDirPath =
        readText(store, settingsKey, QStringLiteral("InitialDirPath"), p.initialDirPath);
    p.saveAtInstall =
        readBool(store, settingsKey, QStringLiteral("SaveAtInstall"), p.saveAtInstall);
    p.expertMode = readBool(store, settingsKey, QStringLiteral("ExpertMode"), p.expertMode);
    p.recoverySeconds =
        qMax(0, readInt(store, settingsKey, QStringLiteral("RecoverySeconds"), p.recoverySeconds));
    p.autoRightJust =
        readBool(store, settingsKey, QStringLiteral("AutoRightJust"), p.autoRightJust);
    p.usNumFormat = readBool(store, settingsKey, QStringLiteral("USNumFormat"), p.usNumFormat);
    p.handheldSoftware =
        readBool(store, settingsKey, QStringLiteral("HandheldSoftware"), p.handheldSoftware);

    p.fontName = readText(store, fontKey, QStringLiteral("Name"), p.fontName);
    p.fontSize = readInt(store, fontKey, QStringLiteral("Size"), p.fontSize);
    // The character set is a byte; larger stored numbers keep their low 8 bits.
    p.fontCharSet = readInt(store, fontKey, QStringLiteral("CharSet"), p.fontCharSet) & 0xFF;
    p.fontStyle = readInt(store, fontKey, QStringLiteral("Style"), p.fontStyle);

    p.formLeft = readInt(store, formPosKey, QStringLiteral("Left"), p.formLeft);
    p.formTop = readInt(store, formPosKey, QStringLiteral("Top"), p.formTop);
    p.formWidth = readInt(store, formPosKey, QStringLiteral("Width"), p.formWidth);
    p.formHeight = readInt(store, formPosKey, QStringLiteral("Height"), p.formHeight);

    for (int slot = 1; slot <= int(p.recentFiles.size()); ++slot)
        p.recentFiles[slot - 1] = readText(store, filesKey, fileName(slot), QString());

    return p;
}

void Preferences::save(SettingsStore &store) const
{
    writeBool(store, settingsKey, QStringLiteral("InitialDir"), initialDir);
    store.setValue(settingsKey, QStringLiteral("InitialDirPath"), initialDirPath);
    writeBool(store, settingsKey, QStringLiteral("SaveAtInstall"), saveAtInstall);
    writeBool(store, settingsKey, QStringLiteral("ExpertMode"), expertMode);
    writeBool(store, settingsKey, QStringLiteral("USNumFormat"), usNumFormat);
    writeBool(store, settingsKey, QStringLiteral("AutoRightJust"), autoRightJust);
    writeBool(store, settingsKey, QStringLiteral("HandheldSoftware"), handheldSoftware);
    writeInt(store, settingsKey, QStringLiteral("RecoverySeconds"), recoverySeconds);

    store.setValue(fontKey, QStringLiteral("Name"), fontName);
    writeInt(store, fontKey, QStringLiteral("Size"), fontSize);
    writeInt(store, fontKey, QStringLiteral("CharSet"), fontCharSet & 0xFF);
    writeInt(store, fontKey, QStringLiteral("Style"), fontStyle);

    writeInt(store, formPosKey, QStringLiteral("Left"), formLeft);
    writeInt(store, formPosKey, QStringLiteral("Top"), formTop);
    writeInt(store, formPosKey, QStringLiteral("Width"), formWidth);
    writeInt(store, formPosKey, QStringLiteral("Height"), formHeight);

    for (int slot = 1; slot <= int(recentFiles.size()); ++slot)
        store.setValue(filesKey, fileName(slot), recentFiles[slot - 1]);
}

NumberSeparators Preferences::separatorsInForce(const NumberSeparators &system) const
{
    return usNumFormat ? NumberSeparators::us() : system;
}
