#include "cli/terminalpassword.h"

#include <cerrno>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

bool TerminalPassword::available()
{
    return ::isatty(STDIN_FILENO) == 1;
}

std::optional<QString> TerminalPassword::ask(const QString &prompt)
{
    termios saved = {};
    const bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        // No echo, but the Enter still moves to the next line.
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const QByteArray shown = prompt.toUtf8();
    std::fwrite(shown.constData(), 1, size_t(shown.size()), stderr);
    std::fflush(stderr);

    QByteArray line;
    bool ended = false;
    for (;;) {
        char c = 0;
        const ssize_t n = ::read(STDIN_FILENO, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ended = true;
            break;
        }
        if (c == '\n')
            break;
        line.append(c);
    }
    if (terminal)
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    if (line.endsWith('\r'))
        line.chop(1);
    if (ended && line.isEmpty())
        return std::nullopt;
    return QString::fromUtf8(line);
}
