#include "interchange/json/jsondump.h"

#include "core/document/database.h"
#include "core/document/databaseflags.h"
#include "core/format/databasewriter.h"

#include <QIODevice>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstring>

namespace {

template <typename Container> QJsonArray toArray(const Container &texts)
{
    QJsonArray array;
    for (const QString &text : texts)
        array.append(text);
    return array;
}

template <typename Container> QJsonArray integers(const Container &values)
{
    QJsonArray array;
    for (auto value : values)
        array.append(qint64(value));
    return array;
}

/// The bytes of the fixed part that no other value gives, where they are
/// not zero: runs of them, each by its offset and its bytes in hex, a run
/// going on over fewer than eight zero bytes. The writer shows which bytes
/// those are: laid over zeros and over ones, they come out different.
QJsonArray spareBytes(const Database &db)
{
    constexpr int Gap = 8;
    const QByteArray zeros = DatabaseWriter::fixedPart(db, LoStruc()).bytes();
    const QByteArray ones =
        DatabaseWriter::fixedPart(db, LoStruc(QByteArray(LoStruc::Size, '\xff'))).bytes();
    const QByteArray &read = db.loStruc().bytes();
    const auto spare = [&](int i) { return zeros[i] != ones[i]; };
    QJsonArray runs;
    for (int i = 0; i < LoStruc::Size; ++i) {
        if (!spare(i) || read[i] == 0)
            continue;
        int last = i; // the run's last byte that is not zero
        for (int j = i + 1; j < LoStruc::Size && spare(j) && j - last <= Gap; ++j) {
            if (read[j] != 0)
                last = j;
        }
        runs.append(QJsonObject{
            {QLatin1String("offset"), i},
            {QLatin1String("hex"), QString::fromLatin1(read.mid(i, last + 1 - i).toHex())}});
        i = last;
    }
    return runs;
}

/// Bytes on their way to the device, handed over a chunk at a time.
class ChunkedOut
{
public:
    static constexpr qsizetype ChunkSize = 64 * 1024;

    explicit ChunkedOut(QIODevice &device) : mDevice(device), mBytes(ChunkSize, Qt::Uninitialized)
    {
    }

    /// Room for at least @p size more bytes, the chunk sent first when it
    /// has not got it; end what was put there with commit().
    char *room(qsizetype size)
    {
        if (mUsed + size > mBytes.size()) {
            flush();
            if (size > mBytes.size())
                mBytes.resize(size);
        }
        return mBytes.data() + mUsed;
    }
    void commit(const char *end) { mUsed = end - mBytes.constData(); }
    void append(const char *data, qsizetype size)
    {
        std::memcpy(room(size), data, size_t(size));
        mUsed += size;
    }
    template <qsizetype N> void append(const char (&text)[N]) { append(text, N - 1); }

    /// Sends what is gathered; false once the device has refused bytes.
    bool flush()
    {
        if (mUsed > 0 && mOk)
            mOk = mDevice.write(mBytes.constData(), mUsed) == mUsed;
        mUsed = 0;
        return mOk;
    }

private:
    QIODevice &mDevice;
    QByteArray mBytes;
    qsizetype mUsed = 0;
    bool mOk = true;
};

char hexDigit(unsigned v)
{
    return char(v < 10 ? '0' + v : 'a' + v - 10);
}

char *escapedUnit(char *out, char16_t u)
{
    *out++ = '\\';
    *out++ = 'u';
    for (int shift = 12; shift >= 0; shift -= 4)
        *out++ = hexDigit((u >> shift) & 0xf);
    return out;
}

/// @p text in double quotes as QJsonDocument writes it, at @p out, which
/// has room for six bytes a character and two: UTF-8; " and \ after a
/// backslash; \b \f \n \r \t; \u00xx for the other control characters and
/// \uxxxx for a surrogate without its other half. Returns the end.
char *quoted(char *out, QStringView text)
{
    *out++ = '"';
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
    while (p != end) {
        const char16_t u = *p++;
        if (u >= 0x20 && u < 0x80 && u != '"' && u != '\\') {
            *out++ = char(u);
        } else if (u < 0x80) {
            switch (u) {
            case '"':
                *out++ = '\\', *out++ = '"';
                break;
            case '\\':
                *out++ = '\\', *out++ = '\\';
                break;
            case '\b':
                *out++ = '\\', *out++ = 'b';
                break;
            case '\f':
                *out++ = '\\', *out++ = 'f';
                break;
            case '\n':
                *out++ = '\\', *out++ = 'n';
                break;
            case '\r':
                *out++ = '\\', *out++ = 'r';
                break;
            case '\t':
                *out++ = '\\', *out++ = 't';
                break;
            default:
                out = escapedUnit(out, u);
            }
        } else if (u < 0x800) {
            *out++ = char(0xc0 | (u >> 6));
            *out++ = char(0x80 | (u & 0x3f));
        } else if (!QChar::isSurrogate(u)) {
            *out++ = char(0xe0 | (u >> 12));
            *out++ = char(0x80 | ((u >> 6) & 0x3f));
            *out++ = char(0x80 | (u & 0x3f));
        } else if (QChar::isHighSurrogate(u) && p != end && QChar::isLowSurrogate(*p)) {
            const char32_t c = QChar::surrogateToUcs4(u, *p++);
            *out++ = char(0xf0 | (c >> 18));
            *out++ = char(0x80 | ((c >> 12) & 0x3f));
            *out++ = char(0x80 | ((c >> 6) & 0x3f));
            *out++ = char(0x80 | (c & 0x3f));
        } else {
            out = escapedUnit(out, u);
        }
    }
    *out++ = '"';
    return out;
}

/// The records as an array at the first level of indentation, from its
/// opening bracket to its closing one: one array of texts per record.
void writeRecords(ChunkedOut &out, const Database &db)
{
    static constexpr char CellIndent[] = "            ";
    const RecordGrid &grid = db.grid();
    const int fields = db.fieldCount();
    QString text;
    out.append("[\n");
    for (int r = 1; r < grid.rowCount(); ++r) {
        out.append("        [\n");
        for (int k = 1; k <= fields; ++k) {
            grid.cellInto(k, r, text);
            char *p = out.room(sizeof CellIndent + 6 * text.size() + 4);
            std::memcpy(p, CellIndent, sizeof CellIndent - 1);
            p = quoted(p + sizeof CellIndent - 1, text);
            if (k < fields)
                *p++ = ',';
            *p++ = '\n';
            out.commit(p);
        }
        if (r + 1 < grid.rowCount())
            out.append("        ],\n");
        else
            out.append("        ]\n");
    }
    out.append("    ]");
}

} // namespace

QJsonObject JsonDump::withoutRecords(const Database &db)
{
    const RecordGrid &grid = db.grid();
    QJsonObject root;
    root[QLatin1String("name")] = db.name();
    root[QLatin1String("flags")] = int(db.flags());
    root[QLatin1String("modified")] = qint64(Database::fileSecondsFromDate(db.date()));
    root[QLatin1String("encrypted")] = bool(db.flags() & DatabaseFlags::Encrypted);
    root[QLatin1String("dataWidth")] = db.dataWidth();
    root[QLatin1String("firstUnlockedField")] = db.firstUnlockedField();
    root[QLatin1String("sort")] = integers(db.sort().keys);
    root[QLatin1String("find")] = QJsonObject{{QLatin1String("field"), db.findField()},
                                              {QLatin1String("text"), db.findText()}};
    root[QLatin1String("filter")] = QJsonObject{{QLatin1String("field"), int(db.filter().field)},
                                                {QLatin1String("text"), db.filter().text}};

    QJsonArray fields;
    for (int k = 1; k <= db.fieldCount(); ++k) {
        const FieldDef &def = db.field(k);
        QJsonObject field;
        field[QLatin1String("name")] = grid.cell(k, 0);
        field[QLatin1String("type")] = int(def.type);
        field[QLatin1String("attributes")] = int(def.attributes);
        field[QLatin1String("locked")] = def.locked;
        field[QLatin1String("width")] = db.PixelsToFieldWidth(grid.columnWidth(k));
        field[QLatin1String("setting1")] = qint64(def.setting1);
        field[QLatin1String("setting2")] = qint64(def.setting2);
        field[QLatin1String("default")] = def.defaultText;
        field[QLatin1String("popup")] = toArray(def.popupItems);
        field[QLatin1String("calcValue1")] = def.calcValue1;
        field[QLatin1String("calcValue2")] = def.calcValue2;
        fields.append(field);
    }
    root[QLatin1String("fields")] = fields;

    QJsonArray sortLists;
    for (int i = 1; i <= 25; ++i) {
        const SavedSortList &list = db.sortList(i);
        sortLists.append(QJsonObject{{QLatin1String("name"), list.name},
                                     {QLatin1String("keys"), integers(list.sort.keys)}});
    }
    root[QLatin1String("sortLists")] = sortLists;

    QJsonArray filterLists;
    for (int i = 1; i <= 25; ++i) {
        const SavedFilterList &list = db.filterList(i);
        filterLists.append(QJsonObject{{QLatin1String("name"), list.name},
                                       {QLatin1String("texts"), toArray(list.texts)},
                                       {QLatin1String("options"), int(list.options)},
                                       {QLatin1String("fields"), integers(list.fields)}});
    }
    root[QLatin1String("filterLists")] = filterLists;

    root[QLatin1String("spareBytes")] = spareBytes(db);

    const ViewPosition &vp = db.viewPosition();
    root[QLatin1String("viewPosition")] =
        QJsonArray{qint64(vp.marker), qint64(vp.currentRecord), qint64(vp.visibleRecord),
                   qint64(vp.visibleField)};
    return root;
}

bool JsonDump::write(QIODevice &device, const Database &db)
{
    // The rest is laid out by QJsonDocument with an empty array for the
    // records, and the records are written in its place. Only a key of the
    // first level follows a line break, four spaces and a quote: deeper
    // keys are indented further, line breaks in texts are written as \n.
    QJsonObject root = withoutRecords(db);
    root[QLatin1String("records")] = QJsonArray();
    const QByteArray rest = QJsonDocument(root).toJson(QJsonDocument::Indented);
    static constexpr char Key[] = "\n    \"records\": ";
    static constexpr char Empty[] = "[\n    ]";
    const qsizetype key = rest.indexOf(Key);
    Q_ASSERT(key >= 0 && rest.mid(key + sizeof Key - 1).startsWith(Empty));
    const qsizetype after = key + qsizetype(sizeof Key - 1);

    ChunkedOut out(device);
    out.append(rest.constData(), after);
    writeRecords(out, db);
    const qsizetype tail = after + qsizetype(sizeof Empty - 1);
    out.append(rest.constData() + tail, rest.size() - tail);
    return out.flush();
}
