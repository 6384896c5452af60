#pragma once

#include "core/platform/syncsoftware.h"

/**
 * A Linux desktop's synchronisation program that keeps everything in one
 * folder, ".jpilot" in $JPILOT_HOME or else in the home folder:
 *
 * - "jpilot.rc", its preferences, one "name value" line each (the name up to
 *   the first space, the value to the end of the line); "user" is the
 *   handheld user's name and "user_id" its number;
 * - "jpilot.install", the files to install at the next synchronisation, one
 *   absolute path a line;
 * - "backup", the handheld's backup copies.
 *
 * It knows one user. The files to install are kept in a folder of ours
 * beside these, "quillgrid-install"; marking adds a file's path to
 * jpilot.install unless it is listed already.
 */
class JPilotSettings : public SyncSoftware
{
public:
    /// The program's folder, @p folder (".../.jpilot").
    explicit JPilotSettings(const QString &folder) : mFolder(folder) {}

    /// $JPILOT_HOME/.jpilot when JPILOT_HOME is set, else ~/.jpilot.
    static QString defaultFolder();

    QString title() const override { return QStringLiteral("J-Pilot"); }
    QString location() const override { return mFolder; }
    bool isInstalled() const override;
    QString desktopPath() const override { return mFolder; }
    QString lastUserName() const override;
    std::optional<std::vector<SyncUser>> ownUsers() const override;
    QString backupFolder(const SyncUser &) const override;
    QString installFolder(const SyncUser &) const override;
    Mark markInstallFolder(const SyncUser &user) override;
    bool fileInstalled(const SyncUser &user, const QString &path) override;

private:
    /// The value of preference @p name in jpilot.rc; nothing when missing.
    std::optional<QString> preference(const char *name) const;

    QString mFolder;
};
