#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

class QIODevice;

/**
 * Reads a JSON document (UTF-8, RFC 8259) from a device a chunk at a time,
 * for a caller that knows which value comes next and asks for it: an
 * object's members, an array's elements, a text, a number, a truth value.
 *
 * It holds one chunk of the input and the value asked for, never more: a
 * text is refused once it passes the bytes its caller allows, a number
 * past 64 characters, a key past 64 bytes. Texts come out in the code page
 * of the database file (Windows-1252); a character that has no byte there,
 * and U+0000, which no text of the file can hold, are faults. The first
 * fault ends the reading and is kept with the path of the value it was
 * found at, as "$.fields[3].width: ...".
 */
class JsonReader
{
public:
    /// How a text's line breaks come out.
    enum class LineBreaks
    {
        AsWritten,
        Stored, ///< CR LF as LF, the form a record stores (a lone LF stays LF)
    };

    static constexpr qsizetype ChunkSize = 64 * 1024;
    static constexpr int MaxKeyBytes = 64;
    static constexpr int MaxNumberLength = 64;

    explicit JsonReader(QIODevice &device);

    /// Enters the object that must come next.
    bool enterObject();
    /// Moves on to the next member of the object entered last: true with
    /// its key in @p key; false at the object's end, which is left, or on
    /// a fault.
    bool nextMember(QByteArray &key);
    /// Enters the array that must come next.
    bool enterArray();
    /// Moves on to the next element of the array entered last: true when
    /// one follows; false at the array's end, which is left, or on a fault.
    bool nextElement();

    /// Appends the text that must come next to @p out in the code page.
    /// Once it has given more than @p maxBytes bytes, @p tooLong is the
    /// fault and the rest is not read.
    bool readText(QByteArray &out, qsizetype maxBytes, const QString &tooLong,
                  LineBreaks breaks = LineBreaks::AsWritten);
    /// The number that must come next, a whole one from @p min to @p max.
    bool readInteger(qint64 &value, qint64 min, qint64 max);
    /// The same into @p value, of a type that holds every number allowed.
    template <typename T> bool readIntegerInto(T &value, qint64 min, qint64 max)
    {
        qint64 v = 0;
        if (!readInteger(v, min, max))
            return false;
        value = T(v);
        return true;
    }
    /// The array of N whole numbers from @p min to @p max that must come next.
    template <typename T, size_t N>
    bool readIntegers(std::array<T, N> &values, qint64 min, qint64 max)
    {
        if (!enterArray())
            return false;
        for (T &value : values) {
            if (!nextElement())
                fail(QStringLiteral("%1 numbers expected").arg(N));
            if (failed() || !readIntegerInto(value, min, max))
                return false;
        }
        if (nextElement())
            fail(QStringLiteral("%1 numbers expected").arg(N));
        return !failed();
    }
    /// The number that must come next.
    bool readNumber(double &value);
    bool readBool(bool &value);
    /// Whether nothing but white space follows the document.
    bool finish();

    /// Makes @p what the fault, found at the current value.
    void fail(const QString &what);
    /// Makes @p what the fault, found at @p path.
    void failAt(const QString &path, const QString &what);
    bool failed() const { return !mFault.isEmpty(); }
    /// "PATH: WHAT" of the first fault; empty while there is none.
    const QString &fault() const { return mFault; }

    /// The path of the current value: "$", "$.fields[3]", ...
    QString path() const;
    /// The index of the current element of the array entered last.
    qint64 index() const { return mLevels.empty() ? -1 : mLevels.back().index; }

private:
    struct Level
    {
        bool array = false;
        bool first = true;
        qint64 index = -1;
        QByteArray key;
        bool named = false; ///< key is the current member's
    };

    /// The next byte without taking it; -1 at the end of the input.
    int peek()
    {
        return mPos < mEnd ? static_cast<unsigned char>(mBuffer.constData()[mPos])
                           : peekAfterRefill();
    }
    int peekAfterRefill();
    /// The next byte, taken; -1 at the end.
    int take();
    bool refill();
    void skipSpace();
    /// Takes @p expected, the first byte of a value of the kind @p what,
    /// after white space.
    bool open(char expected, const char *what);
    /// Which kind of value begins with @p c, for a fault.
    static QString kindOf(int c);
    /// The escape after a backslash, as a code point; -1 on a fault.
    qint32 escape();
    /// The rest of a UTF-8 sequence that begins with @p lead; -1 on a fault.
    qint32 utf8(unsigned char lead);
    /// Puts code point @p c into @p out as the code page has it.
    bool putCodePoint(QByteArray &out, qint32 c, LineBreaks breaks, bool &heldCr);
    bool literal(const char *word);

    QIODevice &mDevice;
    QByteArray mBuffer;
    qsizetype mPos = 0;
    qsizetype mEnd = 0;
    bool mAtEnd = false;
    std::vector<Level> mLevels;
    QString mFault;
};
