#include "interchange/text/delimitedtext.h"

#include "core/platform/progress.h"
#include "interchange/text/fieldsplitter.h"

#include <QIODevice>

#include <cstring>

namespace {

constexpr qsizetype Chunk = 256 * 1024;
/// What of a pipe is kept while its text may still have to be read again.
constexpr qint64 KeptForRestart = 64 * 1024 * 1024;
/// Lines between two reports of progress.
constexpr qint64 ReportEvery = 256;
constexpr char CtrlZ = 26;

using Encoding = FieldSplitter::Encoding;

/// How the file's lines end, as its first line end outside quotes says.
enum class LineEnds
{
    Undecided,
    Cr, ///< CR (CR LF); a LF alone is a character of the line
    Lf, ///< LF, CR or CR LF outside quoted texts
};

/// One reading of a text, from its start; read() makes a second one when a
/// UTF-8 reading proves wrong.
class Reader
{
public:
    Reader(QIODevice &device, const DelimitedText::Settings &settings, DelimitedText::Sink &sink,
           Progress &progress)
        : mDevice(device), mSettings(settings), mSink(sink), mProgress(progress),
          mSplitter(settings), mStart(device.pos()),
          mSize(device.isSequential() ? 0 : device.size() - device.pos())
    {
    }

    DelimitedText::Result run();

private:
    enum class Pass
    {
        Done,
        AgainAsCp1252,
    };
    enum class Found
    {
        Line,
        End, ///< no further line
        TooLong,
        Failed,
    };

    Pass readAll(DelimitedText::Result &result);
    /// Finds the end of the line that begins at mBegin: [mBegin, mLineEnd)
    /// is the line, mNext where the next one begins.
    Found findLineEnd();
    /// Where a quoted text left open ends the line: at its first line break.
    void endAtQuotedBreak();
    /// Reads more bytes behind mEnd; false when the device fails.
    bool fill();
    /// Ends the text at a Ctrl-Z at @p at.
    void endAtCtrlZ(qsizetype at);
    bool startAgain();
    void settle();

    QIODevice &mDevice;
    DelimitedText::Settings mSettings;
    DelimitedText::Sink &mSink;
    Progress &mProgress;
    FieldSplitter mSplitter;
    const qint64 mStart;
    const qint64 mSize; ///< bytes to read, when known

    // The bytes: [mBegin, mEnd) read and not yet taken; mScan how far the
    // search for the line end has come.
    QByteArray mBuffer;
    qsizetype mBegin = 0;
    qsizetype mScan = 0;
    qsizetype mEnd = 0;
    qsizetype mLineEnd = 0;
    qsizetype mNext = 0;
    bool mEof = false;
    bool mCtrlZ = false;
    qint64 mRead = 0;

    // The search through a line of LF line ends.
    LineEnds mLineEnds = LineEnds::Undecided;
    bool mQuoted = false;      ///< inside a quoted text
    bool mFieldStart = true;   ///< nothing of the field read yet
    bool mQuoteSeen = false;   ///< a double quote inside a quoted text
    qsizetype mQuoteAt = 0;    ///< where the quoted text opened
    bool mQuotedBreak = false; ///< the quoted text holds a line break
    bool mQuoteLeftOpen = false;

    Encoding mEncoding = Encoding::Ascii;
    // A pipe's bytes, kept while the encoding is not settled.
    std::vector<QByteArray> mKept;
    qint64 mKeptSize = 0;
    bool mKeeping = false;
    std::vector<QByteArray> mReplay;
    size_t mReplayAt = 0;
};

DelimitedText::Result Reader::run()
{
    switch (mSettings.encoding) {
    case TextEncoding::Auto:
        mEncoding = Encoding::Ascii;
        break;
    case TextEncoding::Utf8:
        mEncoding = Encoding::Utf8;
        break;
    case TextEncoding::Cp1252:
        mEncoding = Encoding::Cp1252;
        break;
    }
    mKeeping = mDevice.isSequential() && mEncoding == Encoding::Ascii;
    for (;;) {
        DelimitedText::Result result;
        if (readAll(result) == Pass::Done) {
            result.encoding =
                mEncoding == Encoding::Cp1252 ? TextEncoding::Cp1252 : TextEncoding::Utf8;
            return result;
        }
        mSink.restart();
        mEncoding = Encoding::Cp1252;
        if (!startAgain()) {
            result = {};
            result.status = DelimitedText::Status::ReadFailed;
            return result;
        }
    }
}

bool Reader::startAgain()
{
    mBuffer.clear();
    mBegin = mScan = mEnd = mLineEnd = mNext = 0;
    mEof = mCtrlZ = false;
    mRead = 0;
    mLineEnds = LineEnds::Undecided;
    mKeeping = false;
    if (!mDevice.isSequential())
        return mDevice.seek(mStart);
    mReplay = std::move(mKept);
    mReplayAt = 0;
    mKept.clear();
    mKeptSize = 0;
    return true;
}

void Reader::settle()
{
    if (!mKeeping)
        return;
    if (mEncoding == Encoding::Utf8 || mEncoding == Encoding::Cp1252) {
        mKeeping = false;
        mKept.clear();
        mKeptSize = 0;
    } else if (mKeptSize > KeptForRestart) {
        // Too much to keep: the reading stays as it is.
        mKeeping = false;
        mKept.clear();
        mKeptSize = 0;
        mSplitter.setMayRestart(false);
        if (mEncoding == Encoding::Utf8Tentative)
            mEncoding = Encoding::Utf8;
    }
}

bool Reader::fill()
{
    // What is not taken yet moves to the front.
    if (mBegin > 0) {
        std::memmove(mBuffer.data(), mBuffer.constData() + mBegin, size_t(mEnd - mBegin));
        mScan -= mBegin;
        mQuoteAt -= mBegin;
        mEnd -= mBegin;
        mBegin = 0;
    }
    if (mBuffer.size() < mEnd + Chunk)
        mBuffer.resize(mEnd + Chunk);
    qint64 n = 0;
    if (mReplayAt < mReplay.size()) {
        const QByteArray piece = std::move(mReplay[mReplayAt++]);
        if (mReplayAt == mReplay.size())
            mReplay.clear();
        if (mBuffer.size() < mEnd + piece.size())
            mBuffer.resize(mEnd + piece.size());
        std::memcpy(mBuffer.data() + mEnd, piece.constData(), size_t(piece.size()));
        n = piece.size();
    } else {
        n = mDevice.read(mBuffer.data() + mEnd, Chunk);
        if (n < 0)
            return false;
        if (mKeeping && n > 0) {
            mKept.emplace_back(mBuffer.constData() + mEnd, qsizetype(n));
            mKeptSize += n;
            settle();
        }
    }
    mEof = n == 0;
    mEnd += qsizetype(n);
    mRead += n;
    return true;
}

void Reader::endAtCtrlZ(qsizetype at)
{
    // Whether anything follows the Ctrl-Z: in what was read, or in a file.
    mCtrlZ = at + 1 < mEnd || (!mDevice.isSequential() && !mDevice.atEnd());
    mEnd = at;
    mEof = true;
}

Reader::Found Reader::findLineEnd()
{
    const char separator = mSettings.separator;
    for (;;) {
        const char *d = mBuffer.constData();
        const qsizetype limit = qMin(mEnd, mBegin + DelimitedText::MaxLineBytes + 1);
        if (mLineEnds == LineEnds::Cr) {
            const auto *cr = static_cast<const char *>(std::memchr(d + mScan, '\r', limit - mScan));
            const qsizetype stop = cr ? cr - d : limit;
            if (const void *z = std::memchr(d + mScan, CtrlZ, size_t(stop - mScan))) {
                endAtCtrlZ(static_cast<const char *>(z) - d);
                continue;
            }
            mScan = stop;
        } else {
            // The quotes matter here: a line break inside a quoted text is
            // text.
            for (; mScan < limit; ++mScan) {
                const char c = d[mScan];
                if (c == CtrlZ) {
                    endAtCtrlZ(mScan);
                    break;
                }
                if (c == '\r' && mLineEnds == LineEnds::Undecided) {
                    mLineEnds = LineEnds::Cr; // a CR anywhere in the first line
                    break;
                }
                if (c == '\r' && !mQuoted)
                    break;
                if (c == '\n' && !mQuoted) {
                    mLineEnds = LineEnds::Lf;
                    break;
                }
                if (c == separator && !mQuoted) {
                    mFieldStart = true;
                    mQuoteSeen = false;
                    continue;
                }
                if (c == '"') {
                    if (mFieldStart || mQuoteSeen) {
                        mQuoted = true;
                        if (mFieldStart) {
                            mQuoteAt = mScan;
                            mQuotedBreak = false;
                        }
                        mFieldStart = mQuoteSeen = false;
                        continue;
                    }
                    if (mQuoted) {
                        mQuoted = false;
                        mQuoteSeen = true;
                        continue;
                    }
                }
                mQuotedBreak = mQuotedBreak || (mQuoted && (c == '\n' || c == '\r'));
                mFieldStart = mQuoteSeen = false;
            }
        }
        if (mScan < mEnd && mScan < limit) {
            // A line break at mScan.
            if (d[mScan] == '\r' && mScan + 1 == mEnd && !mEof) {
                if (!fill()) // is a LF next?
                    return Found::Failed;
                continue;
            }
            mLineEnd = mScan;
            mNext = mScan + 1;
            if (d[mScan] == '\r' && mNext < mEnd && d[mNext] == '\n')
                ++mNext;
            return Found::Line;
        }
        if (mScan > mBegin + DelimitedText::MaxLineBytes) {
            if (mLineEnds != LineEnds::Cr && mQuoted && mQuotedBreak) {
                endAtQuotedBreak();
                return Found::Line;
            }
            return Found::TooLong;
        }
        if (mEof) {
            if (mLineEnds != LineEnds::Cr && mQuoted && mQuotedBreak) {
                endAtQuotedBreak();
                return Found::Line;
            }
            if (mBegin == mEnd)
                return Found::End;
            mLineEnd = mNext = mEnd;
            return Found::Line;
        }
        if (!fill())
            return Found::Failed;
    }
}

void Reader::endAtQuotedBreak()
{
    const char *d = mBuffer.constData();
    qsizetype at = mQuoteAt + 1;
    while (d[at] != '\n' && d[at] != '\r')
        ++at;
    mLineEnd = at;
    mNext = at + 1 + (d[at] == '\r' && at + 1 < mEnd && d[at + 1] == '\n');
    mQuoteLeftOpen = true;
    if (mLineEnds == LineEnds::Undecided)
        mLineEnds = LineEnds::Lf;
}

Reader::Pass Reader::readAll(DelimitedText::Result &result)
{
    DelimitedText::Count &count = result.count;
    DelimitedText::Notes &notes = result.notes;
    // A UTF-8 byte-order mark says what the file is, and is no text.
    while (mEnd < 3 && !mEof) {
        if (!fill()) {
            result.status = DelimitedText::Status::ReadFailed;
            return Pass::Done;
        }
    }
    if (mEncoding != Encoding::Cp1252 && mEnd >= 3 &&
        std::memcmp(mBuffer.constData(), "\xEF\xBB\xBF", 3) == 0) {
        mEncoding = Encoding::Utf8;
        mBegin = mScan = 3;
    }
    settle();

    qint64 number = 1;
    DelimitedText::Line line;
    for (;;) {
        if (count.lines == DelimitedText::MaxLines) {
            // No more lines are read; is there one?
            while (mBegin == mEnd && !mEof) {
                if (!fill()) {
                    result.status = DelimitedText::Status::ReadFailed;
                    return Pass::Done;
                }
            }
            if (mBegin < mEnd && mBuffer[mBegin] != CtrlZ) {
                notes.unreadLine = number;
                ++count.lines;
            }
            break;
        }
        mQuoted = mQuoteSeen = mQuoteLeftOpen = false;
        mFieldStart = true;
        const Found found = findLineEnd();
        if (found == Found::End)
            break;
        if (found == Found::Failed) {
            result.status = DelimitedText::Status::ReadFailed;
            return Pass::Done;
        }
        if (found == Found::TooLong) {
            result.status = DelimitedText::Status::LineTooLong;
            result.line = number;
            return Pass::Done;
        }
        line = {};
        line.number = number;
        const char *d = mBuffer.constData();
        if (!mSplitter.split(d + mBegin, d + mLineEnd, mLineEnds == LineEnds::Cr, mEncoding, line,
                             notes))
            return Pass::AgainAsCp1252;
        settle();
        if (line.endsQuoted)
            (mQuoteLeftOpen ? notes.quoteLeftOpen : notes.endedInQuotes).add(line.number);
        count.irregular = count.irregular || line.endsQuoted ||
                          (count.maxSeparators >= 0 && line.separators != count.maxSeparators);
        count.maxSeparators = qMax(count.maxSeparators, line.separators);
        ++count.lines;
        mSink.take(line);
        number += mSplitter.breaks() + (mNext > mLineEnd);
        mBegin = mScan = mNext;
        if (count.lines % ReportEvery == 0 &&
            !mProgress.advance(mSize > 0 ? int(qMin<qint64>(999, 1000 * mRead / mSize)) : 0)) {
            result.status = DelimitedText::Status::Cancelled;
            return Pass::Done;
        }
    }
    if (mCtrlZ)
        notes.ctrlZLine = number;
    if (mEncoding == Encoding::Ascii || mEncoding == Encoding::Utf8Tentative)
        mEncoding = mEncoding == Encoding::Ascii ? Encoding::Cp1252 : Encoding::Utf8;
    return Pass::Done;
}

} // namespace

DelimitedText::Result DelimitedText::read(QIODevice &device, const Settings &settings, Sink &sink,
                                          Progress &progress)
{
    return Reader(device, settings, sink, progress).run();
}

bool DelimitedText::formatQuestionNeeded(const Count &count)
{
    return count.irregular || count.maxSeparators < 1 || count.lines < 2 ||
           count.maxSeparators > 52 || count.lines > MaxLines;
}
