#pragma once

#include <QString>

#include <functional>

/**
 * Tells when the system says a file changed, was removed or was renamed
 * away. Watchers miss some changes (a file system without notices, a
 * network folder), so a notice is only a reason to look at the file.
 */
class FileWatcher
{
public:
    virtual ~FileWatcher() = default;
    /// Watches @p path from now on, in place of the file watched before;
    /// an empty path watches nothing.
    virtual void watch(const QString &path) = 0;
    /// Called, on the thread that made the watcher, after each notice.
    virtual void setNoticeHandler(std::function<void()> handler) = 0;
};
