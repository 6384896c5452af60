#pragma once

#include <QString>

#include <memory>

class QIODevice;

/**
 * The file operations the engine needs, behind an interface so that tests
 * can inject failures. LocalFileSystem is the real one. Every call reports
 * failure through its result and never throws.
 */
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    /// Opens @p path for reading. Returns an open device, or null when the
    /// file cannot be opened. The caller owns the device.
    virtual std::unique_ptr<QIODevice> openForReading(const QString &path) = 0;

    /// Creates a new empty file for writing with a name of its own in
    /// @p folder, starting with @p prefix. Returns the open device and puts
    /// its path in @p path, or null when no file can be created there.
    virtual std::unique_ptr<QIODevice> createUnique(const QString &folder, const QString &prefix,
                                                    QString *path) = 0;
    /// Writes everything @p file holds through to the disk.
    virtual bool flushToDisk(QIODevice &file) = 0;

    virtual bool exists(const QString &path) = 0;
    virtual bool remove(const QString &path) = 0;
    /// Renames @p from to @p to in one step, replacing a file named @p to.
    virtual bool rename(const QString &from, const QString &to) = 0;
    /// Gives @p to the access permissions of @p from.
    virtual bool copyPermissions(const QString &from, const QString &to) = 0;
    /// The file that @p path names after following symbolic links; @p path
    /// itself when it is no link (or names nothing yet).
    virtual QString resolveLinks(const QString &path) = 0;
};
