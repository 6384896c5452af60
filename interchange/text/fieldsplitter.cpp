#include "interchange/text/fieldsplitter.h"

#include "core/format/codepage.h"

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
}

bool FieldSplitter::split(const char *begin, const char *end, bool crLines, Encoding &encoding,
                          DelimitedText::Line &line, DelimitedText::Notes &notes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(begin);
    const auto *const e = reinterpret_cast<const unsigned char *>(end);
    const int kept = qMax(0, mSettings.keptFields);
    // The fields before madeInline are made as the walk goes; under
    // lastFieldWins the last kept one is made at the end, from the field
    // that wins it.
    const int madeInline = mSettings.lastFieldWins ? qMax(0, kept - 1) : kept;
    const qsizetype room = qsizetype(e - p) + kept + 1;
    if (mRaw.size() < room)
        mRaw.resize(room);
    char *const raw = mRaw.data();
    char *o = raw;
    char *fieldOut = o;
    mBreaks = 0;
    mHasLineFeed = mHasCr = mHasHigh = false;
    qint64 nul = 0;
    qint64 notUtf8 = 0;
    bool joined = false;
    State s = State::FieldStart;
    int field = 0;
    bool making = madeInline > 0;
    const unsigned char *fieldBegin = p;
    // The last complete field past those made inline.
    const unsigned char *lastBegin = nullptr;
    const unsigned char *lastEnd = nullptr;
    while (p < e) {
        const unsigned char c = *p;
        const unsigned char kind = mClass[c];
        if (kind == Ordinary) {
            if (making)
                *o++ = char(c);
            if (s != State::Quoted)
                s = State::Plain;
            ++p;
            continue;
        }
        int length = 1; // bytes of the character, kept as they are
        switch (kind) {
        case Separator:
            if (s == State::Quoted)
                break;
            if (making) {
                *o++ = '\0';
                fieldOut = o;
            } else if (field >= madeInline) {
                lastBegin = fieldBegin;
                lastEnd = p;
            }
            ++field;
            making = field < madeInline;
            s = State::FieldStart;
            fieldBegin = ++p;
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
            nul += making;
            if (s != State::Quoted)
                s = State::Plain;
            ++p;
            continue;
        case LineFeed:
            ++mBreaks;
            joined = joined || (crLines && s != State::Quoted);
            mHasLineFeed = mHasLineFeed || making;
            break;
        case Return:
            mBreaks += !(p + 1 < e && p[1] == '\n');
            mHasCr = mHasCr || making;
            break;
        case High: {
            mHasHigh = mHasHigh || making;
            if (encoding == Encoding::Cp1252)
                break;
            char32_t codePoint = 0;
            const int n = TextCodec::utf8Sequence(p, e, &codePoint);
            if (n > 0) {
                if (encoding == Encoding::Ascii)
                    encoding = mMayRestart ? Encoding::Utf8Tentative : Encoding::Utf8;
                length = n;
            } else if (encoding == Encoding::Ascii) {
                encoding = Encoding::Cp1252;
            } else if (encoding == Encoding::Utf8Tentative) {
                return false;
            } else {
                ++notUtf8;
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
    int fields = field + 1;
    if (line.endsQuoted) {
        // The line ends inside a quoted text: that last field is dropped.
        fields = field;
        o = fieldOut;
    } else if (making) {
        *o++ = '\0';
    } else if (field >= madeInline) {
        lastBegin = fieldBegin;
        lastEnd = e;
    }
    if (mSettings.lastFieldWins && kept > 0 && lastBegin) {
        o = appendUnquoted(lastBegin, lastEnd, o);
        *o++ = '\0';
    }
    mRawSize = o - raw;
    line.separators = field;
    line.fields = qMin(fields, kept);
    if (fields > kept)
        notes.widerLines.add(line.number);
    if (joined)
        notes.joinedLines.add(line.number);
    if (nul > 0)
        notes.nulBytes.add(line.number, 0, nul);
    if (notUtf8 > 0)
        notes.notUtf8.add(line.number, 0, notUtf8);
    makeTexts(encoding, line, notes);
    return true;
}

char *FieldSplitter::appendUnquoted(const unsigned char *b, const unsigned char *e, char *out)
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
        mHasHigh = mHasHigh || c >= 0x80;
        *out++ = char(c);
    }
    return out;
}

void FieldSplitter::makeTexts(Encoding encoding, DelimitedText::Line &line,
                              DelimitedText::Notes &notes)
{
    const bool utf8 = encoding == Encoding::Utf8 || encoding == Encoding::Utf8Tentative;
    bool wide = mHasCr || (mHasLineFeed && !mSettings.gridLineBreaks);
    QByteArray *bytes = &mRaw;
    qsizetype size = mRawSize;
    if (!wide && utf8 && mHasHigh) {
        // Each UTF-8 sequence to its code page byte, unless one has none.
        if (mStored.size() < mRawSize)
            mStored.resize(mRawSize);
        const auto *p = reinterpret_cast<const unsigned char *>(mRaw.constData());
        const auto *const e = p + mRawSize;
        char *o = mStored.data();
        while (p < e && !wide) {
            if (*p < 0x80) {
                *o++ = char(*p++);
                continue;
            }
            char32_t codePoint = 0;
            const int n = TextCodec::utf8Sequence(p, e, &codePoint);
            const int b =
                n > 0 && codePoint <= 0xFFFF ? Codepage::byteFor(char16_t(codePoint)) : -1;
            wide = b < 0;
            *o++ = char(b);
            p += qMax(n, 1);
        }
        bytes = &mStored;
        size = o - mStored.constData();
    }
    if (!wide) {
        cutStored(*bytes, size, line, notes);
        return;
    }

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

void FieldSplitter::cutStored(QByteArray &bytes, qsizetype size, DelimitedText::Line &line,
                              DelimitedText::Notes &notes)
{
    line.wide = false;
    line.texts = nullptr;
    char *const data = bytes.data();
    const char *const end = data + size;
    bool longText = false;
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
