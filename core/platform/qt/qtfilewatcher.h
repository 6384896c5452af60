#pragma once

#include "core/platform/filewatcher.h"

#include <QFileSystemWatcher>

/// FileWatcher through QFileSystemWatcher: the file, and its folder so
/// that a file written back under its name is noticed too.
class QtFileWatcher : public FileWatcher
{
public:
    QtFileWatcher();
    void watch(const QString &path) override;
    void setNoticeHandler(std::function<void()> handler) override;

private:
    void noticed();

    QFileSystemWatcher mWatcher;
    QString mPath;
    std::function<void()> mHandler;
};
