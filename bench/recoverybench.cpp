// The recovery of unsaved changes of the largest database (32,000 records
// of 50 fields): the window's thread only takes a copy of the database and
// hands it over, which is measured against the least such a copy can be
// (one reference per record: a vector of the records' byte arrays); the
// write itself, on the writer's own thread, against the save of the same
// database.

#include "core/crypto/cipherstate.h"
#include "core/document/document.h"
#include "core/files/opendatabasefile.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/recovery/recoveryfolder.h"
#include "core/recovery/recoverywriter.h"
#include "fixedclock.h"
#include "largefiles.h"
#include "rules/shell/recoveryrules.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"
#include "scriptedshell.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

/// The largest database open in a document, changed, with the recovery of
/// one run over a temporary folder.
struct RecoveryRun
{
    RecoveryRun()
    {
        OpenDatabaseFile(doc, LargeFiles::instance().plainPath,
                         {messages, passwords, files, shell, shell, shell, cipher, nullptr});
        type(1);
        rules.begin(folder.lock(id));
    }
    ~RecoveryRun()
    {
        writer.waitUntilDone();
        rules.finish();
    }

    /// A change of one cell, as typing makes it.
    void type(int n)
    {
        EditStep::Cells step;
        step.changes.push_back({1 + n % LargeFiles::Fields, 1 + n % LargeFiles::Records,
                                QStringLiteral("typed %1").arg(n)});
        doc.apply(Edit::change(QStringLiteral("typing"), std::move(step)));
    }

    QTemporaryDir dir;
    QString id = RecoveryFolder::newId();
    Document doc;
    ScriptedMessages messages;
    ScriptedPasswords passwords;
    ScriptedShell shell;
    CipherState cipher;
    FixedClock clock;
    LocalFileSystem files;
    LocalFileSystem writerFiles;
    RecoveryFolder folder{files, dir.filePath(QStringLiteral("recovery"))};
    RecoveryWriter writer{writerFiles, folder.folder(), id};
    int seconds = 60;
    RecoveryRules rules{{doc,
                         folder,
                         writer,
                         clock,
                         {messages, passwords, files, shell, shell, shell, cipher, nullptr}},
                        id,
                        seconds};
};

/// The window thread's share: the copy of the database and its record
/// handed to the writer, after a change of one cell. The write runs on the
/// writer's thread and is waited for outside the time measured.
void BM_RecoveryWindowShare(benchmark::State &state)
{
    RecoveryRun run;
    int n = 0;
    for (auto _ : state) {
        run.rules.writeDue();
        state.PauseTiming();
        run.writer.waitUntilDone();
        run.type(++n);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RecoveryWindowShare)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The floor of any copy the window could hand over: one reference per
/// record, each of its bytes shared.
void BM_RecoveryWindowShareFloor(benchmark::State &state)
{
    std::vector<QByteArray> rows(LargeFiles::Records, QByteArray(400, 'x'));
    for (auto &row : rows)
        row.detach();
    for (auto _ : state) {
        std::vector<QByteArray> copy = rows;
        benchmark::DoNotOptimize(copy.data());
        state.PauseTiming();
        copy.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RecoveryWindowShareFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The write on the writer's thread: the file laid out and put in place
/// through the safe replace, with its record.
void BM_RecoveryWrite(benchmark::State &state)
{
    RecoveryRun run;
    const QString writeId = RecoveryFolder::newId();
    for (auto _ : state) {
        QString reason;
        if (!run.folder.write(writeId, run.doc.database(), {}, reason))
            state.SkipWithError("the recovery write failed");
    }
    state.counters["file_MiB"] = double(QFile(run.folder.databasePath(writeId)).size()) / 1048576.0;
}
BENCHMARK(BM_RecoveryWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
