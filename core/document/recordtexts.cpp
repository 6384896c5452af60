#include "core/document/recordtexts.h"

#include "core/format/codepage.h"

#include <algorithm>
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

QByteArray RecordTexts::Arena::take(qsizetype size, char **at)
{
    if (size > BlockSize / 4) {
        QByteArray own(size, Qt::Uninitialized);
        *at = own.data();
        return own;
    }
    // Each row's bytes are followed by a zero byte, as a QByteArray's are.
    if (mBlock.isNull() || mUsed + size + 1 > BlockSize) {
        mBlock = QByteArray(BlockSize, Qt::Uninitialized);
        mUsed = 0;
    }
    // A view of the block that holds a reference to it: its bytes are
    // written through the raw pointer, since writing through the shared
    // array would copy it.
    QByteArray::DataPointer view(mBlock.data_ptr());
    view.ptr += mUsed;
    view.size = size;
    view.ptr[size] = '\0';
    *at = view.ptr;
    mUsed += size + 1;
    return QByteArray(std::move(view));
}

RecordTexts RecordTexts::fromStored(const char *data, qsizetype size, int count, Summary *summary,
                                    Arena *arena)
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
    const qsizetype bytes = textsAt + 1 + used + added;
    char *d = nullptr;
    if (arena) {
        row.mBytes = arena->take(bytes, &d);
    } else {
        row.mBytes = QByteArray(bytes, Qt::Uninitialized);
        d = row.mBytes.data();
    }
    row.mCount = n;
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
    SlotText one{slot, text};
    setTexts(&one, 1);
}

void RecordTexts::setTexts(SlotText *texts, qsizetype count)
{
    // The last text given for a slot wins; slots past the row add empty
    // slots before them.
    std::stable_sort(texts, texts + count,
                     [](const SlotText &a, const SlotText &b) { return a.slot < b.slot; });
    thread_local std::vector<Piece> pieces;
    thread_local QByteArray encoded;
    pieces.clear();
    encoded.resize(0);
    bool fits = true;
    for (qsizetype i = 0; i < count; ++i) {
        const SlotText &t = texts[i];
        if (t.slot < 0 || (i + 1 < count && texts[i + 1].slot == t.slot))
            continue;
        const qsizetype from = encoded.size();
        if (isWide())
            appendWide(encoded, t.text);
        else
            fits = fits && appendStored(encoded, t.text);
        pieces.push_back({t.slot, from, encoded.size() - from, t.text.isEmpty()});
    }
    // Empty texts past the end of the row add nothing.
    while (!pieces.empty() && pieces.back().slot >= this->count() && pieces.back().empty)
        pieces.pop_back();
    if (pieces.empty())
        return;
    if (fits) {
        rebuild(pieces.data(), qsizetype(pieces.size()), encoded.constData());
        return;
    }
    // The row can no longer keep its texts as stored bytes.
    std::vector<QString> all = this->texts();
    for (qsizetype i = 0; i < count; ++i) {
        const SlotText &t = texts[i];
        if (t.slot < 0)
            continue;
        if (size_t(t.slot) >= all.size())
            all.resize(size_t(t.slot) + 1);
        all[size_t(t.slot)] = t.text.toString();
    }
    mBytes = pack(all);
    mCount = int(all.size());
}

QString RecordTexts::take(int slot)
{
    if (slot < 0 || slot >= count())
        return {};
    QString taken = text(slot);
    const int n = count() - 1;
    if (n == 0) {
        mBytes.clear();
        mCount = 0;
        return taken;
    }
    const quint32 from = offset(slot);
    const quint32 to = offset(slot + 1);
    const quint32 cut = to - from;
    const quint32 oldSize = offset(count());
    const qsizetype textsAt = HeaderSize + 4 * (qsizetype(n) + 1);
    QByteArray bytes(textsAt + qsizetype(oldSize - cut), Qt::Uninitialized);
    char *d = bytes.data();
    char *t = d + textsAt;
    d[0] = mBytes.at(0);
    putWord(d + 2, quint16(n));
    // Offsets up to the slot stay; the later ones lose the slot's bytes.
    std::memcpy(d + HeaderSize, mBytes.constData() + HeaderSize, 4 * (size_t(slot) + 1));
    for (int k = slot + 1; k <= n; ++k)
        putOffset(d + HeaderSize + 4 * qsizetype(k), offset(k + 1) - cut);
    std::memcpy(t, base(), from);
    std::memcpy(t + from, base() + to, oldSize - to);
    d[1] = d[0] == Stored && (mBytes.at(1) == 1 || allWrittenAsIs(t, oldSize - cut));
    mBytes = std::move(bytes);
    mCount = n;
    return taken;
}

void RecordTexts::rebuild(const Piece *pieces, qsizetype count, const char *encoded)
{
    const int oldCount = this->count();
    const char form = mBytes.isEmpty() ? Stored : mBytes.at(0);
    const quint32 emptySize = form == Stored ? 1 : 0;
    const int n = qMax(oldCount, pieces[count - 1].slot + 1);
    const quint32 oldSize = oldCount > 0 ? offset(oldCount) : 0;
    const auto oldLength = [&](int slot) {
        return slot < oldCount ? offset(slot + 1) - offset(slot) : emptySize;
    };
    qsizetype size = qsizetype(oldSize) + qsizetype(n - oldCount) * emptySize;
    for (qsizetype p = 0; p < count; ++p)
        size += pieces[p].size - qsizetype(oldLength(pieces[p].slot));
    const qsizetype textsAt = HeaderSize + 4 * (qsizetype(n) + 1);
    QByteArray bytes(textsAt + size, Qt::Uninitialized);
    char *d = bytes.data();
    char *t = d + textsAt;
    quint32 at = 0;
    qsizetype next = 0;
    for (int i = 0; i < n;) {
        putOffset(d + HeaderSize + 4 * qsizetype(i), at);
        if (next < count && pieces[next].slot == i) {
            const Piece &p = pieces[next++];
            std::memcpy(t + at, encoded + p.from, size_t(p.size));
            at += quint32(p.size);
            ++i;
        } else if (i < oldCount) {
            // A run of slots that keep their texts: one copy, the offsets
            // moved by what changed before them.
            const int end = next < count ? qMin(pieces[next].slot, oldCount) : oldCount;
            const quint32 from = offset(i);
            const quint32 length = offset(end) - from;
            std::memcpy(t + at, base() + from, length);
            for (int k = i + 1; k < end; ++k)
                putOffset(d + HeaderSize + 4 * qsizetype(k), offset(k) - from + at);
            at += length;
            i = end;
        } else {
            if (emptySize)
                t[at] = '\0';
            at += emptySize;
            ++i;
        }
    }
    putOffset(d + HeaderSize + 4 * qsizetype(n), at);
    d[0] = form;
    putWord(d + 2, quint16(n));
    // Only the new texts need looking at when the others were written as
    // they are kept.
    bool asIs = form == Stored;
    if (asIs && (oldCount == 0 || mBytes.at(1) == 1)) {
        for (qsizetype p = 0; p < count && asIs; ++p)
            asIs = allWrittenAsIs(encoded + pieces[p].from, pieces[p].size);
    } else if (asIs) {
        asIs = allWrittenAsIs(t, at);
    }
    d[1] = asIs;
    mBytes = std::move(bytes);
    mCount = n;
}
