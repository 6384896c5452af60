#pragma once

#include "core/platform/filewatcher.h"

/// A FileWatcher whose notices the test gives (notice()).
class ScriptedFileWatcher : public FileWatcher
{
public:
    void watch(const QString &path) override { watched = path; }
    void setNoticeHandler(std::function<void()> handler) override { mHandler = std::move(handler); }
    void notice()
    {
        if (mHandler)
            mHandler();
    }

    QString watched;

private:
    std::function<void()> mHandler;
};
