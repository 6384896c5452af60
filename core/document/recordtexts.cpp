#include "core/document/recordtexts.h"

#include "core/format/codepage.h"

#include <bit>

namespace {

constexpr char Stored = 0;
constexpr char Wide = 1;

/// Whether the file would write @p b as it is: every byte but the control
/// bytes other than TAB and LF (the zero bytes end texts).
bool writtenAsIs(unsigned char b)
{
    return b >= 32 || b == '\t' || b == '\n' || b == 0;
}

/// Appends @p text in stored form and its zero byte; false when that form
/// would not give it back exactly.
bool appendStored(QByteArray &out, QStringView text)
{
    const qsizetype start = out.size();
    out.resize(start + text.size() + 1);
    char *d = out.data() + start;
    const char16_t *s = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = s[i];
        if (c == '\r' && i + 1 < size && s[i + 1] == '\n') {
            *d++ = '\n'; // read back as CR LF
            ++i;
            continue;
        }
        if (c == '\n' || c == 0)
            return false;
        const int b = c < 0x80 ? int(c) : Codepage::byteFor(c);
        if (b < 0)
            return false;
        *d++ = char(b);
    }
    *d++ = '\0';
    out.truncate(d - out.constData());
    return true;
}

void appendWide(QByteArray &out, QStringView text)
{
    out.append(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

void putWord(char *at, quint16 v)
{
    std::memcpy(at, &v, sizeof v);
}

void putOffset(char *at, quint32 v)
{
    std::memcpy(at, &v, sizeof v);
}

bool allWrittenAsIs(const char *d, qsizetype size)
{
    const auto *b = reinterpret_cast<const unsigned char *>(d);
    bool asIs = true;
    for (qsizetype i = 0; i < size; ++i)
        asIs &= writtenAsIs(b[i]);
    return asIs;
}

} // namespace

QByteArray RecordTexts::pack(const std::vector<QString> &texts)
{
    const auto n = qsizetype(texts.size());
    if (n == 0)
        return {};
    const qsizetype textsAt = HeaderSize + 4 * (n + 1);
    QByteArray bytes(textsAt, '\0');
    bool stored = true;
    std::vector<quint32> offsets(size_t(n) + 1, 0);
    for (qsizetype i = 0; i < n && stored; ++i) {
        stored = appendStored(bytes, texts[size_t(i)]);
        offsets[size_t(i) + 1] = quint32(bytes.size() - textsAt);
    }
    if (!stored) {
        bytes.resize(textsAt);
        for (qsizetype i = 0; i < n; ++i) {
            appendWide(bytes, texts[size_t(i)]);
            offsets[size_t(i) + 1] = quint32(bytes.size() - textsAt);
        }
    }
    char *d = bytes.data();
    d[0] = stored ? Stored : Wide;
    d[1] = stored && allWrittenAsIs(d + textsAt, bytes.size() - textsAt);
    putWord(d + 2, quint16(n));
    for (qsizetype i = 0; i <= n; ++i)
        putOffset(d + HeaderSize + 4 * i, offsets[size_t(i)]);
    return bytes;
}

RecordTexts RecordTexts::fromTexts(const QString *texts, qsizetype count)
{
    RecordTexts row;
    row.mBytes = pack(std::vector<QString>(texts, texts + count));
    row.mCount = row.mBytes.isEmpty() ? 0 : int(count);
    return row;
}

RecordTexts RecordTexts::fromStored(const char *data, qsizetype size, int count, Summary *summary)
{
    const int n = count + 1; // slot 0 stays empty
    const qsizetype textsAt = HeaderSize + 4 * (qsizetype(n) + 1);
    // One pass finds the zero bytes that end the texts, the LFs and any
    // other control byte, eight bytes at a time where none is below 32.
    // Where each text ends, in a scratch list kept between records.
    thread_local std::vector<quint32> ends;
    ends.assign(size_t(n) + 1, 0);
    ends[1] = 1;
    const auto *b = reinterpret_cast<const unsigned char *>(data);
    qsizetype pos = 0; // after the last zero byte
    qsizetype i = 0;
    int found = 0;
    bool asIs = true;
    qint64 lineFeeds = 0;
    while (found < count && i < size) {
        if (i + 8 <= size) {
            quint64 word;
            std::memcpy(&word, b + i, sizeof word);
            // The lowest flagged byte is the first below 32 (little end).
            const quint64 below32 = (word - 0x2020202020202020ULL) & ~word & 0x8080808080808080ULL;
            if (!below32) {
                i += 8;
                continue;
            }
            if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN)
                i += std::countr_zero(below32) / 8;
        }
        const unsigned char c = b[i++];
        if (c >= 32)
            continue;
        if (c == 0) {
            pos = i;
            ++found;
            ends[size_t(found) + 1] = quint32(1 + pos);
        } else {
            lineFeeds += c == '\n';
            asIs = asIs && writtenAsIs(c);
        }
    }
    if (found < count && pos < size) { // the last text lacks its zero byte
        ++found;
        pos = size + 1;
        ends[size_t(found) + 1] = quint32(1 + pos);
    }
    // Every text missing from the bytes (and a zero byte the last one
    // lacks) is added as a zero byte.
    const qsizetype used = qMin(pos, size);
    const qsizetype added = qsizetype(count - found) + (pos > size ? 1 : 0);
    for (int t = found + 1; t <= count; ++t)
        ends[size_t(t) + 1] = ends[size_t(t)] + 1;

    RecordTexts row;
    row.mBytes = QByteArray(textsAt + 1 + used + added, Qt::Uninitialized);
    row.mCount = n;
    char *d = row.mBytes.data();
    d[0] = Stored;
    d[1] = asIs;
    putWord(d + 2, quint16(n));
    for (int t = 0; t <= n; ++t)
        putOffset(d + HeaderSize + 4 * qsizetype(t), ends[size_t(t)]);
    d[textsAt] = '\0';
    std::memcpy(d + textsAt + 1, data, size_t(used));
    std::memset(d + textsAt + 1 + used, 0, size_t(added));
    if (summary) {
        *summary = {};
        for (int t = 1; t < n; ++t)
            summary->texts += row.storedLength(t) > 0;
        summary->characters = (used + added - count) + lineFeeds;
    }
    return row;
}

QString RecordTexts::text(int slot) const
{
    if (slot < 0 || slot >= count())
        return {};
    const quint32 from = offset(slot);
    const quint32 to = offset(slot + 1);
    if (!isWide())
        return Codepage::decodeStored(base() + from, qsizetype(to - from) - 1);
    QString text(qsizetype(to - from) / 2, Qt::Uninitialized);
    std::memcpy(text.data(), base() + from, to - from);
    return text;
}

void RecordTexts::textInto(int slot, QString &text) const
{
    if (slot < 0 || slot >= count()) {
        text.resize(0);
        return;
    }
    const quint32 from = offset(slot);
    const quint32 to = offset(slot + 1);
    if (isWide()) {
        text.resize(qsizetype(to - from) / 2);
        std::memcpy(text.data(), base() + from, to - from);
    } else {
        Codepage::decodeStoredInto(base() + from, qsizetype(to - from) - 1, text);
    }
}

std::vector<QString> RecordTexts::texts() const
{
    std::vector<QString> all(static_cast<size_t>(count()));
    for (int i = 0; i < count(); ++i)
        all[size_t(i)] = text(i);
    return all;
}

void RecordTexts::setText(int slot, QStringView text)
{
    if (slot < 0 || (slot >= count() && text.isEmpty()))
        return;
    QByteArray encoded;
    if (!isWide() && appendStored(encoded, text)) {
        splice(slot, encoded, false);
        return;
    }
    if (isWide()) {
        appendWide(encoded, text);
        splice(slot, encoded, false);
        return;
    }
    // The row can no longer keep its texts as stored bytes.
    std::vector<QString> all = texts();
    if (size_t(slot) >= all.size())
        all.resize(size_t(slot) + 1);
    all[size_t(slot)] = text.toString();
    mBytes = pack(all);
    mCount = int(all.size());
}

QString RecordTexts::take(int slot)
{
    if (slot < 0 || slot >= count())
        return {};
    QString taken = text(slot);
    splice(slot, {}, true);
    return taken;
}

void RecordTexts::splice(int slot, QByteArrayView encoded, bool remove)
{
    const int oldCount = count();
    const char form = mBytes.isEmpty() ? Stored : mBytes[0];
    const int n = remove ? oldCount - 1 : qMax(oldCount, slot + 1);
    if (n <= 0) {
        mBytes.clear();
        mCount = 0;
        return;
    }
    const qsizetype emptySize = form == Stored ? 1 : 0;
    const auto oldLength = [&](int i) -> qsizetype {
        return i < oldCount ? qsizetype(offset(i + 1) - offset(i)) : emptySize;
    };
    const qsizetype textsAt = HeaderSize + 4 * (qsizetype(n) + 1);
    qsizetype textsSize = 0;
    for (int i = 0; i < qMax(oldCount, slot + 1); ++i) {
        if (i == slot)
            textsSize += remove ? 0 : encoded.size();
        else
            textsSize += oldLength(i);
    }
    QByteArray bytes(textsAt + textsSize, '\0');
    char *d = bytes.data();
    d[0] = form;
    putWord(d + 2, quint16(n));
    quint32 at = 0;
    int out = 0;
    for (int i = 0; i < qMax(oldCount, slot + 1); ++i) {
        putOffset(d + HeaderSize + 4 * qsizetype(out), at);
        if (i == slot && remove)
            continue;
        if (i == slot) {
            std::memcpy(d + textsAt + at, encoded.data(), size_t(encoded.size()));
            at += quint32(encoded.size());
        } else if (i < oldCount) {
            std::memcpy(d + textsAt + at, base() + offset(i), size_t(oldLength(i)));
            at += quint32(oldLength(i));
        } else {
            at += quint32(emptySize); // a zero byte already there
        }
        ++out;
    }
    putOffset(d + HeaderSize + 4 * qsizetype(n), at);
    // Only the new text needs looking at when the others were written as
    // they are kept.
    const bool wasAsIs = oldCount == 0 || mBytes[1] == 1;
    d[1] = form == Stored && (wasAsIs ? allWrittenAsIs(encoded.data(), encoded.size())
                                      : allWrittenAsIs(d + textsAt, at));
    mBytes = std::move(bytes);
    mCount = n;
}
