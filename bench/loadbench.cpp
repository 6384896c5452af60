// `quillgrid-cli load` as a user runs it, a process of its own.
//
// BM_CliLoadAgainstCopy: the load of the largest database's JSON image
// against the copy of the database file itself (`quillgrid-cli copy`),
// which writes the same bytes, both timed in turns in the same run; the
// ratio is of their medians.
//
// BM_LoadMemory/N: the peak memory (the process's largest resident set,
// read as it ends) of a load of each document, hostile ones among them,
// against 3 bytes per byte of JSON plus 64 MiB.

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "core/platform/qt/localfilesystem.h"
#include "interchange/json/jsondump.h"
#include "largefiles.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"
#include "toolrun.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <csignal>
#include <functional>

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

/// The largest database's image, as the dump writes it.
const QString &largeImage()
{
    static const QString path = [] {
        ScriptedMessages messages;
        ScriptedPasswords passwords;
        CipherState cipher;
        LocalFileSystem files;
        Database db;
        db.setWidthScale(1.0);
        const QString pdb = LargeFiles::instance().plainPath;
        auto file = files.openForReading(pdb);
        DatabaseReader(messages, passwords, cipher).read(*file, pdb, db);
        const QString json = pathOf("large.json");
        QFile out(json);
        out.open(QIODevice::WriteOnly);
        JsonDump::write(out, db);
        return json;
    }();
    return path;
}

void BM_CliLoadAgainstCopy(benchmark::State &state)
{
    const QString json = largeImage();
    const QString pdb = LargeFiles::instance().plainPath;
    const QString loaded = pathOf("loaded.pdb");
    const QString copy = pathOf("copy.pdb");
    runAgainstCopy(state, "load", {QStringLiteral("load"), json, loaded},
                   {QStringLiteral("copy"), pdb, copy});
    state.counters["json_MB"] = double(QFile(json).size()) / 1e6;
}

/// The documents whose load is measured: each written once into a file.
struct Input
{
    const char *name;
    bool throughPipe;
    std::function<void(QFile &)> write;
    QString source = {}; ///< read instead of a file written
};

void repeat(QFile &f, const QByteArray &start, const QByteArray &block, qint64 total)
{
    f.write(start);
    QByteArray chunk;
    while (chunk.size() < (1 << 20))
        chunk += block;
    for (qint64 done = start.size(); done < total; done += chunk.size())
        f.write(chunk);
}

constexpr qint64 HundredMB = 100 * 1000 * 1000;

/// @p records records of 50 texts of @p length letters, after 50 fields.
void records(QFile &f, int count, int length)
{
    QByteArray record = "[";
    for (int k = 0; k < 50; ++k)
        record += "\"" + QByteArray(length, char('a' + k % 26)) + (k < 49 ? "\"," : "\"]");
    QByteArray fields = "{\"fields\": [{}";
    for (int k = 1; k < 50; ++k)
        fields += ", {}";
    f.write(fields + "], \"records\": [");
    for (int i = 0; i < count; ++i)
        f.write(i ? "," + record : record);
    f.write("]}");
}

const std::vector<Input> &inputs()
{
    static const std::vector<Input> all{
        {"the largest database's image", false,
         [](QFile &f) {
             QFile in(largeImage());
             in.open(QIODevice::ReadOnly);
             f.write(in.readAll());
         }},
        {"the same through a pipe", true,
         [](QFile &f) {
             QFile in(largeImage());
             in.open(QIODevice::ReadOnly);
             f.write(in.readAll());
         }},
        {"65,535 records of 50 texts of 60 letters", false,
         [](QFile &f) { records(f, 65535, 60); }},
        {"65,536 records of 50 empty texts (one too many)", false,
         [](QFile &f) { records(f, 65536, 0); }},
        {"a name of 100 MB", false, [](QFile &f) { repeat(f, "{\"name\": \"", "x", HundredMB); }},
        {"a text of 100 MB in a record", false,
         [](QFile &f) { repeat(f, "{\"records\": [[\"", "x", HundredMB); }},
        {"a text of 100 MB of escapes in a record", false,
         [](QFile &f) { repeat(f, "{\"records\": [[\"", "\\u00e9", HundredMB); }},
        {"100 MB of [", false, [](QFile &f) { repeat(f, "{\"fields\": ", "[", HundredMB); }},
        {"100 MB of popup items", false,
         [](QFile &f) { repeat(f, "{\"fields\": [{\"popup\": [", "\"item\",", HundredMB); }},
        {"100 MB of numbers where texts belong", false,
         [](QFile &f) { repeat(f, "{\"records\": [[", "1,", HundredMB); }},
        {"/dev/zero", false, {}, QStringLiteral("/dev/zero")},
    };
    return all;
}

void BM_LoadMemory(benchmark::State &state)
{
    std::signal(SIGPIPE, SIG_IGN); // a load that stops reading early
    const Input &input = inputs()[size_t(state.range(0))];
    state.SetLabel(input.name);
    QString json = input.source;
    if (json.isEmpty()) {
        json = pathOf("input.json");
        QFile f(json);
        f.open(QIODevice::WriteOnly);
        input.write(f);
    }
    const double jsonMiB = input.source.isEmpty() ? double(QFile(json).size()) / 1048576.0 : 0;
    const QString source = input.throughPipe ? QStringLiteral("/dev/stdin") : json;
    ToolRun run;
    for (auto _ : state)
        run = runTool({QStringLiteral("load"), source, pathOf("out.pdb")},
                      input.throughPipe ? json : QString());
    const double bound = 3 * jsonMiB + 64;
    state.counters["json_MiB"] = jsonMiB;
    state.counters["peak_MiB"] = run.peakMiB;
    state.counters["bound_MiB"] = bound;
    state.counters["peak_per_bound"] = run.peakMiB / bound;
    state.counters["exit"] = run.status;
    state.counters["seconds"] = run.seconds;
    if (input.source.isEmpty())
        QFile::remove(json);
    QFile::remove(pathOf("out.pdb"));
}

} // namespace

BENCHMARK(BM_CliLoadAgainstCopy)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_LoadMemory)->DenseRange(0, 10)->Unit(benchmark::kMillisecond)->Iterations(1);
