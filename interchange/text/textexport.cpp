#include "interchange/text/textexport.h"

#include "core/document/database.h"
#include "core/platform/progress.h"
#include "interchange/text/textfiletype.h"

#include <QIODevice>

#include <cstring>

namespace {

constexpr qsizetype FlushAt = 256 * 1024; // bytes gathered before a write

} // namespace

namespace TextExport {

namespace {

/// Appends @p cell as written to @p out: CRs left out, inside quotes a
/// double quote doubled.
void appendField(QString &out, const QString &cell, int fileType)
{
    bool plain = true; // no CR and no double quote
    bool tab = false;
    for (const QChar c : cell) {
        if (c == u'\r' || c == u'"')
            plain = false;
        else if (c == u'\t')
            tab = true;
    }
    bool quoted = fileType != TextFileType::Tab;
    if (!quoted && (tab || cell.startsWith(u'"')))
        quoted = true;
    if (quoted)
        out += QLatin1Char('"');
    if (plain) {
        out += cell;
    } else {
        for (const QChar c : cell) {
            if (c == u'\r')
                continue;
            if (c == u'"' && quoted)
                out += QLatin1Char('"');
            out += c;
        }
    }
    if (quoted)
        out += QLatin1Char('"');
}

/// The file's bytes, gathered in one buffer and handed to the device a
/// chunk at a time.
class Chunks
{
public:
    explicit Chunks(QIODevice &device) : mDevice(device), mBytes(2 * FlushAt, Qt::Uninitialized) {}

    /// Room for @p n more bytes, to be taken by grow().
    char *room(qsizetype n)
    {
        if (mUsed + n > mBytes.size())
            mBytes.resize(mUsed + n);
        return mBytes.data() + mUsed;
    }
    void grow(qsizetype n) { mUsed += n; }
    void append(const QByteArray &bytes)
    {
        std::memcpy(room(bytes.size()), bytes.constData(), size_t(bytes.size()));
        grow(bytes.size());
    }
    qsizetype size() const { return mUsed; }
    /// Hands the bytes gathered to the device; false when it refused them.
    bool flush()
    {
        const bool written = mDevice.write(mBytes.constData(), mUsed) == mUsed;
        mUsed = 0;
        return written;
    }

private:
    QIODevice &mDevice;
    QByteArray mBytes;
    qsizetype mUsed = 0;
};

/// Whether any of @p size bytes is @p a, @p b or @p c: eight bytes at a
/// time, a byte equal to one of them leaving a zero byte in the word xor'ed
/// with it, then the rest one by one.
bool holdsAny(const char *bytes, qsizetype size, char a, char b, char c)
{
    constexpr quint64 Ones = 0x0101010101010101ULL;
    constexpr quint64 Highs = 0x8080808080808080ULL;
    const quint64 pa = Ones * static_cast<unsigned char>(a);
    const quint64 pb = Ones * static_cast<unsigned char>(b);
    const quint64 pc = Ones * static_cast<unsigned char>(c);
    const auto zeroIn = [](quint64 v) { return (v - Ones) & ~v & Highs; };
    const auto any = [&](quint64 w) { return zeroIn(w ^ pa) | zeroIn(w ^ pb) | zeroIn(w ^ pc); };
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, bytes + i, sizeof word);
        if (any(word))
            return true;
    }
    for (; i < size; ++i) {
        if (bytes[i] == a || bytes[i] == b || bytes[i] == c)
            return true;
    }
    return false;
}

/// Appends a cell's text as the file stores it (the code page's bytes, a
/// LF for each CR LF) as appendField() writes it: the same bytes that
/// encoding its text would give.
void appendStoredField(Chunks &out, const char *bytes, qsizetype size, int fileType)
{
    const bool tabFile = fileType == TextFileType::Tab;
    bool plain = true; // no CR and no double quote
    bool tab = false;
    if (holdsAny(bytes, size, '\r', '"', tabFile ? '\t' : '"')) {
        for (qsizetype i = 0; i < size; ++i) {
            const char c = bytes[i];
            plain = plain && c != '\r' && c != '"';
            tab = tab || c == '\t';
        }
    }
    const bool quoted = !tabFile || tab || (size > 0 && bytes[0] == '"');
    // At most every byte doubled, and the quotes.
    char *const start = out.room(2 * size + 2);
    char *d = start;
    if (quoted)
        *d++ = '"';
    if (plain) {
        std::memcpy(d, bytes, size_t(size));
        d += size;
    } else {
        for (qsizetype i = 0; i < size; ++i) {
            const char c = bytes[i];
            if (c == '\r')
                continue;
            if (c == '"' && quoted)
                *d++ = '"';
            *d++ = c;
        }
    }
    if (quoted)
        *d++ = '"';
    out.grow(d - start);
}

} // namespace

QString fieldText(const QString &cell, int fileType)
{
    QString text;
    appendField(text, cell, TextFileType::normalised(fileType));
    return text;
}

Result write(QIODevice &device, const Database &db, int fileType, TextEncoding encoding,
             Progress &progress)
{
    const RecordGrid &grid = db.grid();
    fileType = TextFileType::normalised(fileType);
    const QChar separator = TextFileType::separator(fileType);
    const int fields = db.fieldCount();
    const int rows = grid.rowCount();
    // Where the file's code page is the one the grid keeps its texts in,
    // a cell kept as the file stores it goes out as its own bytes; other
    // cells are laid out as text and encoded, a line's worth at a time.
    const bool asStored = encoding == TextEncoding::Cp1252;
    Chunks pending(device);
    QString text; // laid out, not yet encoded
    const auto encodeText = [&] {
        if (!text.isEmpty()) {
            pending.append(TextCodec::encode(text, encoding));
            text.resize(0);
        }
    };
    const QByteArray mark = TextCodec::byteOrderMark(encoding);
    if (!mark.isEmpty() && device.write(mark) != mark.size())
        return Result::Failed;
    QString cell;
    const char *bytes = nullptr;
    qsizetype size = 0;
    for (int r = 0; r < rows; ++r) {
        if (r > 0 && grid.isRowHidden(r))
            continue;
        for (int k = 1; k <= fields; ++k) {
            if (asStored && grid.storedCell(k, r, &bytes, &size)) {
                encodeText();
                appendStoredField(pending, bytes, size, fileType);
            } else {
                grid.cellInto(k, r, cell);
                appendField(text, cell, fileType);
            }
            // The separators and line ends are ASCII, the same byte in
            // every encoding.
            if (k < fields) {
                if (text.isEmpty()) {
                    *pending.room(1) = char(separator.unicode());
                    pending.grow(1);
                } else {
                    text += separator;
                }
            }
        }
        if (text.isEmpty()) {
            std::memcpy(pending.room(2), "\r\n", 2);
            pending.grow(2);
        } else {
            text += QLatin1String("\r\n");
            encodeText();
        }
        if (pending.size() >= FlushAt) {
            if (!pending.flush())
                return Result::Failed;
            if (!progress.advance(int(qint64(1000) * r / rows)))
                return Result::Cancelled;
        }
    }
    if (pending.size() > 0 && !pending.flush())
        return Result::Failed;
    return progress.advance(1000) ? Result::Written : Result::Cancelled;
}

} // namespace TextExport
