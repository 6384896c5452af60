// Copying the largest database the handheld keeps, 32,000 records of 50
// fields: read it and write it back as a new file, against the least any
// program must do with the same bytes: read them into memory, split them
// once at the zero bytes without allocating per piece and write them back
// as a new file flushed to disk as a save does (and for the enciphered
// file, one pass of the cipher over them).

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/files/savedatabasefile.h"
#include "core/format/databasereader.h"
#include "core/platform/qt/localfilesystem.h"
#include "fixedclock.h"
#include "largefiles.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"
#include "scriptedshell.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstring>
#include <malloc.h>

namespace {

QString copyPath()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("copy.pdb"));
}

void copyFloor(benchmark::State &state, const QString &path, bool decipher)
{
    CipherState cipher;
    cipher.SetCipherKey(LargeFiles::password());
    LocalFileSystem files;
    std::vector<qsizetype> pieces;
    for (auto _ : state) {
        QFile in(path);
        in.open(QIODevice::ReadOnly);
        QByteArray data = in.readAll();
        if (decipher)
            cipher.DecipherBuffer(data.data(), data.size());
        pieces.clear();
        const char *d = data.constData();
        for (const char *p = d, *end = d + data.size(); p < end;) {
            const void *zero = std::memchr(p, 0, size_t(end - p));
            const char *stop = zero ? static_cast<const char *>(zero) : end;
            pieces.push_back(stop - d);
            p = stop + 1;
        }
        benchmark::DoNotOptimize(pieces.data());
        QFile out(copyPath());
        out.open(QIODevice::WriteOnly);
        out.write(data);
        files.flushToDisk(out);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
}

void copyDatabase(benchmark::State &state, const QString &path)
{
    ScriptedMessages messages;
    ScriptedShell shell;
    FixedClock clock;
    LocalFileSystem files;
    double heldMiB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        Document doc;
        {
            ScriptedPasswords passwords;
            passwords.answers = {LargeFiles::password()};
            CipherState cipher;
            Database db;
            auto file = files.openForReading(path);
            if (!DatabaseReader(messages, passwords, cipher).read(*file, path, db).ok)
                state.SkipWithError("the file did not read");
            state.PauseTiming();
            heldMiB = double(mallinfo2().uordblks - before) / 1048576.0;
            state.ResumeTiming();
            doc.replace(std::move(db));
        }
        CipherState cipher;
        if (!SaveDatabaseFile(doc, SaveTarget::copyTo(copyPath()),
                              {messages, files, shell, shell, clock, cipher}))
            state.SkipWithError("the copy failed");
    }
    const double fileMiB = double(QFileInfo(path).size()) / 1048576.0;
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
    state.counters["file_MiB"] = fileMiB;
    state.counters["held_MiB"] = heldMiB;
    state.counters["held_per_file"] = heldMiB / fileMiB;
}

void BM_Baseline_Copy_Plain(benchmark::State &state)
{
    copyFloor(state, LargeFiles::instance().plainPath, false);
}
void BM_Copy_Plain(benchmark::State &state)
{
    copyDatabase(state, LargeFiles::instance().plainPath);
}
void BM_Baseline_Copy_Encrypted(benchmark::State &state)
{
    copyFloor(state, LargeFiles::instance().encryptedPath, true);
}
void BM_Copy_Encrypted(benchmark::State &state)
{
    copyDatabase(state, LargeFiles::instance().encryptedPath);
}

} // namespace

BENCHMARK(BM_Baseline_Copy_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_Copy_Encrypted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Copy_Encrypted)->Unit(benchmark::kMillisecond);
