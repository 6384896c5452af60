#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

/// Makes a FIFO at a path and feeds it a beginning, then a pattern for
/// ever, as a program that never stops writing would, until its reader
/// has gone.
class FifoFeeder
{
public:
    FifoFeeder(const QString &path, QByteArray pattern, QByteArray prefix = {})
        : mPattern(std::move(pattern)), mPrefix(std::move(prefix))
    {
        const QByteArray name = QFile::encodeName(path);
        ::mkfifo(name.constData(), 0600);
        mThread = std::thread([this, name] { feed(name); });
    }
    ~FifoFeeder()
    {
        mStop = true;
        mThread.join();
    }

private:
    void feed(const QByteArray &name)
    {
        int fd = -1;
        // Without a reader the FIFO cannot be opened for writing yet.
        while (fd < 0 && !mStop) {
            fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0)
                ::usleep(1000);
        }
        if (fd < 0)
            return;
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        QByteArray block;
        while (block.size() < 65536)
            block += mPattern;
        bool ok = mPrefix.isEmpty() ||
                  ::write(fd, mPrefix.constData(), size_t(mPrefix.size())) == mPrefix.size();
        while (ok && !mStop && ::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        ::close(fd);
    }

    QByteArray mPattern;
    QByteArray mPrefix;
    std::atomic<bool> mStop{false};
    std::thread mThread;
};
