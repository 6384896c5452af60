// Dumping the largest database as JSON as `quillgrid-cli dump` does: read
// the file, then write its image to a new file (not flushed to disk: the
// tool writes to its output). Its floor is the copy of the same file in the
// same run (BM_Copy_Plain in copybench.cpp, read + save).
//
// Memory: one dump before the timed ones samples the allocator's bytes in
// use after the read and at every chunk handed to the file; the highest
// sample over the bytes in use before is set against the file's size.

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/format/databasereader.h"
#include "core/platform/qt/localfilesystem.h"
#include "interchange/json/jsondump.h"
#include "largefiles.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <malloc.h>

namespace {

QString dumpPath()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("dump.json"));
}

/// A file that notes the allocator's bytes in use each time bytes reach it.
class SampledFile : public QFile
{
public:
    SampledFile(const QString &path, bool sample) : QFile(path), mSample(sample) {}

    void sample()
    {
        if (mSample)
            mPeak = std::max(mPeak, mallinfo2().uordblks);
    }
    size_t peak() const { return mPeak; }

protected:
    qint64 writeData(const char *data, qint64 size) override
    {
        sample();
        return QFile::writeData(data, size);
    }

private:
    bool mSample;
    size_t mPeak = 0;
};

/// One dump of the file at @p path; the highest bytes in use when
/// @p sample, else 0.
size_t dumpOnce(benchmark::State &state, const QString &path, bool sample)
{
    ScriptedMessages messages;
    ScriptedPasswords passwords;
    CipherState cipher;
    LocalFileSystem files;
    Database db;
    auto file = files.openForReading(path);
    if (!DatabaseReader(messages, passwords, cipher).read(*file, path, db).ok)
        state.SkipWithError("the file did not read");
    const Document doc(std::move(db));
    SampledFile out(dumpPath(), sample);
    out.sample();
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        !JsonDump::write(out, doc.database()))
        state.SkipWithError("the dump failed");
    return out.peak();
}

void BM_Dump_Plain(benchmark::State &state)
{
    const QString path = LargeFiles::instance().plainPath;
    const size_t before = mallinfo2().uordblks;
    const double peakMiB = double(dumpOnce(state, path, true) - before) / 1048576.0;
    for (auto _ : state)
        dumpOnce(state, path, false);
    const double fileMiB = double(QFileInfo(path).size()) / 1048576.0;
    state.SetBytesProcessed(state.iterations() * QFileInfo(path).size());
    state.counters["file_MiB"] = fileMiB;
    state.counters["json_MiB"] = double(QFileInfo(dumpPath()).size()) / 1048576.0;
    state.counters["peak_MiB"] = peakMiB;
    state.counters["peak_per_file"] = peakMiB / fileMiB;
}

} // namespace

BENCHMARK(BM_Dump_Plain)->Unit(benchmark::kMillisecond);
