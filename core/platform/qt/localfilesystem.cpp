#include "core/platform/qt/localfilesystem.h"

#include "core/platform/qt/interruptcleanup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// The permissions a new file gets: all read and write bits less the mask.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

int handleOf(QIODevice &device)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    return file ? file->handle() : -1;
}

/// Whether @p name is that of a hidden file of ours: ".qg", eight
/// lower-case hex digits, ".tmp".
bool isTemporaryName(const char *name)
{
    if (std::strncmp(name, ".qg", 3) != 0 || std::strlen(name) != 15 ||
        std::strcmp(name + 11, ".tmp") != 0)
        return false;
    for (int i = 3; i < 11; ++i) {
        const char c = name[i];
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// Locks the file just created at @p path for as long as @p fd is open, so
/// that no other save takes it for an orphan. False when, before the lock
/// was on, another save did (the name is gone or names another file). A
/// file system without locks is passed over.
bool lockCreated(int fd, const QString &path)
{
    if (::flock(fd, LOCK_EX) != 0)
        return true;
    struct stat held = {};
    struct stat named = {};
    return ::fstat(fd, &held) == 0 && ::lstat(QFile::encodeName(path).constData(), &named) == 0 &&
           sameFile(held, named);
}

/**
 * Removes the hidden files of ours in @p folder that a save killed before
 * it could remove them left behind. A save holds a lock on its file for as
 * long as it needs it, so a file whose lock can be had is nobody's; one
 * still locked is a live save's and stays. The name is removed only while
 * it still names the file locked, and a symbolic link, a FIFO or a device
 * of that name is never opened for more than a look.
 */
void removeOrphans(const QString &folder)
{
    const QByteArray native = QFile::encodeName(folder);
    DIR *dir = ::opendir(native.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        if (!isTemporaryName(entry->d_name))
            continue;
        const QByteArray path = native + '/' + entry->d_name;
        const int fd =
            ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            continue;
        struct stat held = {};
        struct stat named = {};
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.constData(), &named) == 0 &&
            sameFile(held, named))
            ::unlink(path.constData());
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

bool LocalFileSystem::failed()
{
    mLastError = qt_error_string(errno);
    return false;
}

std::unique_ptr<QIODevice> LocalFileSystem::openForReading(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (path.isEmpty() || QFileInfo(path).isDir() || !file->open(QIODevice::ReadOnly)) {
        mLastError = file->errorString();
        return nullptr;
    }
    return file;
}

std::unique_ptr<QIODevice> LocalFileSystem::createTemporary(const QString &folder, QString *path)
{
    removeOrphans(folder);
    // A short name, so that a target whose name is as long as the file
    // system allows still has room beside it.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name =
            QStringLiteral(".qg%1.tmp")
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        const QString candidate = QDir(folder).filePath(name);
        // Held before it exists, so that no moment leaves it behind.
        InterruptCleanup::add(candidate);
        const int fd = ::open(QFile::encodeName(candidate).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 && !lockCreated(fd, candidate)) {
            // Another save took the name for an orphan before the lock
            // was on: a new name.
            ::close(fd);
            InterruptCleanup::remove(candidate);
            continue;
        }
        if (fd >= 0) {
            auto file = std::make_unique<QFile>(candidate);
            file->open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
            *path = candidate;
            return file;
        }
        const int error = errno;
        InterruptCleanup::remove(candidate);
        if (error != EEXIST) {
            mLastError = qt_error_string(error);
            return nullptr;
        }
    }
    mLastError = qt_error_string(EEXIST);
    return nullptr;
}

bool LocalFileSystem::matchPermissions(QIODevice &file, const QString &target)
{
    const int fd = handleOf(file);
    struct stat own = {};
    if (fd < 0 || ::fstat(fd, &own) != 0)
        return failed();
    struct stat model = {};
    mode_t mode = 0;
    if (::stat(QFile::encodeName(target).constData(), &model) == 0) {
        // Only a privileged process may give a file away; others keep
        // their own owner, which is no failure.
        if ((model.st_uid != own.st_uid || model.st_gid != own.st_gid) &&
            ::fchown(fd, model.st_uid, model.st_gid) != 0 && errno != EPERM && errno != EINVAL)
            return failed();
        mode = model.st_mode & 07777;
    } else if (errno == ENOENT) {
        mode = newFileMode();
    } else {
        return failed();
    }
    // After the owner: changing it clears the set-id bits.
    return ::fchmod(fd, mode) == 0 || failed();
}

bool LocalFileSystem::flushToDisk(QIODevice &device)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (!file)
        return false;
    if (!file->flush()) {
        mLastError = file->errorString();
        return false;
    }
    return ::fsync(file->handle()) == 0 || failed();
}

QDateTime LocalFileSystem::modificationTime(const QString &path)
{
    const QDateTime local = QFileInfo(path).lastModified();
    if (!local.isValid())
        return QDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

FileStatus LocalFileSystem::status(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st = {};
    if (path.isEmpty() || ::stat(native.constData(), &st) != 0)
        return {};
    FileStatus status;
    status.exists = true;
    status.regular = S_ISREG(st.st_mode);
    // Write-protected: nobody has a write bit (a privileged process may
    // write it all the same, but its owner meant it to stay), or this
    // process may not write it.
    status.folder = S_ISDIR(st.st_mode);
    status.identity = (quint64(st.st_dev) << 40) ^ quint64(st.st_ino);
    if (status.regular) {
        status.size = qint64(st.st_size);
        const qint64 ms = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        status.modified = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    }
    if (!status.regular || (st.st_mode & 0222) == 0)
        return status;
    status.writable = ::faccessat(AT_FDCWD, native.constData(), W_OK, AT_EACCESS) == 0;
    if (!status.writable)
        status.readOnlyReason = qt_error_string(errno); // a read-only file system, say
    return status;
}

bool LocalFileSystem::remove(const QString &path)
{
    InterruptCleanup::remove(path);
    return ::unlink(QFile::encodeName(path).constData()) == 0 || failed();
}

bool LocalFileSystem::rename(const QString &from, const QString &to)
{
    // QFile::rename refuses to replace; the system call does it in one step.
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return failed();
    InterruptCleanup::remove(from);
    return true;
}

bool LocalFileSystem::flushFolder(const QString &folder)
{
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return failed();
    // A file system that cannot flush a folder says EINVAL: nothing to do.
    const bool flushed = ::fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    errno = error;
    return flushed || failed();
}

QString LocalFileSystem::resolveLinks(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString target = info.canonicalFilePath();
    // A link to a file not there yet: follow it by hand.
    return target.isEmpty() ? info.symLinkTarget() : target;
}

bool LocalFileSystem::createPrivateFolder(const QString &folder)
{
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        mLastError = qt_error_string(errno ? errno : EACCES);
        return false;
    }
    const QByteArray native = QFile::encodeName(folder);
    struct stat st = {};
    if (::lstat(native.constData(), &st) != 0)
        return failed();
    if (!S_ISDIR(st.st_mode)) {
        mLastError = qt_error_string(ENOTDIR);
        return false;
    }
    return (st.st_mode & 07777) == 0700 || ::chmod(native.constData(), 0700) == 0 || failed();
}

QStringList LocalFileSystem::fileNames(const QString &folder)
{
    QStringList names;
    const QByteArray native = QFile::encodeName(folder);
    DIR *dir = ::opendir(native.constData());
    if (!dir) {
        failed();
        return names;
    }
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st = {};
        const QByteArray path = native + '/' + entry->d_name;
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode))
            names << QFile::decodeName(entry->d_name);
    }
    ::closedir(dir);
    return names;
}

std::unique_ptr<QIODevice> LocalFileSystem::takeLock(const QString &path)
{
    // Never through a link, a FIFO or a device of that name.
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) {
        failed();
        return nullptr;
    }
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        failed();
        ::close(fd);
        return nullptr;
    }
    auto file = std::make_unique<QFile>(path);
    file->open(fd, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle);
    return file;
}
