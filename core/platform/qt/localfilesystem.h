#pragma once

#include "core/platform/filesystem.h"

/// FileSystem on the real disk, through QFile.
class LocalFileSystem : public FileSystem
{
public:
    std::unique_ptr<QIODevice> openForReading(const QString &path) override;
    std::unique_ptr<QIODevice> createUnique(const QString &folder, const QString &prefix,
                                            QString *path) override;
    bool flushToDisk(QIODevice &file) override;
    bool exists(const QString &path) override;
    bool remove(const QString &path) override;
    bool rename(const QString &from, const QString &to) override;
    bool copyPermissions(const QString &from, const QString &to) override;
    QString resolveLinks(const QString &path) override;
};
