#include "toolrun.h"

#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

/// The largest resident set of process @p pid so far (VmHWM).
double peakResidentMiB(pid_t pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

} // namespace

ToolRun runTool(const QStringList &arguments, const QString &input)
{
    std::vector<QByteArray> args{qEnvironmentVariableIsSet("QG_BENCH_CLI")
                                     ? qgetenv("QG_BENCH_CLI")
                                     : QByteArrayLiteral(QG_CLI_PATH)};
    for (const QString &a : arguments)
        args.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeFds[2] = {-1, -1};
    if (!input.isEmpty() && ::pipe(pipeFds) != 0)
        return {};
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (pipeFds[0] >= 0) {
            ::dup2(pipeFds[0], 0);
            ::close(pipeFds[0]);
            ::close(pipeFds[1]);
        }
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    std::thread feeder;
    if (pipeFds[0] >= 0) {
        ::close(pipeFds[0]);
        feeder = std::thread([fd = pipeFds[1], input] {
            QFile in(input);
            in.open(QIODevice::ReadOnly);
            QByteArray block;
            while (!(block = in.read(1 << 20)).isEmpty()) {
                if (::write(fd, block.constData(), size_t(block.size())) < 0)
                    break;
            }
            ::close(fd);
        });
    }
    ToolRun run;
    int status = 0;
    rusage usage{};
    bool started = false;
    while (pid > 0 && wait4(pid, &status, 0, &usage) == pid) {
        if (WIFEXITED(status) || WIFSIGNALED(status)) {
            run.seconds = double(timer.nsecsElapsed()) / 1e9;
            run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                             double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        int signal = WIFSTOPPED(status) ? WSTOPSIG(status) : 0;
        if (signal == SIGTRAP && !started) {
            // Stopped at its start: to stop again on its way out.
            started = true;
            ::ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACEEXIT | PTRACE_O_EXITKILL);
            signal = 0;
        } else if (signal == SIGTRAP && (status >> 16) == PTRACE_EVENT_EXIT) {
            run.peakMiB = peakResidentMiB(pid);
            signal = 0;
        }
        ::ptrace(PTRACE_CONT, pid, nullptr, reinterpret_cast<void *>(qintptr(signal)));
    }
    if (feeder.joinable())
        feeder.join();
    return run;
}

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

void runAgainstCopy(benchmark::State &state, const char *name, const QStringList &measured,
                    const QStringList &copy)
{
    std::vector<double> runs, copies, runsCpu, copiesCpu;
    for (auto _ : state) {
        for (int round = 0; round < 11; ++round) {
            const ToolRun run = runTool(measured);
            const ToolRun copied = runTool(copy);
            if (run.status != 0 || copied.status != 0)
                state.SkipWithError("the tool failed");
            runs.push_back(run.seconds * 1000);
            copies.push_back(copied.seconds * 1000);
            runsCpu.push_back(run.cpuSeconds * 1000);
            copiesCpu.push_back(copied.cpuSeconds * 1000);
        }
    }
    const std::string n = name;
    state.counters[n + "_ms"] = median(runs);
    state.counters["copy_ms"] = median(copies);
    state.counters[n + "_per_copy"] = median(runs) / median(copies);
    state.counters[n + "_cpu_ms"] = median(runsCpu);
    state.counters["copy_cpu_ms"] = median(copiesCpu);
    state.counters["cpu_per_copy"] = median(runsCpu) / median(copiesCpu);
}
