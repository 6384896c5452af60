#pragma once

#include "core/filesystem.h"

/// FileSystem on the real disk, through QFile.
class LocalFileSystem : public FileSystem
{
public:
    std::unique_ptr<QIODevice> openForReading(const QString &path) override;
};
