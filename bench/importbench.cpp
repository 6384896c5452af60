// The delimited-text import as a user runs it: `quillgrid-cli import` and
// `append` as processes of their own.
//
// BM_CliImportAgainstCopy: the import of the largest database's text (the
// 32,000 x 50 database exported as a comma file) against the copy of the
// database file that import makes (`quillgrid-cli copy`), both timed in
// turns in the same run; the ratio is of their medians.
//
// BM_ImportMemory/N: the peak memory (the process's largest resident set,
// read as it ends) of an import or append of a text of each kind, hostile
// ones among them, against 3 bytes per byte of text plus 64 MiB.

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "core/platform/progress.h"
#include "core/platform/qt/localfilesystem.h"
#include "interchange/text/textexport.h"
#include "interchange/text/textfiletype.h"
#include "largefiles.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <sys/ptrace.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QString pathOf(const char *name)
{
    return folder().filePath(QString::fromLatin1(name));
}

/// The largest database as a comma file, as Export writes it.
const QString &largeText()
{
    static const QString path = [] {
        ScriptedMessages messages;
        ScriptedPasswords passwords;
        CipherState cipher;
        LocalFileSystem files;
        Database db;
        const QString pdb = LargeFiles::instance().plainPath;
        auto file = files.openForReading(pdb);
        DatabaseReader(messages, passwords, cipher).read(*file, pdb, db);
        const QString csv = pathOf("large.CSV");
        QFile out(csv);
        out.open(QIODevice::WriteOnly);
        NoProgress progress;
        TextExport::write(out, db, TextFileType::Comma, TextEncoding::Cp1252, progress);
        return csv;
    }();
    return path;
}

struct Run
{
    int status = -1;
    double seconds = 0;    ///< wall time
    double cpuSeconds = 0; ///< user and system time
    double peakMiB = 0;    ///< the process's largest resident set
};

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

/// Runs the tool with @p arguments, standard input fed from @p input when
/// given (a pipe), its output and messages thrown away. The process is
/// traced so that it stops on its way out, when its peak is read: the
/// kernel's own figure for a finished child (ru_maxrss) also counts the
/// memory of the process it was forked from.
Run runTool(const QStringList &arguments, const QString &input = {})
{
    // QG_BENCH_CLI names another build of the tool to measure the same way.
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
    Run run;
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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_CliImportAgainstCopy(benchmark::State &state)
{
    const QString csv = largeText();
    const QString imported = pathOf("imported.pdb");
    const QString copy = pathOf("copy.pdb");
    std::vector<double> imports;
    std::vector<double> copies;
    std::vector<double> importsCpu;
    std::vector<double> copiesCpu;
    for (auto _ : state) {
        for (int round = 0; round < 11; ++round) {
            const Run import = runTool({QStringLiteral("import"), csv, imported});
            const Run copied = runTool({QStringLiteral("copy"), imported, copy});
            if (import.status != 0 || copied.status != 0)
                state.SkipWithError("the tool failed");
            imports.push_back(import.seconds * 1000);
            copies.push_back(copied.seconds * 1000);
            importsCpu.push_back(import.cpuSeconds * 1000);
            copiesCpu.push_back(copied.cpuSeconds * 1000);
        }
    }
    state.counters["text_MB"] = double(QFile(csv).size()) / 1e6;
    state.counters["import_ms"] = median(imports);
    state.counters["copy_ms"] = median(copies);
    state.counters["import_per_copy"] = median(imports) / median(copies);
    state.counters["import_cpu_ms"] = median(importsCpu);
    state.counters["copy_cpu_ms"] = median(copiesCpu);
    state.counters["cpu_per_copy"] = median(importsCpu) / median(copiesCpu);
}

/// The texts whose import is measured: each written once into a file.
struct Input
{
    const char *name;
    bool append; ///< appended to a database of 50 fields and one record
    bool throughPipe;
    std::function<void(QFile &)> write;
};

void repeat(QFile &f, const QByteArray &block, qint64 total)
{
    for (qint64 done = 0; done < total; done += block.size())
        f.write(block);
}

const std::vector<Input> &inputs()
{
    static const std::vector<Input> all{
        {"100 MB of commas", false, false,
         [](QFile &f) { repeat(f, QByteArray(1 << 20, ','), 100 * 1000 * 1000); }},
        {"a 30 MB line of xy,", false, false,
         [](QFile &f) {
             QByteArray block;
             while (block.size() < (1 << 20))
                 block += "xy,";
             repeat(f, block, 30 * 1000 * 1000);
         }},
        {"the largest database's text", false, false,
         [](QFile &f) {
             QFile in(largeText());
             in.open(QIODevice::ReadOnly);
             f.write(in.readAll());
         }},
        {"the same through a pipe, made no UTF-8 by its last byte", false, true,
         [](QFile &f) {
             QFile in(largeText());
             in.open(QIODevice::ReadOnly);
             f.write(in.readAll() + "\xE9");
         }},
        {"32,001 lines of 50 one-letter fields", false, false,
         [](QFile &f) {
             QByteArray line;
             for (int i = 0; i < 50; ++i)
                 line += i < 49 ? "a," : "a\r\n";
             repeat(f, line, qint64(line.size()) * 32001);
         }},
        {"32,001 lines of 50 one-letter fields, appended", true, false,
         [](QFile &f) {
             QByteArray line;
             for (int i = 0; i < 50; ++i)
                 line += i < 49 ? "a," : "a\r\n";
             repeat(f, line, qint64(line.size()) * 32001);
         }},
        {"32,001 lines of 1,000 commas", false, false,
         [](QFile &f) { repeat(f, QByteArray(1000, ',') + "\r\n", 1002LL * 32001); }},
        {"1,000 lines of 50 fields of 4,000 characters (200 MB)", false, false,
         [](QFile &f) {
             QByteArray line;
             for (int i = 0; i < 50; ++i)
                 line += QByteArray(4000, char('a' + i % 26)) + (i < 49 ? "," : "\r\n");
             repeat(f, line, qint64(line.size()) * 1000);
         }},
    };
    return all;
}

void BM_ImportMemory(benchmark::State &state)
{
    std::signal(SIGPIPE, SIG_IGN); // a tool that stops reading early
    const Input &input = inputs()[size_t(state.range(0))];
    state.SetLabel(input.name);
    const QString text = pathOf("input.txt");
    {
        QFile f(text);
        f.open(QIODevice::WriteOnly);
        input.write(f);
    }
    const double textMiB = double(QFile(text).size()) / 1048576.0;
    const QString base = pathOf("base.pdb");
    runTool({QStringLiteral("new"), base, QStringLiteral("--name"), QStringLiteral("Base"),
             QStringLiteral("--fields"), QStringLiteral("50"), QStringLiteral("--records"),
             QStringLiteral("1")});
    const QString source = input.throughPipe ? QStringLiteral("/dev/stdin") : text;
    QStringList arguments = input.append ? QStringList{QStringLiteral("append"), base, source}
                                         : QStringList{QStringLiteral("import"), source};
    arguments << pathOf("out.pdb");
    Run run;
    for (auto _ : state)
        run = runTool(arguments, input.throughPipe ? text : QString());
    const double bound = 3 * textMiB + 64;
    state.counters["text_MiB"] = textMiB;
    state.counters["peak_MiB"] = run.peakMiB;
    state.counters["bound_MiB"] = bound;
    state.counters["peak_per_bound"] = run.peakMiB / bound;
    state.counters["exit"] = run.status;
    state.counters["seconds"] = run.seconds;
    QFile::remove(text);
}

} // namespace

BENCHMARK(BM_CliImportAgainstCopy)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ImportMemory)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->Iterations(1);
