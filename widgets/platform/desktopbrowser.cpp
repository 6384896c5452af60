#include "widgets/platform/desktopbrowser.h"

#include <QDesktopServices>
#include <QFile>
#include <QObject>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;
#endif

namespace DesktopBrowser {

namespace {

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
/**
 * Starts xdg-open on @p url from a shell that goes at once, so that
 * xdg-open belongs to no one and nothing waits for it; its exit status
 * comes back as one line on the pipe whose reading end is returned (-1
 * when nothing could be started).
 */
int startXdgOpen(const QString &xdgOpen, const QUrl &url)
{
    int status[2];
    if (::pipe2(status, O_CLOEXEC) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The status goes to descriptor 3 of the shell, which no one else uses.
    posix_spawn_file_actions_adddup2(&actions, status[1], 3);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const QByteArray program = QFile::encodeName(xdgOpen);
    const QByteArray target = url.toEncoded();
    const char *argv[] = {"/bin/sh",
                          "-c",
                          "(\"$0\" \"$1\" 3>&-; echo $? >&3) </dev/null >/dev/null 2>&1 &",
                          program.constData(),
                          target.constData(),
                          nullptr};
    pid_t shell = 0;
    const int spawned =
        posix_spawn(&shell, "/bin/sh", &actions, nullptr, const_cast<char *const *>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(status[1]);
    if (spawned != 0) {
        ::close(status[0]);
        return -1;
    }
    ::waitpid(shell, nullptr, 0); // it only starts the background part
    return status[0];
}
#endif

} // namespace

void open(const QUrl &url, QObject *context, std::function<void()> failed)
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    const int fd = xdgOpen.isEmpty() ? -1 : startXdgOpen(xdgOpen, url);
    if (fd >= 0) {
        // The notifier goes with the context; the pipe goes with it.
        auto *notifier = new QSocketNotifier(fd, QSocketNotifier::Read, context);
        QObject::connect(notifier, &QObject::destroyed, [fd] { ::close(fd); });
        QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                         [notifier, fd, failed = std::move(failed)] {
                             char line[16] = {};
                             const ssize_t n = ::read(fd, line, sizeof line - 1);
                             notifier->setEnabled(false);
                             notifier->deleteLater();
                             // Nothing read: xdg-open's shell went without a word.
                             if (n <= 0 || QByteArray(line, int(n)).trimmed() != "0")
                                 failed();
                         });
        return;
    }
#endif
    Q_UNUSED(context);
    if (!QDesktopServices::openUrl(url))
        failed();
}

} // namespace DesktopBrowser
