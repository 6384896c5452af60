#include "interchange/text/fieldsplitter.h"

#include "core/format/codepage.h"

#include <bit>
#include <cstring>

namespace {

/// What a byte is to the walk through a line.
enum : unsigned char
{
    Ordinary,
    Separator,
    Quote,
    Nul,
    LineFeed,
    Return,
    High, ///< 0x80 and above: part of a UTF-8 sequence, or a code page byte
};

/// Where a walk through a line stands.
enum class State
{
    FieldStart, ///< nothing of the field read yet
    Plain,      ///< in an unquoted text (or after a quoted one closed)
    Quoted,     ///< inside a quoted text
    QuoteSeen,  ///< a double quote inside a quoted text: closes it, or is doubled
};

/// Whether the database file keeps byte @p b of a text (it leaves out the
/// control bytes but TAB and LF).
bool storedByWriter(unsigned char b)
{
    return b >= 32 || b == '\t' || b == '\n';
}

/// How much of @p text the database file keeps within MaxCellText
/// characters, as its writer counts them.
qsizetype keptLength(QStringView text)
{
    qsizetype counted = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 32 || c == '\t' || c == '\n') {
            if (counted == Limits::MaxCellText)
                return i;
            ++counted;
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
        }
    }
    return text.size();
}

} // namespace

FieldSplitter::FieldSplitter(const DelimitedText::Settings &settings) : mSettings(settings)
{
    mClass.fill(Ordinary);
    for (int b = 0x80; b < 256; ++b)
        mClass[size_t(b)] = High;
    mClass[0] = Nul;
    mClass['\n'] = LineFeed;
    mClass['\r'] = Return;
    mClass['"'] = Quote;
    mClass[static_cast<unsigned char>(settings.separator)] = Separator;
    mSeparatorBytes = 0x0101010101010101ULL * static_cast<unsigned char>(settings.separator);
}

Q_ALWAYS_INLINE const unsigned char *
FieldSplitter::skipOrdinary(const unsigned char *p, const unsigned char *e, bool quoted) const
{
    if (p == e || (mClass[*p] != Ordinary && (!quoted || mClass[*p] != Separator)))
        return p; // the byte after a quote or a separator, most often

    // Eight bytes at a time: a byte is flagged when it is the separator
    // (outside a quoted text), a double quote, below 32 or from 0x80 on. In
    // each test the lowest flagged byte is the first that matches (little
    // end first), so the lowest of them all is where the run ends, or a
    // byte that is ordinary after all (a control byte, a separator in a
    // quoted text).
    constexpr quint64 Ones = 0x0101010101010101ULL;
    constexpr quint64 Highs = 0x8080808080808080ULL;
    if constexpr (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) {
        while (e - p >= 8) {
            quint64 w;
            std::memcpy(&w, p, sizeof w);
            const quint64 quote = w ^ (Ones * '"');
            const quint64 separator = quoted ? ~quint64(0) : w ^ mSeparatorBytes;
            const quint64 flagged = ((quote - Ones) & ~quote) | ((separator - Ones) & ~separator) |
                                    ((w - Ones * 32) & ~w) | w;
            if (const quint64 first = flagged & Highs) {
                p += std::countr_zero(first) / 8;
                if (mClass[*p] != Ordinary && (!quoted || mClass[*p] != Separator))
                    return p;
                break;
            }
            p += 8;
        }
    }
    while (p < e && (mClass[*p] == Ordinary || (quoted && mClass[*p] == Separator)))
        ++p;
    return p;
}

bool FieldSplitter::split(const char *begin, const char *end, bool crLines, Encoding &encoding,
                          DelimitedText::Line &line, DelimitedText::Notes &notes)
{
    const auto *b = reinterpret_cast<const unsigned char *>(begin);
    const auto *e = reinterpret_cast<const unsigned char *>(end);
    Counts counts;
    if (!walk(b, e, crLines, true, encoding, line, counts))
        return false;
    if (counts.fields > mSettings.keptFields)
        notes.widerLines.add(line.number);
    if (counts.joined)
        notes.joinedLines.add(line.number);
    if (counts.nul > 0)
        notes.nulBytes.add(line.number, 0, counts.nul);
    if (counts.notUtf8 > 0)
        notes.notUtf8.add(line.number, 0, counts.notUtf8);
    const bool wide = mHasCr || (mHasLineFeed && !mSettings.gridLineBreaks) || mNoByte;
    if (!wide) {
        cutStored(line, notes);
        return true;
    }
    // The texts as strings, from the bytes as the file has them.
    if (mConverted)
        walk(b, e, crLines, false, encoding, line, counts);
    makeStrings(encoding, line, notes);
    return true;
}

bool FieldSplitter::walk(const unsigned char *p, const unsigned char *const e, bool crLines,
                         bool convert, Encoding &encoding, DelimitedText::Line &line,
                         Counts &counts)
{
    const int kept = qMax(0, mSettings.keptFields);
    // The fields before madeInline are made as the walk goes; under
    // lastFieldWins the last kept one is made at the end, from the field
    // that wins it.
    const int madeInline = mSettings.lastFieldWins ? qMax(0, kept - 1) : kept;
    const qsizetype room = qsizetype(e - p) + kept + 1 + 8;
    if (mRaw.size() < room)
        mRaw.resize(room);
    char *const raw = mRaw.data();
    char *o = raw;
    char *fieldOut = o;
    mBreaks = 0;
    mHasLineFeed = mHasCr = mNoByte = mConverted = false;
    counts = {};
    State s = State::FieldStart;
    int field = 0;
    bool making = madeInline > 0;
    const unsigned char *fieldBegin = p;
    // The last complete field past those made inline.
    const unsigned char *lastBegin = nullptr;
    const unsigned char *lastEnd = nullptr;
    const unsigned char separator = static_cast<unsigned char>(mSettings.separator);
    // Copies the bytes [from, to) of a text, a few more when that is
    // quicker (the room has them, and they are written over).
    const auto copy = [&](const unsigned char *from, const unsigned char *to) {
        if (to - from <= 8 && e - from >= 8)
            std::memcpy(o, from, 8);
        else
            std::memcpy(o, from, size_t(to - from));
        o += to - from;
    };
    // Ends the field at the separator at @p at.
    const auto endField = [&](const unsigned char *at) {
        if (making) {
            *o++ = '\0';
            fieldOut = o;
        } else if (field >= madeInline) {
            lastBegin = fieldBegin;
            lastEnd = at;
        }
        ++field;
        making = field < madeInline;
        s = State::FieldStart;
        fieldBegin = p = at + 1;
    };
    while (p < e) {
        if (s == State::FieldStart) {
            // Most fields are a text of ordinary bytes, quoted or not, up
            // to the separator or the end: they are taken in one step.
            const bool quoted = *p == '"';
            const unsigned char *text = p + quoted;
            const unsigned char *stop = skipOrdinary(text, e, quoted);
            const unsigned char *after = stop + quoted;
            if ((!quoted || (stop < e && *stop == '"')) && (after == e || *after == separator)) {
                if (making)
                    copy(text, stop);
                if (after == e) {
                    p = e;
                    s = quoted ? State::QuoteSeen : State::Plain;
                    break;
                }
                endField(after);
                continue;
            }
        }
        // A run of ordinary bytes goes over in one copy.
        const unsigned char *run = skipOrdinary(p, e, s == State::Quoted);
        if (run != p) {
            if (making)
                copy(p, run);
            if (s != State::Quoted)
                s = State::Plain;
            p = run;
            if (p == e)
                break;
        }
        const unsigned char c = *p;
        int length = 1; // bytes of the character, kept as they are
        switch (mClass[c]) {
        case Separator:
            if (s == State::Quoted)
                break; // text (skipOrdinary passes most of them)
            endField(p);
            continue;
        case Quote:
            if (s == State::FieldStart) {
                s = State::Quoted;
                ++p;
                continue;
            }
            if (s == State::Quoted) {
                s = State::QuoteSeen;
                ++p;
                continue;
            }
            if (s == State::QuoteSeen) {
                s = State::Quoted;
                if (making)
                    *o++ = '"';
                ++p;
                continue;
            }
            break; // in an unquoted text a double quote is a character
        case Nul:
            counts.nul += making;
            if (s != State::Quoted)
                s = State::Plain;
            ++p;
            continue;
        case LineFeed:
            ++mBreaks;
            counts.joined = counts.joined || (crLines && s != State::Quoted);
            mHasLineFeed = mHasLineFeed || making;
            break;
        case Return:
            mBreaks += !(p + 1 < e && p[1] == '\n');
            mHasCr = mHasCr || making;
            break;
        case High: {
            if (encoding == Encoding::Cp1252)
                break;
            char32_t codePoint = 0;
            const int n = TextCodec::utf8Sequence(p, e, &codePoint);
            if (n == 0) {
                if (encoding == Encoding::Ascii) {
                    encoding = Encoding::Cp1252;
                } else if (encoding == Encoding::Utf8Tentative) {
                    return false;
                } else {
                    ++counts.notUtf8; // read as U+FFFD
                    mNoByte = mNoByte || making;
                }
                break;
            }
            if (encoding == Encoding::Ascii)
                encoding = mMayRestart ? Encoding::Utf8Tentative : Encoding::Utf8;
            length = n;
            if (making && convert) {
                // The code page's byte for the character, as stored.
                const int byte = codePoint <= 0xFFFF ? Codepage::byteFor(char16_t(codePoint)) : -1;
                mNoByte = mNoByte || byte < 0;
                mConverted = true;
                *o++ = char(byte);
                if (s != State::Quoted)
                    s = State::Plain;
                p += n;
                continue;
            }
            break;
        }
        }
        if (making) {
            std::memcpy(o, p, size_t(length));
            o += length;
        }
        if (s != State::Quoted)
            s = State::Plain;
        p += length;
    }

    line.endsQuoted = s == State::Quoted;
    counts.fields = field + 1;
    if (line.endsQuoted) {
        // The line ends inside a quoted text: that last field is dropped.
        counts.fields = field;
        o = fieldOut;
    } else if (making) {
        *o++ = '\0';
    } else if (field >= madeInline) {
        lastBegin = fieldBegin;
        lastEnd = e;
    }
    if (mSettings.lastFieldWins && kept > 0 && lastBegin) {
        const bool utf8 = encoding == Encoding::Utf8 || encoding == Encoding::Utf8Tentative;
        o = appendUnquoted(lastBegin, lastEnd, convert && utf8, o);
        *o++ = '\0';
    }
    mRawSize = o - raw;
    line.separators = field;
    line.fields = qMin(counts.fields, kept);
    return true;
}

char *FieldSplitter::appendUnquoted(const unsigned char *b, const unsigned char *e, bool convert,
                                    char *out)
{
    bool quoted = b < e && *b == '"';
    for (const unsigned char *p = quoted ? b + 1 : b; p < e; ++p) {
        const unsigned char c = *p;
        if (quoted && c == '"') {
            if (p + 1 < e && p[1] == '"') {
                *out++ = '"';
                ++p;
            } else {
                quoted = false; // closed: what follows is plain text
            }
            continue;
        }
        if (c == 0)
            continue;
        mHasLineFeed = mHasLineFeed || c == '\n';
        mHasCr = mHasCr || c == '\r';
        char32_t codePoint = 0;
        const int n = c >= 0x80 ? TextCodec::utf8Sequence(p, e, &codePoint) : 1;
        if (c >= 0x80 && convert) {
            const int byte =
                n > 0 && codePoint <= 0xFFFF ? Codepage::byteFor(char16_t(codePoint)) : -1;
            mNoByte = mNoByte || byte < 0;
            mConverted = true;
            *out++ = char(byte);
            p += qMax(n, 1) - 1;
            continue;
        }
        *out++ = char(c);
    }
    return out;
}

void FieldSplitter::makeStrings(Encoding encoding, DelimitedText::Line &line,
                                DelimitedText::Notes &notes)
{
    const bool utf8 = encoding == Encoding::Utf8 || encoding == Encoding::Utf8Tentative;
    line.wide = true;
    line.texts = &mTexts;
    mTexts.resize(size_t(line.fields));
    const char *p = mRaw.constData();
    for (int f = 0; f < line.fields; ++f) {
        const auto length = qsizetype(std::strlen(p));
        QString text = utf8 ? QString::fromUtf8(p, length) : Codepage::decode(p, length);
        p += length + 1;
        if (mSettings.gridLineBreaks && mHasLineFeed) {
            // A LF without a CR before it becomes the grid's CR LF.
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
                    text.insert(i++, QLatin1Char('\r'));
            }
        }
        const qsizetype keep = keptLength(text);
        if (keep < text.size()) {
            text.truncate(keep);
            notes.textsCut.add(line.number, f + 1);
        }
        mTexts[size_t(f)] = std::move(text);
    }
}

void FieldSplitter::cutStored(DelimitedText::Line &line, DelimitedText::Notes &notes)
{
    line.wide = false;
    line.texts = nullptr;
    qsizetype size = mRawSize;
    char *const data = mRaw.data();
    const char *const end = data + size;
    // No text is longer than the texts together.
    bool longText = false;
    if (size <= Limits::MaxCellText) {
        line.stored = QByteArrayView(data, size);
        return;
    }
    for (const char *f = data; f < end && !longText;) {
        const char *zero = static_cast<const char *>(std::memchr(f, 0, size_t(end - f)));
        longText = zero - f > Limits::MaxCellText;
        f = zero + 1;
    }
    if (longText) {
        // Every text within the characters the file keeps, the rest moved
        // down over what was cut.
        char *w = data;
        int f = 0;
        for (const char *t = data; t < end; ++f) {
            const char *zero = static_cast<const char *>(std::memchr(t, 0, size_t(end - t)));
            qsizetype keep = zero - t;
            if (keep > Limits::MaxCellText) {
                qsizetype counted = 0;
                qsizetype i = 0;
                for (; i < keep; ++i) {
                    if (storedByWriter(static_cast<unsigned char>(t[i]))) {
                        if (counted == Limits::MaxCellText)
                            break;
                        ++counted;
                    }
                }
                if (i < keep)
                    notes.textsCut.add(line.number, f + 1);
                keep = i;
            }
            std::memmove(w, t, size_t(keep));
            w += keep;
            *w++ = '\0';
            t = zero + 1;
        }
        size = w - data;
    }
    line.stored = QByteArrayView(data, size);
}
