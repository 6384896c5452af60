#pragma once

#include <QString>

#include <memory>

class QIODevice;

/**
 * The file operations the engine needs, behind an interface so that tests
 * can inject failures. LocalFileSystem is the real one.
 */
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    /// Opens @p path for reading. Returns an open device, or null when the
    /// file cannot be opened. The caller owns the device.
    virtual std::unique_ptr<QIODevice> openForReading(const QString &path) = 0;
};
