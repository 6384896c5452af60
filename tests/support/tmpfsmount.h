#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

/**
 * A small file system of its own (tmpfs) mounted on a fresh folder for the
 * life of the object: a full disk or a read-only one, for real. Mounting
 * needs the privilege to; where it is not given, mounted() is false and
 * why() says so, for the test to skip with.
 */
class TmpfsMount
{
public:
    explicit TmpfsMount(qint64 bytes)
    {
        const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
        if (::mount("tmpfs", path().constData(), "tmpfs", 0, options.constData()) == 0)
            mMounted = true;
        else
            mWhy = QStringLiteral("mounting a tmpfs is not permitted here (") +
                   QString::fromLocal8Bit(std::strerror(errno)) + QLatin1Char(')');
    }
    ~TmpfsMount()
    {
        if (mMounted)
            ::umount2(path().constData(), MNT_DETACH);
    }
    TmpfsMount(const TmpfsMount &) = delete;
    TmpfsMount &operator=(const TmpfsMount &) = delete;

    bool mounted() const { return mMounted; }
    QString why() const { return mWhy; }
    QString folder() const { return mDir.path(); }
    QString filePath(const QString &name) const { return mDir.filePath(name); }

    /// Makes the file system read-only; false when the system refuses.
    bool makeReadOnly()
    {
        return ::mount(nullptr, path().constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QByteArray path() const { return QFile::encodeName(mDir.path()); }

    QTemporaryDir mDir;
    bool mMounted = false;
    QString mWhy;
};
