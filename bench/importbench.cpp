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

void BM_CliImportAgainstCopy(benchmark::State &state)
{
    const QString csv = largeText();
    const QString imported = pathOf("imported.pdb");
    const QString copy = pathOf("copy.pdb");
    runAgainstCopy(state, "import", {QStringLiteral("import"), csv, imported},
                   {QStringLiteral("copy"), imported, copy});
    state.counters["text_MB"] = double(QFile(csv).size()) / 1e6;
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
    ToolRun run;
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
