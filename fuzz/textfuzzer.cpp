// Feeds arbitrary bytes to the delimited-text importer, as Import or as
// Append, read from a file and from a pipe that hands them out in pieces.
// Whatever the text, the importer must neither read nor write out of bounds
// nor allocate past 3 bytes per byte of text plus 64 MiB (the allocator's
// bytes in use, counted from before the reading to the database made); the
// file and the pipe must give the same records; what it makes must keep the
// database's limits; and a database it made, exported and imported again,
// must come back cell for cell.
//
// The first byte chooses: bits 0-1 the separator (comma, semicolon, tab),
// bits 2-3 the encoding (Auto, Windows-1252, UTF-8), bit 4 Append, bits 5-7
// the sizes of the pipe's pieces. The rest is the text.

#include "core/document/database.h"
#include "core/document/limits.h"
#include "core/platform/progress.h"
#include "interchange/text/textexport.h"
#include "interchange/text/textfiletype.h"
#include "interchange/text/textimport.h"
#include "streamdevices.h"

#include <QBuffer>

#include <sanitizer/allocator_interface.h>

#include <array>
#include <atomic>
#include <cstdlib>

namespace {

// The allocator's bytes in use, counted by hooks, and their peak.
std::atomic<qint64> gInUse{0};
std::atomic<qint64> gPeak{0};

void onMalloc(const volatile void *, size_t size)
{
    const qint64 now = gInUse += qint64(size);
    if (now > gPeak)
        gPeak = now;
}

void onFree(const volatile void *p)
{
    if (p)
        gInUse -= qint64(__sanitizer_get_allocated_size(const_cast<const void *>(p)));
}

using Table = std::vector<std::vector<QString>>;

Table cells(const Database &db)
{
    Table table;
    const RecordGrid &grid = db.grid();
    for (int r = 0; r < grid.rowCount(); ++r) {
        std::vector<QString> row;
        for (int c = 1; c < grid.columnCount(); ++c)
            row.push_back(grid.cell(c, r));
        table.push_back(std::move(row));
    }
    return table;
}

/// Imports @p device into @p db; false when the text was refused.
bool import(QIODevice &device, int fileType, TextEncoding encoding, Database &db)
{
    NoProgress progress;
    TextImport::ImportText text = TextImport::readForImport(device, fileType, encoding, progress);
    if (text.read.status != DelimitedText::Status::Read)
        return false;
    TextImport::build(std::move(text), {QStringLiteral("/fuzz/in.csv"), {}, 1.0}, db);
    return true;
}

/// The database Append adds to: three fields, one record.
Database appendTarget()
{
    Database db;
    db.grid().resize(4, 2);
    db.grid().setCell(1, 0, QStringLiteral("A"));
    db.grid().setCell(1, 1, QStringLiteral("x"));
    return db;
}

/// The records Append makes of @p device.
bool append(QIODevice &device, int fileType, TextEncoding encoding, Table &rows)
{
    NoProgress progress;
    Database db = appendTarget();
    TextImport::AppendText text =
        TextImport::readForAppend(device, fileType, encoding, db, progress);
    if (text.read.status != DelimitedText::Status::Read)
        return false;
    if (text.records.size() > size_t(Limits::MaxRecords - db.grid().rowCount()))
        std::abort();
    db.grid().insertRows(2, std::move(text.records));
    rows = cells(db);
    return true;
}

/// Whether every cell keeps the limits: no NUL, at most 4000 characters
/// that the file stores (it leaves out the control characters but TAB and
/// LF, so a CR LF is one).
bool withinLimits(const Table &table)
{
    for (const auto &row : table) {
        if (row.size() > size_t(Limits::MaxFields))
            return false;
        for (const QString &cell : row) {
            qsizetype stored = 0;
            for (const char32_t c : QStringView(cell).toUcs4())
                stored += c >= 32 || c == '\t' || c == '\n';
            if (cell.contains(QChar(0)) || stored > Limits::MaxCellText)
                return false;
        }
    }
    return table.size() <= size_t(Limits::MaxRecords + 1);
}

/// Whether export writes @p table so that it reads back the same: no CR
/// without a LF after it, no Ctrl-Z.
bool exportable(const Table &table)
{
    for (const auto &row : table) {
        for (const QString &cell : row) {
            if (cell.contains(QChar(26)))
                return false;
            for (qsizetype i = 0; i < cell.size(); ++i) {
                if (cell[i] == u'\r' && (i + 1 == cell.size() || cell[i + 1] != u'\n'))
                    return false;
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    const int fileType = 1 + data[0] % 3;
    const TextEncoding encoding =
        std::array{TextEncoding::Auto, TextEncoding::Cp1252, TextEncoding::Utf8,
                   TextEncoding::Auto}[(data[0] >> 2) & 3];
    const bool appending = data[0] & 0x10;
    const qint64 piece = qint64(1) << (3 * (data[0] >> 5));
    QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    if (appending) {
        Table fromFile;
        Table fromPipe;
        QBuffer file(&bytes);
        file.open(QIODevice::ReadOnly);
        PieceDevice pipe(bytes, {piece, 1, 2 * piece + 1});
        const bool read = append(file, fileType, encoding, fromFile);
        if (read != append(pipe, fileType, encoding, fromPipe) || fromFile != fromPipe ||
            !withinLimits(fromFile))
            std::abort();
        return 0;
    }

    Database db;
    {
        QBuffer file(&bytes);
        file.open(QIODevice::ReadOnly);
        const qint64 before = gInUse;
        gPeak = before;
        const bool read = import(file, fileType, encoding, db);
        if (gPeak - before > 3 * qint64(size) + 64 * 1024 * 1024)
            std::abort(); // past the memory the import may take
        if (!read)
            return 0;
    }
    const Table table = cells(db);
    if (!withinLimits(table))
        std::abort();
    Database fromPipe;
    PieceDevice pipe(bytes, {piece, 1, 2 * piece + 1});
    if (!import(pipe, fileType, encoding, fromPipe) || cells(fromPipe) != table)
        std::abort();

    if (exportable(table)) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        NoProgress progress;
        if (TextExport::write(out, db, TextFileType::Comma, TextEncoding::Utf8, progress) !=
            TextExport::Result::Written)
            std::abort();
        QByteArray exported = out.data();
        QBuffer again(&exported);
        again.open(QIODevice::ReadOnly);
        Database back;
        if (!import(again, TextFileType::Comma, TextEncoding::Auto, back) || cells(back) != table)
            std::abort();
    }
    return 0;
}
