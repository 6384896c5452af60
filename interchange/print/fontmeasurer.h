#pragma once

#include "core/platform/textmeasurer.h"

#include <QFont>
#include <QFontMetricsF>

#include <limits>
#include <vector>

/**
 * Measures texts in one font by adding up the advances of their
 * characters, kept in a table for each byte of the code page: a text as the
 * file stores it is measured from its bytes, without decoding, and a
 * million texts take milliseconds where shaping each would take seconds.
 *
 * The table holds each character's advance in 1/64 pixel, as the font's
 * metrics give it. A text with a character the table does not measure (a
 * character without a byte, a control character such as TAB, whose width
 * depends on its place) is measured whole by the font's metrics.
 *
 * With Pairs::Measured, each pair of neighbouring characters adds what the
 * font's metrics give the two together over the two apart (kerning,
 * ligatures), measured once per pair at its first use; the width is then
 * that of QFontMetrics::horizontalAdvance() but where the shaping of three
 * or more characters differs from that of their pairs. With Pairs::Ignored
 * every character keeps its own advance, as when glyphs are placed one by
 * one.
 */
class FontMeasurer : public TextMeasurer
{
public:
    enum class Rounding
    {
        Nearest, ///< as QFontMetrics rounds a text's width
        Up,      ///< the whole units that cover the text
    };
    enum class Pairs
    {
        Ignored,
        Measured,
    };

    FontMeasurer(const QFont &font, Rounding rounding, Pairs pairs);

    int textWidth(const QString &text) const override;
    int storedWidth(const char *bytes, qsizetype size) const override;

    /// The advance of the character of code page byte @p byte in 1/64
    /// pixel; negative when the table does not measure it.
    int advance(unsigned char byte) const { return mSteps[byte]; }

    const QFont &font() const { return mFont; }

private:
    /// What a character adds where the table has not measured it yet, and
    /// where it does not measure it.
    static constexpr qint32 Unknown = std::numeric_limits<qint32>::min();
    static constexpr qint32 Unmeasured = Unknown + 1;

    int rounded(qint64 sum) const;
    /// What @p b adds after @p a, measured now.
    qint32 learn(unsigned char a, unsigned char b) const;
    /// Sums the steps of @p size characters, each the byte @p byteAt(i)
    /// gives (-1: none); false when the table does not measure one.
    template <typename ByteAt> bool sum(qsizetype size, ByteAt byteAt, qint64 *total) const;

    QFont mFont;
    QFontMetricsF mMetrics;
    Rounding mRounding;
    Pairs mPairs;
    /// In 1/64 pixel, what byte b adds to a text after byte a, at
    /// [a * 256 + b]; row 0 (a zero byte never stands in a text) holds
    /// each character's own advance, the only row without pairs. Rows
    /// beyond 0 are filled as their pairs are met.
    mutable std::vector<qint32> mSteps;
};
