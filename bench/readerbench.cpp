// Reading the largest database the handheld keeps, 32,000 records of 50
// fields, against the least any reader must do with the same bytes: read
// them into memory and split them once at the zero bytes (and for the
// enciphered file, one pass of the cipher over them).

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "core/platform/qt/localfilesystem.h"
#include "largefiles.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QFile>
#include <QIODevice>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>

namespace {

constexpr int Records = LargeFiles::Records;
const QString kPassword = LargeFiles::password();

/// Bytes the allocator has handed out and not yet taken back.
double allocatedMiB()
{
    return double(mallinfo2().uordblks) / 1048576.0;
}

/// The process's peak, and what the open database holds beyond the
/// process as it was before the first read.
void reportMemory(benchmark::State &state, double allocatedBefore)
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MiB"] = double(usage.ru_maxrss) / 1024.0;
    state.counters["database_MiB"] = allocatedMiB() - allocatedBefore;
}

void readAndSplit(benchmark::State &state, const QString &path, bool decipher)
{
    CipherState cipher;
    cipher.SetCipherKey(kPassword);
    qint64 bytes = 0;
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        QByteArray data = f.readAll();
        if (decipher)
            cipher.DecipherBuffer(data.data(), data.size());
        const QList<QByteArray> pieces = data.split('\0');
        benchmark::DoNotOptimize(pieces.size());
        bytes += data.size();
    }
    state.SetBytesProcessed(bytes);
}

void readDatabase(benchmark::State &state, const QString &path)
{
    ScriptedMessages messages;
    Database db;
    qint64 bytes = 0;
    const double allocatedBefore = allocatedMiB();
    for (auto _ : state) {
        ScriptedPasswords passwords;
        passwords.answers = {kPassword};
        CipherState cipher;
        LocalFileSystem files;
        auto file = files.openForReading(path);
        const ReadResult result = DatabaseReader(messages, passwords, cipher).read(*file, path, db);
        if (!result.ok || db.recordCount() != Records)
            state.SkipWithError("the file did not read");
        bytes += file->size();
    }
    state.SetBytesProcessed(bytes);
    reportMemory(state, allocatedBefore);
}

void BM_Baseline_ReadAndSplit_Plain(benchmark::State &state)
{
    readAndSplit(state, LargeFiles::instance().plainPath, false);
}
void BM_Reader_Plain(benchmark::State &state)
{
    readDatabase(state, LargeFiles::instance().plainPath);
}
void BM_Baseline_ReadDecipherAndSplit_Encrypted(benchmark::State &state)
{
    readAndSplit(state, LargeFiles::instance().encryptedPath, true);
}
void BM_Reader_Encrypted(benchmark::State &state)
{
    readDatabase(state, LargeFiles::instance().encryptedPath);
}

} // namespace

BENCHMARK(BM_Baseline_ReadAndSplit_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reader_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_ReadDecipherAndSplit_Encrypted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Reader_Encrypted)->Unit(benchmark::kMillisecond);
