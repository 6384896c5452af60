#include "core/format/databasewriter.h"

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/document/databaseflags.h"
#include "core/document/limits.h"
#include "core/format/codepage.h"
#include "core/format/extensionarea.h"
#include "core/format/pdbheader.h"
#include "core/platform/messageservice.h"
#include "numbers/numberformat.h"

#include <QtEndian>

#include <cstring>
#include <limits>

/// Appends to a byte array through a raw pointer, growing it by doubling.
class ByteSink
{
public:
    explicit ByteSink(QByteArray &bytes) : mBytes(bytes), mSize(bytes.size()) {}
    ~ByteSink() { mBytes.truncate(mSize); }

    /// Room for @p n more bytes at the end.
    char *reserve(qsizetype n)
    {
        if (mSize + n > mBytes.size())
            mBytes.resize(qMax(2 * mBytes.size(), mSize + n));
        return mBytes.data() + mSize;
    }
    void grow(qsizetype n) { mSize += n; }
    qsizetype size() const { return mSize; }
    char *at(qsizetype offset) { return mBytes.data() + offset; }

private:
    QByteArray &mBytes;
    qsizetype mSize;
};

namespace {

constexpr quint32 PlaceholderOffset = 0x9999;

void appendWord(QByteArray &out, quint16 value)
{
    char b[2];
    qToBigEndian<quint16>(value, b);
    out.append(b, 2);
}

void appendLong(QByteArray &out, quint32 value)
{
    char b[4];
    qToBigEndian<quint32>(value, b);
    out.append(b, 4);
}

/// The bytes of a text of the extension area; a zero character would end
/// the string early, so none is written.
QByteArray areaBytes(const QString &text)
{
    QByteArray bytes = Codepage::encode(text);
    bytes.replace('\0', QByteArray());
    return bytes;
}

/// Appends @p text as a zero-terminated string; an empty one would end the
/// area on reading, so it is never written. Returns whether it was.
bool appendString(QByteArray &out, const QString &text)
{
    const QByteArray bytes = areaBytes(text);
    if (bytes.isEmpty())
        return false;
    out.append(bytes);
    out.append('\0');
    return true;
}

void appendKey(QByteArray &out, ExtensionArea::Block block, int k)
{
    out.append(ExtensionArea::key(block, k));
    out.append('\0');
}

/// Writes a cell text as stored to @p d, which has room for one byte per
/// character: every character below 32 but TAB and LF dropped (so CR LF
/// becomes LF), the rest in the file's code page, a character it lacks as
/// "?" (counted in @p unmappable). Returns the bytes written.
qsizetype storeText(char *d, QStringView text, qsizetype *unmappable)
{
    char *const start = d;
    const auto *s = reinterpret_cast<const char16_t *>(text.constData());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = s[i];
        if (c >= 32 && c < 0x80) {
            *d++ = char(c);
        } else if (c < 32) {
            if (c == '\t' || c == '\n')
                *d++ = char(c);
        } else if (const int b = Codepage::byteFor(c); b >= 0) {
            *d++ = char(b);
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(s[i + 1]))
                ++i;
            *d++ = '?';
            ++*unmappable;
        }
    }
    return d - start;
}

/// The width units a column of @p pixels stores, with the lock as its sign.
qint8 storedWidth(const Database &db, const FieldDef &def, int pixels)
{
    // A column nobody resized keeps the width it was read with, even where
    // the width scale would not give it back.
    int width = (def.readWidth >= 0 && db.FieldWidthToPixels(def.readWidth) == pixels)
                    ? def.readWidth
                    : db.PixelsToFieldWidth(pixels);
    // The handheld keeps the width in a signed byte whose sign is the lock:
    // up to 127 units open, up to 128 locked.
    width = qMin(width, Limits::MaxStoredWidth + (def.locked ? 1 : 0));
    return qint8(def.locked ? -width : width);
}

} // namespace

LoStruc DatabaseWriter::fixedPart(const Database &db, LoStruc lo)
{
    const RecordGrid &grid = db.grid();
    const int f = db.fieldCount();
    for (int k = 1; k <= f; ++k) {
        // The name and its terminator; the rest of the slot stays as read.
        const QByteArray name = Codepage::encode(grid.cell(k, 0)).left(Limits::MaxFieldName);
        lo.setBytes(LoStruc::nameOffset(k), name + '\0');
    }
    for (int k = 1; k <= 50; ++k) {
        const FieldDef &def = db.field(k);
        lo.setWord(LoStruc::typeOffset(k),
                   quint16((def.attributes << 8) | FieldType::code(def.type)));
        lo.setInt32(LoStruc::setting1Offset(k), def.setting1);
        lo.setInt32(LoStruc::setting2Offset(k), def.setting2);
    }
    lo.setWord(LoStruc::FieldCountOffset, quint16(f));
    lo.setWord(LoStruc::MarkerOffset, LoStruc::CurrentMarker);
    for (int k = 1; k <= f; ++k)
        lo.setSignedWord(LoStruc::widthOffset(k),
                         storedWidth(db, db.field(k), grid.columnWidth(k)));

    lo.setSignedWord(LoStruc::DataWidthOffset, qint8(db.dataWidth()));
    for (int i = 0; i < 3; ++i)
        lo.setSignedWord(LoStruc::SortKeysOffset + 2 * i, db.sort().keys[size_t(i)]);
    lo.setSignedWord(LoStruc::FindFieldOffset, qint8(db.findField()));
    lo.setSignedWord(LoStruc::FilterFieldOffset, db.filter().field);
    const int firstUnlocked = db.firstUnlockedField() > f - 1 ? 0 : db.firstUnlockedField();
    lo.setSignedWord(LoStruc::FirstUnlockedOffset, qint8(firstUnlocked));

    // Each text field is cleared and takes at most 15 characters, so a zero
    // byte always follows inside it.
    const auto searchText = [](const QString &text) {
        QByteArray bytes = Codepage::encode(text).left(Limits::MaxStoredSearchText);
        bytes.append(QByteArray(LoStruc::SearchTextSize - bytes.size(), '\0'));
        return bytes;
    };
    lo.setBytes(LoStruc::FindTextOffset, searchText(db.findText()));
    lo.setBytes(LoStruc::FilterTextOffset, searchText(db.filter().text));
    return lo;
}

QByteArray DatabaseWriter::extensionArea(const Database &db)
{
    QByteArray out;
    const int f = db.fieldCount();
    for (int k = 1; k <= f; ++k) {
        const FieldDef &def = db.field(k);
        // A loaded lookup list is saved as its reference, not its values.
        const QStringList values =
            def.lookupLoaded ? QStringList{def.lookupDatabase, def.lookupField} : def.popupItems;
        QByteArray block;
        for (const QString &value : values)
            appendString(block, value);
        if (!block.isEmpty()) {
            appendKey(out, ExtensionArea::Block::Popup, k);
            out.append(block);
        }
    }
    for (int k = 1; k <= f; ++k) {
        const QByteArray value = areaBytes(db.field(k).defaultText);
        if (!value.isEmpty()) {
            appendKey(out, ExtensionArea::Block::Default, k);
            out.append(value + '\0');
        }
    }
    for (int i = 1; i <= Limits::SortListCount; ++i) {
        const SavedSortList &list = db.sortList(i);
        if (list.name == QLatin1String("Unused") || areaBytes(list.name).isEmpty())
            continue;
        appendKey(out, ExtensionArea::Block::Sort, i);
        appendString(out, list.name);
        for (qint8 key : list.sort.keys)
            appendString(out, QString::number(key));
    }
    for (int i = 1; i <= Limits::FilterListCount; ++i) {
        const SavedFilterList &list = db.filterList(i);
        if (list.name == QLatin1String("Unused") || areaBytes(list.name).isEmpty())
            continue;
        appendKey(out, ExtensionArea::Block::Filter, i);
        appendString(out, list.name);
        for (const QString &text : list.texts) {
            if (!appendString(out, text))
                appendString(out, QString::fromLatin1(ExtensionArea::EmptyConditionText));
        }
        appendString(out, QString::number(list.options));
        for (qint8 field : list.fields)
            appendString(out, QString::number(field));
    }
    for (int k = 1; k <= f; ++k) {
        const FieldDef &def = db.field(k);
        if (def.calcValue1 != 0.0) {
            appendKey(out, ExtensionArea::Block::CalcValue1, k);
            appendString(out, FormatNumber(0, def.calcValue1));
        }
        if (def.calcValue2 != 0.0) {
            appendKey(out, ExtensionArea::Block::CalcValue2, k);
            appendString(out, FormatNumber(0, def.calcValue2));
        }
    }
    const ViewPosition &vp = db.viewPosition();
    if (vp.marker > 0) {
        appendKey(out, ExtensionArea::Block::ViewPosition, 1);
        for (qint32 value : {vp.marker, vp.currentRecord, vp.visibleRecord, vp.visibleField})
            appendString(out, QString::number(value));
    }
    out.append(ExtensionArea::endMarker());
    return out;
}

namespace {

Message limitation(const QString &text)
{
    return {Limits::limitationCaption(), MessageIcon::Warning, {text}, MessageButton::Ok};
}

} // namespace

DatabaseWriter::DatabaseWriter(MessageService &messages, CipherState &cipher)
    : mMessages(messages), mCipher(cipher)
{
}

QString DatabaseWriter::storedText(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    qsizetype unmappable = 0;
    const qsizetype length =
        qMin<qsizetype>(storeText(bytes.data(), text, &unmappable), Limits::MaxCellText);
    return Codepage::decodeStored(bytes.constData(), length);
}

bool DatabaseWriter::writeRecords(QByteArray &out, const Database &db, WriteResult &result)
{
    Unmappable &unmappable = result.unmappable;
    const RecordGrid &grid = db.grid();
    const int n = grid.recordCount();
    const int f = db.fieldCount();
    const bool encrypt = db.flags() & DatabaseFlags::Encrypted;
    ByteSink sink(out);
    for (int r = 1; r <= n; ++r) {
        const qsizetype start = sink.size();
        // The record list keeps each record's place in 32 bits.
        if (start > qsizetype(std::numeric_limits<quint32>::max())) {
            result.message = {QStringLiteral("Record %1 would begin past the 4 GB a database "
                                             "file can address; nothing was written.")
                                  .arg(r)};
            out.clear();
            return false;
        }
        qToBigEndian<quint32>(quint32(start),
                              sink.at(PdbHeader::Size + PdbHeader::RecordEntrySize * (r - 1)));
        sink.reserve(2 * f);
        sink.grow(2 * f);
        if (writeStored(sink, grid.storedTexts(r), f)) {
            finishRecord(sink, start, r, encrypt);
            continue;
        }
        bool altered = false;
        for (int k = 1; k <= f; ++k) {
            const QString text = grid.cell(k, r);
            const qsizetype before = unmappable.count;
            char *const stored = sink.reserve(text.size() + 1);
            qsizetype length = storeText(stored, text, &unmappable.count);
            // Only a character without a byte, a control character or a
            // cut makes the file's text differ; those are looked at closely.
            if (!altered && (unmappable.count > before || length > Limits::MaxCellText ||
                             length != text.size())) {
                altered = Codepage::decodeStored(
                              stored, qMin<qsizetype>(length, Limits::MaxCellText)) != text;
            }
            if (before == 0 && unmappable.count > 0) {
                unmappable.firstRecord = r;
                unmappable.firstField = k;
            }
            if (length > Limits::MaxCellText) {
                mMessages.show(limitation(QStringLiteral("Record ") + QString::number(r) +
                                          QStringLiteral(" shorten by ") +
                                          QString::number(length - Limits::MaxCellText) +
                                          QStringLiteral(" bytes.")));
                length = Limits::MaxCellText;
            }
            *sink.at(sink.size() + length) = '\0';
            sink.grow(length + 1);
            qToBigEndian<quint16>(quint16(length + 1), sink.at(start + 2 * (k - 1)));
        }
        if (altered)
            result.alteredRecords.push_back(r);
        finishRecord(sink, start, r, encrypt);
    }
    return true;
}

bool DatabaseWriter::writeStored(ByteSink &sink, const RecordTexts *texts, int f)
{
    // Texts kept as the file stores them go in by one copy, unless one of
    // them is to be cut.
    if (!texts)
        return false;
    for (int k = 1; k <= f; ++k) {
        if (texts->storedLength(k) > Limits::MaxCellText)
            return false;
    }
    const qsizetype start = sink.size() - 2 * f;
    const qsizetype size = texts->storedSize(1, f);
    std::memcpy(sink.reserve(size), texts->storedBytes(1), size_t(size));
    sink.grow(size);
    for (int k = 1; k <= f; ++k)
        qToBigEndian<quint16>(quint16(texts->storedLength(k) + 1), sink.at(start + 2 * (k - 1)));
    return true;
}

void DatabaseWriter::finishRecord(ByteSink &sink, qsizetype start, int r, bool encrypt)
{
    const qsizetype size = sink.size() - start;
    if (size > Limits::MaxRecordBytes) {
        mMessages.show(limitation(
            QStringLiteral("Record ") + QString::number(r) + QStringLiteral(" contains ") +
            QString::number(size - Limits::MaxRecordBytes) + QStringLiteral(" too much bytes.")));
    }
    if (encrypt) {
        sink.reserve(8);
        sink.grow(mCipher.EncipherBuffer(sink.at(start), size) - size);
    }
}

WriteResult DatabaseWriter::build(const Database &db, const QDateTime &now)
{
    WriteResult result;
    const bool flagged = db.flags() & DatabaseFlags::Encrypted;
    if (flagged != !db.password().isEmpty()) {
        const QString line =
            flagged ? QStringLiteral("The database is marked \"Encrypted\" but has no password.")
                    : QStringLiteral("The database has a password but is not marked "
                                     "\"Encrypted\".");
        result.message = {line, QStringLiteral("It is not saved, since the file could not be read. "
                                               "Please choose its security in the Properties.")};
        return result;
    }
    // The header counts records in 16 bits and the fixed part has 50 slots.
    if (db.recordCount() > PdbHeader::MaxRecords || db.fieldCount() < 1 ||
        db.fieldCount() > Limits::MaxFields) {
        result.message = {QStringLiteral("The database has %1 fields and %2 records; a database "
                                         "file holds 1 to 50 fields and at most 65535 records.")
                              .arg(db.fieldCount())
                              .arg(db.recordCount())};
        return result;
    }
    const bool encrypt = flagged;
    if (encrypt)
        mCipher.SetCipherKey(db.password());

    const RecordGrid &grid = db.grid();
    const int n = grid.recordCount();
    const int f = db.fieldCount();
    const qint32 seconds = Database::fileSecondsFromDate(now);
    const quint32 appInfoOffset = quint32(PdbHeader::Size + PdbHeader::RecordEntrySize * n + 2);

    QByteArray &out = result.bytes;
    // The header. The name takes at most 31 bytes and a zero byte.
    QByteArray header(PdbHeader::Size, '\0');
    const QByteArray name = Codepage::encode(db.name()).left(PdbHeader::NameSize - 1);
    std::copy(name.begin(), name.end(), header.begin());
    char *h = header.data();
    qToBigEndian<quint16>(0x0008, h + 32);        // attributes
    qToBigEndian<quint16>(db.flags(), h + 34);    // version: the flags
    qToBigEndian<qint32>(seconds, h + 36);        // creation date
    qToBigEndian<qint32>(seconds, h + 40);        // modification date
    qToBigEndian<quint32>(appInfoOffset, h + 52); // application info
    std::copy_n("Lx5DLxr5", 8, h + 60);           // type and creator
    qToBigEndian<quint16>(quint16(n), h + 76);    // number of records
    out.append(header);

    // The record list with placeholders, patched once the records stand;
    // then the two-byte gap.
    for (int r = 0; r < n; ++r) {
        appendLong(out, PlaceholderOffset);
        appendLong(out, 0);
    }
    appendWord(out, 0);

    // The application-info block.
    result.image = fixedPart(db, db.loStruc());
    QByteArray appInfo = result.image.bytes() + extensionArea(db);
    if (encrypt)
        mCipher.EncipherBuffer(appInfo, appInfo.size());
    out.append(appInfo);

    // The records. A guess at the size spares most of the growing: length words, zero
    // bytes and about ten characters a cell.
    out.reserve(out.size() + qsizetype(n) * (13 * qsizetype(f) + 8));
    result.ok = writeRecords(out, db, result);
    return result;
}
