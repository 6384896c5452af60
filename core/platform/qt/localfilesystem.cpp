#include "core/platform/qt/localfilesystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cstdio>
#include <unistd.h>

std::unique_ptr<QIODevice> LocalFileSystem::openForReading(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (path.isEmpty() || QFileInfo(path).isDir() || !file->open(QIODevice::ReadOnly))
        return nullptr;
    return file;
}

std::unique_ptr<QIODevice> LocalFileSystem::createUnique(const QString &folder,
                                                         const QString &prefix, QString *path)
{
    // A new file, created with the permissions new files get in the folder
    // (a temporary file's would be private to its owner).
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name =
            prefix + QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16,
                                                   QLatin1Char('0'));
        const QString candidate = QDir(folder).filePath(name);
        auto file = std::make_unique<QFile>(candidate);
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            *path = candidate;
            return file;
        }
        if (file->error() != QFileDevice::OpenError || !QFileInfo::exists(candidate))
            return nullptr;
    }
    return nullptr;
}

bool LocalFileSystem::flushToDisk(QIODevice &device)
{
    auto *file = qobject_cast<QFileDevice *>(&device);
    if (!file || !file->flush())
        return false;
    return ::fsync(file->handle()) == 0;
}

bool LocalFileSystem::exists(const QString &path)
{
    return QFileInfo::exists(path) || QFileInfo(path).isSymLink();
}

bool LocalFileSystem::remove(const QString &path)
{
    return QFile::remove(path);
}

bool LocalFileSystem::rename(const QString &from, const QString &to)
{
    // QFile::rename refuses to replace; the system call does it in one step.
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
}

bool LocalFileSystem::copyPermissions(const QString &from, const QString &to)
{
    return QFile::setPermissions(to, QFile::permissions(from));
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
