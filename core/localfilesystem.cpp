#include "core/localfilesystem.h"

#include <QFile>

std::unique_ptr<QIODevice> LocalFileSystem::openForReading(const QString &path)
{
    auto file = std::make_unique<QFile>(path);
    if (path.isEmpty() || !file->open(QIODevice::ReadOnly))
        return nullptr;
    return file;
}
