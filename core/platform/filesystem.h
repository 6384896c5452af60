#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <memory>

class QIODevice;

/// What tells one version of a file from another: whether it is there,
/// which file it is, its size and when it was last modified. A file
/// replaced by another under its name (a safe save) is another file.
struct FileStamp
{
    bool exists = false;
    quint64 identity = 0; ///< the device and inode, or what the system has for them
    qint64 size = -1;
    QDateTime modified; ///< to the millisecond, in UTC

    bool operator==(const FileStamp &) const = default;
};

/// What a path names, after following symbolic links.
struct FileStatus
{
    bool exists = false;   ///< something of that name is there
    bool regular = false;  ///< it is a regular file (not a folder, FIFO or device)
    bool writable = false; ///< a regular file that is not write-protected
    bool folder = false;   ///< it is a folder
    /// Why something that is there cannot be written, as the system says
    /// ("Read-only file system"); empty when the file is write-protected
    /// itself or nothing is known.
    QString readOnlyReason;
    quint64 identity = 0; ///< as FileStamp
    qint64 size = -1;     ///< of a regular file
    QDateTime modified;   ///< as FileStamp

    FileStamp stamp() const { return {exists, identity, size, modified}; }
};

/**
 * The file operations the engine needs, behind an interface so that tests
 * can inject failures. LocalFileSystem is the real one. Every call reports
 * failure through its result, with the reason in lastError(), and never
 * throws.
 */
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    /// Opens @p path for reading. Returns an open device, or null when the
    /// file cannot be opened. The caller owns the device.
    virtual std::unique_ptr<QIODevice> openForReading(const QString &path) = 0;

    /// Creates a new empty file for writing under a short hidden name of its
    /// own in @p folder, readable and writable by its owner alone. Returns
    /// the open device and puts its path in @p path, or null when no file
    /// can be created there. Until the file is renamed or removed, an
    /// interruption of the process removes it; while the device is open,
    /// no other save takes the file for an orphan. Hidden files that saves
    /// killed on the way left in @p folder are removed first.
    virtual std::unique_ptr<QIODevice> createTemporary(const QString &folder, QString *path) = 0;
    /// Gives the open @p file the permissions of @p target and, where the
    /// process may, its owner and group; with no @p target, the
    /// permissions a new file gets.
    virtual bool matchPermissions(QIODevice &file, const QString &target) = 0;
    /// Writes everything @p file holds through to the disk.
    virtual bool flushToDisk(QIODevice &file) = 0;

    virtual FileStatus status(const QString &path) = 0;
    virtual bool remove(const QString &path) = 0;
    /// Renames @p from to @p to in one step, replacing a file named @p to.
    virtual bool rename(const QString &from, const QString &to) = 0;
    /// Writes the names in @p folder through to the disk, so that renames
    /// in it survive a power cut.
    virtual bool flushFolder(const QString &folder) = 0;
    /// The file that @p path names after following symbolic links; @p path
    /// itself when it is no link (or names nothing yet).
    virtual QString resolveLinks(const QString &path) = 0;

    /// When the file at @p path was last modified, as the wall-clock time it
    /// names (in a UTC QDateTime, as database dates are kept); invalid when
    /// the system does not say.
    virtual QDateTime modificationTime(const QString &path) = 0;

    /// Makes @p folder, and the folders above it that are missing, and
    /// makes it its owner's alone (rwx------), also when it was there.
    virtual bool createPrivateFolder(const QString &folder) = 0;
    /// The names of the regular files in @p folder (links not followed);
    /// empty when it cannot be read.
    virtual QStringList fileNames(const QString &folder) = 0;
    /// Opens the file at @p path, creating it for its owner alone, and
    /// takes its lock. Returns null when another process holds the lock
    /// (or the file cannot be opened). The lock lasts while the device is
    /// open and ends with the process, however it ends.
    virtual std::unique_ptr<QIODevice> takeLock(const QString &path) = 0;

    /// The system's reason for the last call that failed.
    virtual QString lastError() const = 0;
};
