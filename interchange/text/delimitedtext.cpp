#include "interchange/text/delimitedtext.h"

#include "core/platform/progress.h"

#include <QIODevice>

namespace {

constexpr qint64 ReadChunk = 1 << 20;
constexpr char16_t Quote = u'"';
constexpr char16_t CtrlZ = 26;

/// Where a walk through a line stands.
enum class State
{
    FieldStart, ///< nothing of the field read yet
    Plain,      ///< in an unquoted text (or after a quoted one closed)
    Quoted,     ///< inside a quoted text
    QuoteSeen,  ///< a double quote inside a quoted text: closes it, or is doubled
};

/// The next state after @p c; a separator outside quotes ends the field,
/// which @p fieldEnd then says.
inline State step(State s, QChar c, QChar separator, bool *fieldEnd)
{
    *fieldEnd = false;
    switch (s) {
    case State::FieldStart:
    case State::Plain:
    case State::QuoteSeen:
        if (c == separator) {
            *fieldEnd = true;
            return State::FieldStart;
        }
        if (s == State::FieldStart && c == Quote)
            return State::Quoted;
        return s == State::QuoteSeen && c == Quote ? State::Quoted : State::Plain;
    case State::Quoted:
        return c == Quote ? State::QuoteSeen : State::Quoted;
    }
    return s;
}

} // namespace

DelimitedText::DelimitedText(QString text, QChar separator)
    : mText(std::move(text)), mSeparator(separator)
{
    const qsizetype end = mText.indexOf(QChar(CtrlZ));
    if (end >= 0)
        mText.truncate(end);
    cutLines();
    countLines();
}

std::optional<DelimitedText> DelimitedText::load(QIODevice &device, QChar separator,
                                                 TextEncoding encoding, Progress &progress,
                                                 bool *cancelled)
{
    *cancelled = false;
    QByteArray bytes;
    const qint64 size = device.size();
    if (size > 0)
        bytes.reserve(qsizetype(size));
    for (;;) {
        const qsizetype before = bytes.size();
        bytes.resize(before + ReadChunk);
        const qint64 n = device.read(bytes.data() + before, ReadChunk);
        if (n < 0)
            return std::nullopt;
        bytes.resize(before + qsizetype(n));
        if (n == 0)
            break;
        if (!progress.advance(size > 0 ? int(qMin<qint64>(300, 300 * bytes.size() / size)) : 0)) {
            *cancelled = true;
            return std::nullopt;
        }
    }
    DelimitedText text(TextCodec::decode(bytes, encoding), separator);
    if (!progress.advance(500)) {
        *cancelled = true;
        return std::nullopt;
    }
    return text;
}

void DelimitedText::cutLines()
{
    const QStringView text(mText);
    const qsizetype size = text.size();
    qsizetype begin = 0;
    if (text.contains(QLatin1Char('\r'))) {
        for (qsizetype i = 0; i < size; ++i) {
            if (text[i] != u'\r')
                continue;
            mLines.push_back(text.sliced(begin, i - begin));
            if (i + 1 < size && text[i + 1] == u'\n')
                ++i;
            begin = i + 1;
        }
    } else {
        State s = State::FieldStart;
        bool fieldEnd = false;
        for (qsizetype i = 0; i < size; ++i) {
            const QChar c = text[i];
            if (c == u'\n' && s != State::Quoted) {
                mLines.push_back(text.sliced(begin, i - begin));
                begin = i + 1;
                s = State::FieldStart;
                continue;
            }
            s = step(s, c, mSeparator, &fieldEnd);
        }
    }
    if (begin < size)
        mLines.push_back(text.sliced(begin));
}

int DelimitedText::countSeparators(QStringView line, QChar separator, bool *endsQuoted)
{
    State s = State::FieldStart;
    int count = 0;
    bool fieldEnd = false;
    for (const QChar c : line) {
        s = step(s, c, separator, &fieldEnd);
        count += fieldEnd;
    }
    *endsQuoted = s == State::Quoted;
    return count;
}

void DelimitedText::countLines()
{
    for (const QStringView line : mLines) {
        bool endsQuoted = false;
        const int separators = countSeparators(line, mSeparator, &endsQuoted);
        mCount.irregular = mCount.irregular || endsQuoted ||
                           (mCount.maxSeparators >= 0 && separators != mCount.maxSeparators);
        mCount.maxSeparators = qMax(mCount.maxSeparators, separators);
        ++mCount.lines;
    }
}

bool DelimitedText::formatQuestionNeeded() const
{
    return mCount.irregular || mCount.maxSeparators < 1 || mCount.lines < 2 ||
           mCount.maxSeparators > 52 || mCount.lines > 32001;
}

void DelimitedText::split(QStringView line, QChar separator, std::vector<QString> &fields)
{
    fields.clear();
    State s = State::FieldStart;
    qsizetype begin = 0;
    QString built; // the field once a quote is involved
    bool building = false;
    bool fieldEnd = false;
    const qsizetype size = line.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = line[i];
        const State before = s;
        s = step(s, c, separator, &fieldEnd);
        if (fieldEnd) {
            fields.push_back(building ? built : line.sliced(begin, i - begin).toString());
            begin = i + 1;
            building = false;
            continue;
        }
        if (before == State::FieldStart && s == State::Quoted) {
            building = true;
            built.clear();
        } else if (building && s != State::QuoteSeen) {
            built += c; // text, or the second of a doubled quote
        }
    }
    if (s == State::Quoted)
        return; // the line ended inside quotes: its last field is dropped
    fields.push_back(building ? built : line.sliced(begin).toString());
}
