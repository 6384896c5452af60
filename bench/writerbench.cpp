// Writing the largest database the handheld keeps, 32,000 records of 50
// fields, against one buffered write of as many bytes (and for the
// enciphered file, one pass of the cipher over them).

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/files/savedatabasefile.h"
#include "core/platform/qt/localfilesystem.h"
#include "documentaccess.h"
#include "fixedclock.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int Records = 32000;
constexpr int Fields = 50;
const QString kPassword = QStringLiteral("bench-password");

class LargeDatabase
{
public:
    LargeDatabase()
    {
        PdbBuilder b = PdbBuilder::withFields(Fields);
        QRandomGenerator rng(8122026);
        static const char *const kWords[] = {"apple", "garden", "invoice", "Smith", "Berlin",
                                             "paid",  "open",   "pending", "blue",  "London"};
        for (int r = 0; r < Records; ++r) {
            std::vector<QByteArray> texts;
            for (int k = 0; k < Fields; ++k) {
                texts.push_back(k % 3 ? QByteArray::number(rng.bounded(100000))
                                      : QByteArray(kWords[rng.bounded(10)]) + ' ' +
                                            kWords[rng.bounded(10)]);
            }
            b.records.push_back(std::move(texts));
        }
        readFile(b.build(), db);
        db.setFilePath(dir.filePath(QStringLiteral("large.pdb")));
    }

    static LargeDatabase &instance()
    {
        static LargeDatabase large;
        return large;
    }

    QTemporaryDir dir;
    Document doc;
    Database &db = DocumentAccess::database(doc);
};

void save(benchmark::State &state, bool encrypted)
{
    Database &db = LargeDatabase::instance().db;
    db.setPassword(encrypted ? kPassword : QString());
    db.setFlags(encrypted ? 0x0002 : 0x0001);
    ScriptedMessages messages;
    ScriptedShell shell;
    FixedClock clock;
    CipherState cipher;
    LocalFileSystem files;
    qint64 bytes = 0;
    for (auto _ : state) {
        if (!SaveDatabaseFile(LargeDatabase::instance().doc, SaveTarget::ownName(),
                              {messages, files, shell, shell, clock, cipher}))
            state.SkipWithError("the save failed");
        bytes += QFileInfo(db.filePath()).size();
    }
    state.SetBytesProcessed(bytes);
    state.counters["file_MiB"] = double(QFileInfo(db.filePath()).size()) / 1048576.0;
}

/// One buffered write of a file's worth of bytes, flushed to disk as a save
/// does.
void writeOnce(benchmark::State &state, bool encipher)
{
    Database &db = LargeDatabase::instance().db;
    db.setPassword(QString());
    db.setFlags(0x0001);
    ScriptedMessages messages;
    ScriptedShell shell;
    FixedClock clock;
    CipherState cipher;
    cipher.SetCipherKey(kPassword);
    LocalFileSystem files;
    SaveDatabaseFile(LargeDatabase::instance().doc, SaveTarget::ownName(),
                     {messages, files, shell, shell, clock, cipher});
    QFile saved(db.filePath());
    saved.open(QIODevice::ReadOnly);
    const QByteArray source = saved.readAll();
    const QString path = LargeDatabase::instance().dir.filePath(QStringLiteral("plain-write.bin"));
    qint64 bytes = 0;
    for (auto _ : state) {
        QByteArray data = source;
        if (encipher)
            cipher.EncipherBuffer(data, data.size());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
        files.flushToDisk(f);
        bytes += data.size();
    }
    state.SetBytesProcessed(bytes);
}

void BM_Baseline_OneWrite_Plain(benchmark::State &state)
{
    writeOnce(state, false);
}
void BM_Writer_Save_Plain(benchmark::State &state)
{
    save(state, false);
}
void BM_Baseline_EncipherAndOneWrite_Encrypted(benchmark::State &state)
{
    writeOnce(state, true);
}
void BM_Writer_Save_Encrypted(benchmark::State &state)
{
    save(state, true);
}

} // namespace

BENCHMARK(BM_Baseline_OneWrite_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Writer_Save_Plain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Baseline_EncipherAndOneWrite_Encrypted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Writer_Save_Encrypted)->Unit(benchmark::kMillisecond);
