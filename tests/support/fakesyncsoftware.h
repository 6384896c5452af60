#pragma once

#include "core/platform/syncsoftware.h"

#include <QStringList>

/// Synchronisation software described by its fields; marks and installed
/// files are logged ("mark 7", "installed 7 /palm/BobF/Install/A.pdb").
class FakeSyncSoftware : public SyncSoftware
{
public:
    bool installed = true;
    QString path;
    QString lastUser;
    std::optional<std::vector<SyncUser>> users;
    Mark mark = Mark::Marked;
    bool listWritable = true;
    QStringList log;

    QString title() const override { return QStringLiteral("Fake"); }
    QString location() const override { return path; }
    bool isInstalled() const override { return installed; }
    QString desktopPath() const override { return path; }
    QString lastUserName() const override { return lastUser; }
    std::optional<std::vector<SyncUser>> ownUsers() const override { return users; }
    Mark markInstallFolder(const SyncUser &user) override
    {
        log << QStringLiteral("mark %1").arg(user.id);
        return mark;
    }
    bool fileInstalled(const SyncUser &user, const QString &file) override
    {
        log << QStringLiteral("installed %1 %2").arg(user.id).arg(file);
        return listWritable;
    }
};
