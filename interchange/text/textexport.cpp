#include "interchange/text/textexport.h"

#include "core/document/database.h"
#include "core/platform/progress.h"
#include "interchange/text/textfiletype.h"

#include <QIODevice>

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

/// Appends a cell's text as the file stores it (the code page's bytes, a
/// LF for each CR LF) as appendField() writes it: the same bytes that
/// encoding its text would give.
void appendStoredField(QByteArray &out, const char *bytes, qsizetype size, int fileType)
{
    bool plain = true; // no CR and no double quote
    bool tab = false;
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '"')
            plain = false;
        else if (c == '\t')
            tab = true;
    }
    bool quoted = fileType != TextFileType::Tab;
    if (!quoted && (tab || (size > 0 && bytes[0] == '"')))
        quoted = true;
    if (quoted)
        out += '"';
    if (plain) {
        out.append(bytes, size);
    } else {
        for (qsizetype i = 0; i < size; ++i) {
            const char c = bytes[i];
            if (c == '\r')
                continue;
            if (c == '"' && quoted)
                out += '"';
            out += c;
        }
    }
    if (quoted)
        out += '"';
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
    QByteArray pending;
    pending.reserve(FlushAt + 4096);
    QString text; // laid out, not yet encoded
    const auto encodeText = [&] {
        if (!text.isEmpty()) {
            pending += TextCodec::encode(text, encoding);
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
                if (text.isEmpty())
                    pending += char(separator.unicode());
                else
                    text += separator;
            }
        }
        if (text.isEmpty()) {
            pending += "\r\n";
        } else {
            text += QLatin1String("\r\n");
            encodeText();
        }
        if (pending.size() >= FlushAt) {
            if (device.write(pending) != pending.size())
                return Result::Failed;
            pending.resize(0);
            if (!progress.advance(int(qint64(1000) * r / rows)))
                return Result::Cancelled;
        }
    }
    if (!pending.isEmpty() && device.write(pending) != pending.size())
        return Result::Failed;
    return progress.advance(1000) ? Result::Written : Result::Cancelled;
}

} // namespace TextExport
