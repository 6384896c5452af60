#include "core/platform/qt/qtfilewatcher.h"

#include <QFileInfo>

QtFileWatcher::QtFileWatcher()
{
    QObject::connect(&mWatcher, &QFileSystemWatcher::fileChanged, &mWatcher, [this] { noticed(); });
    QObject::connect(&mWatcher, &QFileSystemWatcher::directoryChanged, &mWatcher,
                     [this] { noticed(); });
}

void QtFileWatcher::watch(const QString &path)
{
    const QStringList watched = mWatcher.files() + mWatcher.directories();
    if (!watched.isEmpty())
        mWatcher.removePaths(watched);
    mPath = path;
    if (path.isEmpty())
        return;
    mWatcher.addPath(QFileInfo(path).absolutePath());
    mWatcher.addPath(path);
}

void QtFileWatcher::setNoticeHandler(std::function<void()> handler)
{
    mHandler = std::move(handler);
}

void QtFileWatcher::noticed()
{
    // A file replaced under its name (as saves replace it) is a new file,
    // which the watcher no longer follows: it is taken up again.
    if (!mPath.isEmpty() && !mWatcher.files().contains(mPath) && QFileInfo::exists(mPath))
        mWatcher.addPath(mPath);
    if (mHandler)
        mHandler();
}
