#pragma once

#include "core/filesystem.h"

#include <QBuffer>
#include <QHash>

/// Files held in memory; a path that is not there cannot be opened.
class MemoryFileSystem : public FileSystem
{
public:
    std::unique_ptr<QIODevice> openForReading(const QString &path) override
    {
        const auto it = files.constFind(path);
        if (it == files.constEnd())
            return nullptr;
        auto buffer = std::make_unique<QBuffer>();
        buffer->setData(*it);
        buffer->open(QIODevice::ReadOnly);
        return buffer;
    }

    QHash<QString, QByteArray> files;
};
