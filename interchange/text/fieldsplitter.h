#pragma once

#include "interchange/text/delimitedtext.h"

#include <QByteArray>

#include <array>
#include <vector>

/**
 * Splits one line of a delimited text into its fields and makes the texts
 * of the fields kept (DelimitedText describes the rules), walking the
 * line's bytes once. The texts go into one buffer as a record stores them,
 * or, when one of them cannot be stored that way, into strings. Fields past
 * those kept are counted; under Settings::lastFieldWins the last of them
 * alone is made, into the last field kept.
 */
class FieldSplitter
{
public:
    /// How the bytes are read so far.
    enum class Encoding
    {
        Ascii,         ///< read as Auto, nothing but ASCII yet
        Utf8Tentative, ///< read as Auto, valid UTF-8 with a multi-byte sequence so far
        Utf8,
        Cp1252,
    };

    explicit FieldSplitter(const DelimitedText::Settings &settings);

    /// Whether a UTF-8 reading that proves wrong may still be given up
    /// (the text can be read again); otherwise Ascii settles as Utf8 at
    /// the first valid multi-byte sequence, and bytes that are not UTF-8
    /// are read as U+FFFD.
    void setMayRestart(bool may) { mMayRestart = may; }

    /// Splits the line of bytes [@p begin, @p end) into @p line (its
    /// number already set), counting what was not taken as it stands in
    /// @p notes. @p crLines: the file's lines end with CR, so a LF outside
    /// quotes joined two lines. False when a tentative UTF-8 reading has
    /// met a sequence that is not UTF-8: the text is to be read again as
    /// Windows-1252, and @p line and @p notes are of no use.
    bool split(const char *begin, const char *end, bool crLines, Encoding &encoding,
               DelimitedText::Line &line, DelimitedText::Notes &notes);

    /// The line breaks inside the line split last (a CR LF one).
    qint64 breaks() const { return mBreaks; }

private:
    /// What a walk through a line counts.
    struct Counts
    {
        int fields = 0; ///< as split, past those kept too
        qint64 nul = 0;
        qint64 notUtf8 = 0;
        bool joined = false;
    };
    /// The first byte from @p p on that is not ordinary to the walk (inside
    /// a quoted text when @p quoted, where the separator is ordinary).
    const unsigned char *skipOrdinary(const unsigned char *p, const unsigned char *e,
                                      bool quoted) const;
    /// Walks the line [@p p, @p e), making the kept fields' texts into
    /// mRaw: each UTF-8 sequence as its code page byte when @p convert,
    /// else the bytes as they are.
    bool walk(const unsigned char *p, const unsigned char *e, bool crLines, bool convert,
              Encoding &encoding, DelimitedText::Line &line, Counts &counts);
    /// Appends the field [@p b, @p e), which holds no separator outside a
    /// quoted text, without its quotes.
    char *appendUnquoted(const unsigned char *b, const unsigned char *e, bool convert, char *out);
    /// The kept fields' texts as strings, from their bytes in mRaw.
    void makeStrings(Encoding encoding, DelimitedText::Line &line, DelimitedText::Notes &notes);
    /// Cuts every stored text in mRaw after MaxCellText characters.
    void cutStored(DelimitedText::Line &line, DelimitedText::Notes &notes);

    DelimitedText::Settings mSettings;
    std::array<unsigned char, 256> mClass{};
    quint64 mSeparatorBytes = 0; ///< the separator in every byte
    bool mMayRestart = true;
    /// The kept fields without their quotes, each ended by a zero byte.
    QByteArray mRaw;
    qsizetype mRawSize = 0;
    std::vector<QString> mTexts;
    qint64 mBreaks = 0;
    bool mHasLineFeed = false; ///< a kept field holds a LF
    bool mHasCr = false;       ///< a kept field holds a CR
    bool mNoByte = false;      ///< a kept field holds a character without a code page byte
    bool mConverted = false;   ///< UTF-8 sequences were made code page bytes
};
