#include "interchange/text/textexport.h"

#include "core/document/database.h"
#include "core/platform/progress.h"
#include "interchange/text/textfiletype.h"

#include <QIODevice>

namespace {

constexpr qsizetype FlushAt = 256 * 1024; // characters gathered before a write

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
    QString pending;
    pending.reserve(FlushAt + 4096);
    const auto flush = [&] {
        const QByteArray bytes = TextCodec::encode(pending, encoding);
        pending.clear();
        return device.write(bytes) == bytes.size();
    };
    const QByteArray mark = TextCodec::byteOrderMark(encoding);
    if (!mark.isEmpty() && device.write(mark) != mark.size())
        return Result::Failed;
    for (int r = 0; r < rows; ++r) {
        if (r > 0 && grid.isRowHidden(r))
            continue;
        for (int k = 1; k <= fields; ++k) {
            appendField(pending, grid.cell(k, r), fileType);
            if (k < fields)
                pending += separator;
        }
        pending += QLatin1String("\r\n");
        if (pending.size() >= FlushAt) {
            if (!flush())
                return Result::Failed;
            if (!progress.advance(int(qint64(1000) * r / rows)))
                return Result::Cancelled;
        }
    }
    if (!pending.isEmpty() && !flush())
        return Result::Failed;
    return progress.advance(1000) ? Result::Written : Result::Cancelled;
}

} // namespace TextExport
