#include "core/format/databasereader.h"

#include "core/crypto/cipherstate.h"
#include "core/crypto/obtainreadpassword.h"
#include "core/document/database.h"
#include "core/document/databaseflags.h"
#include "core/document/limits.h"
#include "core/format/codepage.h"
#include "core/format/extensionarea.h"
#include "core/format/pdbheader.h"
#include "core/platform/messageservice.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr qint64 AreaChunk = 16384; // a multiple of the cipher's 8-byte block

QString notListora()
{
    return QStringLiteral("Sorry, this is not a Listora database.");
}

QStringList version3Message()
{
    return {QStringLiteral("Sorry, this database is created by Listora 3."), QString(),
            QStringLiteral("Please use Quillgrid 2.xx to access this database. ")};
}

QStringList version4Message()
{
    return {QStringLiteral("Sorry, this database is created by Listora 4 or Listora pro."),
            QString(), QStringLiteral("There are two solutions:"),
            QStringLiteral("- Use Listora5 to convert your Listora databases to the Listora5 "
                           "format."),
            QStringLiteral("- Use Quillgrid pro 3.xx to access this database.")};
}

QString tooMuchText()
{
    return QStringLiteral("Error: Record list repeats record data beyond the file size");
}

/**
 * Reads the application-info block from the device's position: at most
 * @p limit bytes, in chunks, until the empty string that ends the extension
 * area (looked for from @p areaStart on) has been read. Enciphered bytes are
 * deciphered as they arrive, whole blocks only.
 */
QByteArray readAppInfo(QIODevice &device, qint64 limit, qsizetype areaStart,
                       const CipherState *cipher)
{
    QByteArray buffer;
    qsizetype deciphered = 0;
    qsizetype scanned = areaStart; // bytes before this hold no end
    while (buffer.size() < limit) {
        const QByteArray part = device.read(qMin(AreaChunk, limit - buffer.size()));
        if (part.isEmpty())
            break;
        buffer.append(part);
        qsizetype usable = buffer.size();
        if (cipher) {
            usable = buffer.size() / 8 * 8;
            cipher->DecipherBuffer(buffer.data() + deciphered, usable - deciphered);
            deciphered = usable;
        }
        const qsizetype end = ExtensionArea::findEnd(buffer.constData() + areaStart,
                                                     usable - areaStart, scanned - areaStart);
        if (end >= 0) {
            buffer.truncate(areaStart + end);
            return buffer;
        }
        scanned = qMax(scanned, usable);
    }
    return buffer;
}

} // namespace

DatabaseReader::DatabaseReader(MessageService &messages, PasswordPrompt &passwords,
                               CipherState &cipher)
    : mMessages(messages), mPasswords(passwords), mCipher(cipher)
{
}

QString DatabaseReader::supportAddress()
{
    return QStringLiteral("quillgrid-support@example.org");
}

ReadResult DatabaseReader::read(QIODevice &device, const QString &path, Database &db)
{
    RecordGrid &grid = db.grid();
    db.ResetDatabase();
    const qint64 fileSize = device.size();

    // The header.
    if (!device.seek(0))
        return ReadResult::failure(notListora());
    const QByteArray headerBytes = device.read(PdbHeader::Size);
    if (headerBytes.size() < PdbHeader::Size)
        return ReadResult::failure(notListora());
    const PdbHeader header = PdbHeader::parse(headerBytes);
    if (header.type == "Lx3D")
        return ReadResult::failure(version3Message());
    if (header.type == "Lx4D") {
        return mLookupMode ? ReadResult::failure(version4Message().constFirst())
                           : ReadResult::failure(version4Message());
    }
    if (header.type != "Lx5D")
        return ReadResult::failure(notListora());

    const quint16 flags = header.flags;
    db.setFlags(flags);
    if ((flags & DatabaseFlags::PalmOsPassword) && !mExpertMode && !mLookupMode) {
        mMessages.show({QStringLiteral("Warning"),
                        MessageIcon::Warning,
                        {QStringLiteral("The database is protected with the PalmOS Security "
                                        "app's password, but not encrypted. This is medium "
                                        "security.")},
                        MessageButton::Ok});
    }

    // The fixed part must be there before a password is asked for.
    const qint64 appInfoOffset = header.appInfoOffset;
    if (appInfoOffset > fileSize)
        return ReadResult::failure(QStringLiteral("Error: Seek LoStruc"));
    const bool encrypted = flags & DatabaseFlags::Encrypted;
    const QString shortBlock = mLookupMode ? QStringLiteral("Error: Unnormal Size LoStruc")
                                           : QStringLiteral("Error: Normal Size LoStruc");
    if (encrypted) {
        if (fileSize - appInfoOffset < LoStruc::Size)
            return ReadResult::failure(shortBlock);
        const auto password =
            ObtainReadPassword(device, appInfoOffset, mPasswords, mMessages, mCipher);
        if (!password)
            return ReadResult::cancelled();
        db.setPassword(*password);
    }

    db.setName(Codepage::decode(header.name));
    db.setFilePath(path);
    db.setDate(Database::dateFromFileSeconds(header.modificationDate));
    db.setChanged(false);
    int recordCount = header.recordCount;

    // The application-info block: the fixed part and the extension area.
    if (!device.seek(appInfoOffset))
        return ReadResult::failure(QStringLiteral("Error: Seek LoStruc"));
    QByteArray fixedPart;
    QByteArray area;
    if (encrypted) {
        QByteArray block = readAppInfo(device, MaxAreaSize, LoStruc::Size, &mCipher);
        if (block.size() < LoStruc::Size)
            return ReadResult::failure(shortBlock);
        fixedPart = block.left(LoStruc::Size);
        area = block.mid(LoStruc::Size);
    } else {
        fixedPart = device.read(LoStruc::Size);
        if (fixedPart.size() < LoStruc::Size)
            return ReadResult::failure(shortBlock);
        area = readAppInfo(device, MaxAreaSize, 0, nullptr);
    }
    db.loStruc() = LoStruc(fixedPart);
    const LoStruc &lo = db.loStruc();
    if (lo.word(LoStruc::MarkerOffset) != LoStruc::CurrentMarker)
        return ReadResult::failure(QStringLiteral("Error: CURRENT_MARKER"));

    const int fieldCount = lo.word(LoStruc::FieldCountOffset);
    if (fieldCount < 1 || fieldCount > Limits::MaxFields) {
        return ReadResult::failure(
            QStringLiteral("Error: Number of fields %1 (1 - 50 expected)").arg(fieldCount));
    }

    // The handheld allows data widths up to 150, so the byte is unsigned.
    db.setDataWidth(lo.word(LoStruc::DataWidthOffset) & 0xFF);
    for (int i = 0; i < 3; ++i)
        db.sort().keys[size_t(i)] = lo.lowSigned(LoStruc::SortKeysOffset + 2 * i);
    db.setFindField(lo.lowSigned(LoStruc::FindFieldOffset));
    db.setFindText(lo.text(LoStruc::FindTextOffset, LoStruc::SearchTextSize));
    db.filter().field = lo.lowSigned(LoStruc::FilterFieldOffset);
    db.filter().text = lo.text(LoStruc::FilterTextOffset, LoStruc::SearchTextSize);
    db.setFirstUnlockedField(lo.lowSigned(LoStruc::FirstUnlockedOffset));

    db.clearExtensionValues();
    if (mLookupMode)
        area.clear();
    // An area that starts with four zero bytes holds nothing; the parser
    // stops at its first (empty) string anyway.
    ExtensionArea::parse(area.constData(), area.size(), db);

    // The record list: entries pointing at or past the end of the file
    // shorten the database to the records before them.
    std::vector<quint32> offsets;
    if (recordCount > 0) {
        if (!device.seek(PdbHeader::Size))
            return ReadResult::failure(QStringLiteral("Error: Record Ptr"));
        const QByteArray list = device.read(qint64(recordCount) * PdbHeader::RecordEntrySize);
        offsets.reserve(size_t(recordCount));
        for (int i = 0; i < recordCount; ++i) {
            if (list.size() < qsizetype(i + 1) * PdbHeader::RecordEntrySize)
                return ReadResult::failure(QStringLiteral("Error: Record Ptr"));
            const quint32 offset =
                qFromBigEndian<quint32>(list.constData() + i * PdbHeader::RecordEntrySize);
            if (offset >= fileSize) {
                recordCount = i;
                break;
            }
            offsets.push_back(offset);
        }
    }

    grid.resize(fieldCount + 1, qMax(recordCount, 1) + 1);
    for (int k = 1; k <= fieldCount; ++k) {
        const int stored = lo.lowSigned(LoStruc::widthOffset(k));
        db.field(k).locked = stored < 0;
        db.field(k).readWidth = qAbs(stored);
        grid.setColumnWidth(k, db.FieldWidthToPixels(qAbs(stored)));
    }
    grid.showAllRows();
    for (int k = 1; k <= fieldCount; ++k)
        grid.setCell(k, 0, lo.text(LoStruc::nameOffset(k), LoStruc::NameSlotSize));

    for (int k = 1; k <= fieldCount; ++k) {
        FieldDef &def = db.field(k);
        const quint16 typeWord = lo.word(LoStruc::typeOffset(k));
        def.attributes = quint8(typeWord >> 8);
        def.setting1 = lo.int32(LoStruc::setting1Offset(k));
        def.setting2 = lo.int32(LoStruc::setting2Offset(k));
        const int type = FieldType::indexOfCode(quint8(typeWord & 0xFF));
        if (mLookupMode) {
            // Only names and texts are wanted.
            def.type = FieldType::String;
            continue;
        }
        if (type >= 0) {
            def.type = quint8(type);
            continue;
        }
        const MessageButton answer = mMessages.show(
            {QStringLiteral("Warning"),
             MessageIcon::Warning,
             {QStringLiteral("There is a unknown fieldtype. This may cause serious problems."),
              QStringLiteral("Please contact instantly the developer by email:  ") +
                  supportAddress()},
             MessageButton::Retry | MessageButton::Cancel});
        if (answer != MessageButton::Retry)
            return ReadResult::failure(QStringLiteral("Error: Seek Fieldtype") +
                                       QString::number(k));
        def.type = FieldType::String;
    }

    for (int k = 1; k <= fieldCount; ++k) {
        if (db.field(k).type != FieldType::Boolean)
            continue;
        for (int r = 1; r < grid.rowCount(); ++r)
            grid.setCheckBox(k, r, true);
    }

    // The records. Each ends where the next larger offset begins, so the
    // distinct offsets cut the file into spans that do not overlap. Each span
    // is read, deciphered and decoded once; later entries at the same offset
    // share the texts of the first, but count again against the bound.
    std::vector<quint32> starts = offsets;
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::vector<int> firstRow(starts.size(), 0); // the record that read each span
    std::vector<qint64> spanText(starts.size(), 0);
    const qint64 maxText = maxRecordTextBytes(fileSize);
    qint64 heldText = 0;
    const qsizetype lengthWords = qsizetype(fieldCount) * 2;
    QByteArray data;
    // The rows' bytes go into a few large blocks, not an allocation each.
    RecordTexts::Arena arena;
    for (int r = 1; r <= recordCount; ++r) {
        const quint32 offset = offsets[size_t(r - 1)];
        const size_t span =
            size_t(std::lower_bound(starts.begin(), starts.end(), offset) - starts.begin());
        if (firstRow[span] > 0) {
            grid.shareTexts(r, firstRow[span]);
        } else {
            const qint64 next = span + 1 < starts.size() ? qint64(starts[span + 1]) : fileSize;
            const qint64 end = qMin(next, qMin(fileSize, qint64(offset) + MaxRecordSpan));
            // Records mostly follow one another: no seek between them.
            if (device.pos() != offset && !device.seek(offset))
                return ReadResult::failure(QStringLiteral("Error: Read Record string"));
            data.resize(end - offset);
            const qint64 got = device.read(data.data(), data.size());
            if (got <= 0)
                return ReadResult::failure(QStringLiteral("Error: Read Record string"));
            if (encrypted)
                mCipher.DecipherBuffer(data.data(), got);

            // f length words (ignored), then f zero-terminated texts; the
            // grid keeps them as read.
            RecordTexts::Summary summary;
            if (got > lengthWords)
                grid.setStoredTexts(r, data.constData() + lengthWords, got - lengthWords, &summary,
                                    &arena);
            spanText[span] = TextOverhead * summary.texts + 2 * summary.characters;
            firstRow[span] = r;
        }
        heldText += spanText[span];
        if (heldText > maxText)
            return ReadResult::failure(tooMuchText());
    }

    db.setAutoSort(flags & DatabaseFlags::AutoSort);
    db.setReadOnly(flags & DatabaseFlags::ReadOnly);
    return ReadResult::success();
}
