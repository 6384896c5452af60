// Reading the largest database the handheld keeps, 32,000 records of 50
// fields, against the least any reader must do with the same bytes: read
// them into memory and split them once at the zero bytes (and for the
// enciphered file, one pass of the cipher over them).

#include "core/cipherstate.h"
#include "core/database.h"
#include "core/databasereader.h"
#include "core/localfilesystem.h"
#include "pdbbuilder.h"
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

constexpr int Records = 32000;
constexpr int Fields = 50;
const QString kPassword = QStringLiteral("bench-password");

/// Texts of the kinds a real database holds: names, numbers, dates, words,
/// now and then a note of several lines or an empty cell.
QByteArray realisticText(QRandomGenerator &rng, int field)
{
    static const char *const kWords[] = {"apple",  "garden", "invoice", "Smith",   "Berlin",
                                         "paid",   "open",   "pending", "Müller",  "blue",
                                         "London", "order",  "spare",   "rosemary"};
    switch (field % 6) {
    case 0:
        return QByteArray(kWords[rng.bounded(14)]) + ' ' + kWords[rng.bounded(14)];
    case 1:
        return QByteArray::number(rng.bounded(100000));
    case 2:
        return QByteArray::number(rng.bounded(100000) / 100.0, 'f', 2);
    case 3:
        return QByteArray::number(rng.bounded(1, 29)) + '/' +
               QByteArray::number(rng.bounded(1, 13)) + "/20" +
               QByteArray::number(rng.bounded(10, 30));
    case 4:
        return rng.bounded(4) == 0 ? QByteArray() : QByteArray(rng.bounded(2) ? "1" : "0");
    default:
        if (rng.bounded(10) == 0)
            return "Call back on Monday\nabout the second delivery\nand the spare parts";
        return QByteArray(kWords[rng.bounded(14)]);
    }
}

class LargeFiles
{
public:
    LargeFiles()
    {
        PdbBuilder b = PdbBuilder::withFields(Fields);
        QRandomGenerator rng(20261208);
        b.records.reserve(Records);
        for (int r = 0; r < Records; ++r) {
            std::vector<QByteArray> texts;
            texts.reserve(Fields);
            for (int k = 0; k < Fields; ++k)
                texts.push_back(realisticText(rng, k));
            b.records.push_back(std::move(texts));
        }
        plainPath = mDir.filePath(QStringLiteral("plain.pdb"));
        write(plainPath, b.build());
        b.flags = 0x0002;
        b.password = kPassword.toLatin1();
        encryptedPath = mDir.filePath(QStringLiteral("encrypted.pdb"));
        write(encryptedPath, b.build());
    }

    static LargeFiles &instance()
    {
        static LargeFiles files;
        return files;
    }

    QString plainPath;
    QString encryptedPath;

private:
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }

    QTemporaryDir mDir;
};

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
