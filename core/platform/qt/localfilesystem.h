#pragma once

#include "core/platform/filesystem.h"

/// FileSystem on the real disk, through QFile and the POSIX calls.
class LocalFileSystem : public FileSystem
{
public:
    std::unique_ptr<QIODevice> openForReading(const QString &path) override;
    std::unique_ptr<QIODevice> createTemporary(const QString &folder, QString *path) override;
    bool matchPermissions(QIODevice &file, const QString &target) override;
    bool flushToDisk(QIODevice &file) override;
    FileStatus status(const QString &path) override;
    QDateTime modificationTime(const QString &path) override;
    bool remove(const QString &path) override;
    bool rename(const QString &from, const QString &to) override;
    bool flushFolder(const QString &folder) override;
    QString resolveLinks(const QString &path) override;
    bool createPrivateFolder(const QString &folder) override;
    QStringList fileNames(const QString &folder) override;
    std::unique_ptr<QIODevice> takeLock(const QString &path) override;
    QString lastError() const override { return mLastError; }

private:
    /// Keeps the system's reason for the failure in errno; returns false.
    bool failed();

    QString mLastError;
};
