// Import and export of delimited text: the largest database the handheld
// keeps, 32,000 records of 50 fields, as a comma file. Against the least
// any importer must do with the same bytes (read them, decode them and cut
// them at the separators and line ends into one text per cell) and the least
// any exporter must do (write that many bytes to a file).

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/format/codepage.h"
#include "core/format/databasereader.h"
#include "core/platform/progress.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/platform/userfeedback.h"
#include "interchange/text/textcommands.h"
#include "interchange/text/textexport.h"
#include "interchange/text/textfiletype.h"
#include "largefiles.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

class Quiet : public UserFeedback
{
public:
    void beep() override {}
    void setBusy(bool) override {}
};

/// The large database, and its text in a file of its own.
struct LargeText
{
    LargeText()
    {
        ScriptedMessages messages;
        ScriptedPasswords passwords;
        CipherState cipher;
        LocalFileSystem files;
        const QString pdb = LargeFiles::instance().plainPath;
        auto file = files.openForReading(pdb);
        DatabaseReader(messages, passwords, cipher).read(*file, pdb, db);
        path = dir.filePath(QStringLiteral("large.CSV"));
        QFile out(path);
        out.open(QIODevice::WriteOnly);
        NoProgress progress;
        TextExport::write(out, db, TextFileType::Comma, TextEncoding::Cp1252, progress);
        size = out.size();
    }
    static LargeText &instance()
    {
        static LargeText text;
        return text;
    }

    QTemporaryDir dir;
    Database db;
    QString path;
    qint64 size = 0;
};

void BM_ImportFloor(benchmark::State &state)
{
    const LargeText &large = LargeText::instance();
    for (auto _ : state) {
        QFile f(large.path);
        f.open(QIODevice::ReadOnly);
        const QString text = Codepage::decode(f.readAll());
        std::vector<QString> cells;
        cells.reserve(1700000);
        qsizetype begin = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == u',' || c == u'\n') {
                cells.push_back(text.sliced(begin, i - begin));
                begin = i + 1;
            }
        }
        benchmark::DoNotOptimize(cells.size());
    }
    state.SetBytesProcessed(state.iterations() * large.size);
}

void BM_Import(benchmark::State &state)
{
    const LargeText &large = LargeText::instance();
    ScriptedMessages messages;
    LocalFileSystem files;
    Quiet quiet;
    NoProgress progress;
    Document doc;
    TextCommands commands(doc, {messages, files, quiet, progress});
    for (auto _ : state) {
        Database db;
        if (!commands.importFile(large.path, TextFileType::Comma, TextEncoding::Auto, db) ||
            db.recordCount() != LargeFiles::Records)
            state.SkipWithError("the text did not import");
    }
    state.SetBytesProcessed(state.iterations() * large.size);
    state.counters["MB"] = double(large.size) / 1e6;
}

void BM_ExportFloor(benchmark::State &state)
{
    const LargeText &large = LargeText::instance();
    QFile in(large.path);
    in.open(QIODevice::ReadOnly);
    const QByteArray bytes = in.readAll();
    const QString out = large.dir.filePath(QStringLiteral("floor.CSV"));
    for (auto _ : state) {
        QFile f(out);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    state.SetBytesProcessed(state.iterations() * large.size);
}

void BM_ExportWriter(benchmark::State &state)
{
    const LargeText &large = LargeText::instance();
    const QString out = large.dir.filePath(QStringLiteral("writer.CSV"));
    NoProgress progress;
    for (auto _ : state) {
        QFile f(out);
        f.open(QIODevice::WriteOnly);
        TextExport::write(f, large.db, TextFileType::Comma, TextEncoding::Cp1252, progress);
    }
    state.SetBytesProcessed(state.iterations() * large.size);
}

/// The whole command: the text laid out, written beside the target,
/// flushed to disk and renamed over it, the old file kept as backup.
void BM_ExportCommand(benchmark::State &state)
{
    LargeText &large = LargeText::instance();
    ScriptedMessages messages;
    LocalFileSystem files;
    Quiet quiet;
    NoProgress progress;
    Document doc(large.db.copy());
    TextCommands commands(doc, {messages, files, quiet, progress});
    const QString out = large.dir.filePath(QStringLiteral("command.CSV"));
    for (auto _ : state) {
        if (!commands.exportFile(out, TextFileType::Comma, TextEncoding::Cp1252))
            state.SkipWithError("the text was not written");
    }
    state.SetBytesProcessed(state.iterations() * large.size);
}

} // namespace

BENCHMARK(BM_ImportFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportWriter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCommand)->Unit(benchmark::kMillisecond);
