#pragma once

#include "core/platform/filesystem.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringList>

/**
 * Files held in memory, with failures to order: the n-th write, flush or
 * rename fails, the disk holds only so many bytes, a folder is read only.
 * Every operation is logged.
 */
class MemoryFileSystem : public FileSystem
{
public:
    std::unique_ptr<QIODevice> openForReading(const QString &path) override
    {
        const auto it = files.constFind(resolveLinks(path));
        if (it == files.constEnd())
            return nullptr;
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(*it);
        buffer->open(QIODevice::ReadOnly);
        return buffer;
    }

    std::unique_ptr<QIODevice> createUnique(const QString &folder, const QString &prefix,
                                            QString *path) override
    {
        log << QStringLiteral("create ") + folder;
        if (readOnlyFolders.contains(folder) || !folders.contains(folder))
            return nullptr;
        const QString name =
            folder + QLatin1Char('/') + prefix + QStringLiteral(".%1.tmp").arg(++mUnique);
        files[name] = QByteArray();
        permissions[name] = 0600;
        *path = name;
        return std::make_unique<File>(*this, name);
    }

    bool flushToDisk(QIODevice &) override
    {
        log << QStringLiteral("flush");
        return ++mFlushes != failFlushNumber;
    }

    bool exists(const QString &path) override
    {
        return files.contains(path) || links.contains(path);
    }

    bool remove(const QString &path) override
    {
        log << QStringLiteral("remove ") + path;
        if (readOnlyFolders.contains(QFileInfo(path).path()))
            return false;
        return files.remove(path) + links.remove(path) > 0;
    }

    bool rename(const QString &from, const QString &to) override
    {
        log << QStringLiteral("rename ") + from + QStringLiteral(" -> ") + to;
        if (++mRenames == failRenameNumber || !files.contains(from) ||
            readOnlyFolders.contains(QFileInfo(to).path()))
            return false;
        files[to] = files.take(from);
        permissions[to] = permissions.take(from);
        links.remove(to);
        return true;
    }

    bool copyPermissions(const QString &from, const QString &to) override
    {
        permissions[to] = permissions.value(resolveLinks(from), 0644);
        return true;
    }

    QString resolveLinks(const QString &path) override
    {
        QString p = path;
        for (int i = 0; i < 8 && links.contains(p); ++i)
            p = links.value(p);
        return p;
    }

    /// Adds a file in a folder that exists.
    void addFile(const QString &path, const QByteArray &bytes, int mode = 0644)
    {
        folders.insert(QFileInfo(path).path());
        files[path] = bytes;
        permissions[path] = mode;
    }

    QHash<QString, QByteArray> files;
    QHash<QString, QString> links; ///< symbolic link -> what it names
    QHash<QString, int> permissions;
    QSet<QString> folders;
    QSet<QString> readOnlyFolders;
    int failWriteNumber = 0;  ///< the n-th write fails (0: none)
    int failFlushNumber = 0;  ///< the n-th flush fails
    int failRenameNumber = 0; ///< the n-th rename fails
    qint64 freeSpace = -1;    ///< bytes that fit on the disk (-1: no limit)
    QStringList log;

    int writes() const { return mWrites; }
    int renames() const { return mRenames; }
    int flushes() const { return mFlushes; }

private:
    class File : public QIODevice
    {
    public:
        File(MemoryFileSystem &fs, const QString &path) : mFs(fs), mPath(path)
        {
            open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        }

    protected:
        qint64 readData(char *, qint64) override { return -1; }
        qint64 writeData(const char *data, qint64 size) override
        {
            if (++mFs.mWrites == mFs.failWriteNumber)
                return -1;
            qint64 n = size;
            if (mFs.freeSpace >= 0) {
                n = qMin(n, mFs.freeSpace);
                mFs.freeSpace -= n;
            }
            if (!mFs.files.contains(mPath))
                return -1;
            mFs.files[mPath].append(data, n);
            return n == size ? size : -1;
        }

    private:
        MemoryFileSystem &mFs;
        QString mPath;
    };

    int mUnique = 0;
    int mWrites = 0;
    int mFlushes = 0;
    int mRenames = 0;
};
