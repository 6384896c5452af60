#pragma once

#include "core/platform/filesystem.h"

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringList>

/**
 * Files held in memory, with failures to order: the n-th call that
 * creates, writes, sets permissions, flushes or renames fails, the disk
 * holds only so many bytes, a folder is read only. Every such call is
 * logged, by its name first ("create /palm", "write", "permissions",
 * "flush", "rename A -> B", "flush folder /palm"), and so is "remove A",
 * the clean-up, which is never made to fail.
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

    std::unique_ptr<QIODevice> createTemporary(const QString &folder, QString *path) override
    {
        if (!call(QStringLiteral("create ") + folder))
            return nullptr;
        if (!folders.contains(folder) || readOnlyFolders.contains(folder)) {
            fail(folders.contains(folder) ? QStringLiteral("Permission denied")
                                          : QStringLiteral("No such file or directory"));
            return nullptr;
        }
        const QString name = folder + QStringLiteral("/.qg%1.tmp").arg(++mUnique);
        files[name] = QByteArray();
        permissions[name] = 0600;
        *path = name;
        return std::make_unique<File>(*this, name);
    }

    bool matchPermissions(QIODevice &file, const QString &target) override
    {
        if (!call(QStringLiteral("permissions")))
            return false;
        permissions[static_cast<File &>(file).path()] =
            permissions.value(resolveLinks(target), newFileMode);
        return true;
    }

    bool flushToDisk(QIODevice &) override { return call(QStringLiteral("flush")); }

    FileStatus status(const QString &path) override
    {
        const QString p = resolveLinks(path);
        FileStatus s;
        s.regular = files.contains(p);
        s.folder = folders.contains(p);
        s.exists = s.regular || s.folder || others.contains(p);
        s.writable = s.regular && (permissions.value(p) & 0222) != 0;
        s.folder = folders.contains(p);
        if (s.regular) {
            s.identity = quint64(qHash(p));
            s.size = files.value(p).size();
            s.modified = modifiedAt.value(p, modified);
        }
        return s;
    }

    bool remove(const QString &path) override
    {
        log << QStringLiteral("remove ") + path;
        if (readOnlyFolders.contains(QFileInfo(path).path()))
            return fail(QStringLiteral("Permission denied"));
        return files.remove(path) + links.remove(path) > 0 ||
               fail(QStringLiteral("No such file or directory"));
    }

    bool rename(const QString &from, const QString &to) override
    {
        if (!call(QStringLiteral("rename ") + from + QStringLiteral(" -> ") + to))
            return false;
        if (readOnlyFolders.contains(QFileInfo(to).path()))
            return fail(QStringLiteral("Permission denied"));
        if (!files.contains(from))
            return fail(QStringLiteral("No such file or directory"));
        files[to] = files.take(from);
        permissions[to] = permissions.take(from);
        links.remove(to);
        return true;
    }

    bool flushFolder(const QString &folder) override
    {
        return call(QStringLiteral("flush folder ") + folder);
    }

    QString resolveLinks(const QString &path) override
    {
        QString p = path;
        for (int i = 0; i < 8 && links.contains(p); ++i)
            p = links.value(p);
        return p;
    }

    QString lastError() const override { return mLastError; }
    QDateTime modificationTime(const QString &path) override
    {
        return files.contains(resolveLinks(path)) ? modified : QDateTime();
    }

    bool createPrivateFolder(const QString &folder) override
    {
        if (!call(QStringLiteral("create folder ") + folder))
            return false;
        folders.insert(folder);
        folderModes[folder] = 0700;
        return true;
    }

    QStringList fileNames(const QString &folder) override
    {
        QStringList names;
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            if (QFileInfo(it.key()).path() == folder)
                names << QFileInfo(it.key()).fileName();
        }
        names.sort();
        return names;
    }

    std::unique_ptr<QIODevice> takeLock(const QString &path) override
    {
        if (lockedElsewhere.contains(path) || held.contains(path)) {
            fail(QStringLiteral("Resource temporarily unavailable"));
            return nullptr;
        }
        if (!files.contains(path)) {
            files[path] = QByteArray();
            permissions[path] = 0600;
        }
        held.insert(path);
        return std::make_unique<Lock>(*this, path);
    }

    /// Adds a file in a folder that exists.
    void addFile(const QString &path, const QByteArray &bytes, int mode = 0644)
    {
        folders.insert(QFileInfo(path).path());
        files[path] = bytes;
        permissions[path] = mode;
    }

    /// The hidden files a save leaves behind.
    QStringList temporaries() const
    {
        QStringList found;
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            if (it.key().endsWith(QStringLiteral(".tmp")))
                found << it.key();
        }
        return found;
    }

    QHash<QString, QByteArray> files;
    QHash<QString, QString> links; ///< symbolic link -> what it names
    QHash<QString, int> permissions;
    QSet<QString> others; ///< names of what is no regular file: FIFOs, devices, folders
    QSet<QString> folders;
    QSet<QString> readOnlyFolders;
    QHash<QString, int> folderModes;      ///< of folders made private
    QHash<QString, QDateTime> modifiedAt; ///< files modified at another time than `modified`
    QSet<QString> held;                   ///< locks taken through takeLock()
    QSet<QString> lockedElsewhere;        ///< locks another process holds
    QDateTime modified{QDate(2024, 5, 6), QTime(7, 8, 9), Qt::UTC}; ///< of every file
    int newFileMode = 0644;
    int failCall = 0;      ///< the n-th call, removes aside, fails (0: none)
    qint64 freeSpace = -1; ///< bytes that fit on the disk (-1: no limit)
    QStringList log;
    QString failed; ///< the log entry of the call made to fail

    /// How many calls that could be made to fail were made.
    int calls() const { return mCalls; }

private:
    /// A lock, given back when it goes.
    class Lock : public QBuffer
    {
    public:
        Lock(MemoryFileSystem &fs, const QString &path) : mFs(fs), mPath(path)
        {
            open(QIODevice::ReadWrite);
        }
        ~Lock() override { mFs.held.remove(mPath); }

    private:
        MemoryFileSystem &mFs;
        QString mPath;
    };

    class File : public QIODevice
    {
    public:
        File(MemoryFileSystem &fs, const QString &path) : mFs(fs), mPath(path)
        {
            open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        }
        const QString &path() const { return mPath; }

    protected:
        qint64 readData(char *, qint64) override { return -1; }
        qint64 writeData(const char *data, qint64 size) override
        {
            if (!mFs.call(QStringLiteral("write"))) {
                setErrorString(mFs.mLastError);
                return -1;
            }
            qint64 n = size;
            if (mFs.freeSpace >= 0) {
                n = qMin(n, mFs.freeSpace);
                mFs.freeSpace -= n;
            }
            mFs.files[mPath].append(data, n);
            if (n == size)
                return size;
            setErrorString(QStringLiteral("No space left on device"));
            return -1;
        }

    private:
        MemoryFileSystem &mFs;
        QString mPath;
    };

    /// Logs a call; false when it is the one to fail.
    bool call(const QString &entry)
    {
        log << entry;
        if (++mCalls != failCall)
            return true;
        failed = entry;
        return fail(QStringLiteral("Input/output error"));
    }

    bool fail(const QString &reason)
    {
        mLastError = reason;
        return false;
    }

    int mUnique = 0;
    int mCalls = 0;
    QString mLastError;
};
