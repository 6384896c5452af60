#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

/// What a run given raw argument bytes gave.
struct RawRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

/// Runs @p program in @p folder with @p arguments passed as the bytes they
/// are (QProcess would encode them from text); @p input, when given, is
/// opened as standard input.
inline RawRun runRaw(const QByteArray &program, const QByteArrayList &arguments,
                     const QByteArray &folder, const QByteArray &input = "/dev/null")
{
    RawRun run;
    int out[2];
    int err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.constData(), O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, err[0]);
    posix_spawn_file_actions_addchdir_np(&actions, folder.constData());
    std::vector<char *> argv{const_cast<char *>(program.constData())};
    for (const QByteArray &argument : arguments)
        argv.push_back(const_cast<char *>(argument.constData()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, program.constData(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    // Both pipes read in turn: the outputs of these runs are small.
    const auto drain = [](int fd) {
        QByteArray bytes;
        char buffer[4096];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
            bytes.append(buffer, n);
        ::close(fd);
        return bytes;
    };
    run.out = drain(out[0]);
    run.err = drain(err[0]);
    int status = 0;
    if (spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}
