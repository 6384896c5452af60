#include "interchange/print/fontmeasurer.h"

#include <algorithm>
#include <cmath>

namespace {

/// A width in 1/64 pixel, as the font's metrics keep it.
qint64 sixtyFourths(qreal pixels)
{
    return qint64(std::llround(pixels * 64));
}

/// The byte of @p c in the code page; -1 when it has none.
int byteOf(char16_t c)
{
    return c < 0x80 ? int(c) : Codepage::byteFor(c);
}

} // namespace

FontMeasurer::FontMeasurer(const QFont &font, Rounding rounding, Pairs pairs)
    : mFont(font), mMetrics(font), mRounding(rounding), mPairs(pairs)
{
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QChar c = Codepage::decode(&byte, 1).at(0);
        // Control characters are drawn by their place (TAB) or not at all.
        // A character is measured as a text of its own, as it is shaped
        // in a text (a soft hyphen takes no room there).
        const bool control = c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0);
        mAdvances[size_t(b)] =
            control ? Unmeasured : int(sixtyFourths(mMetrics.horizontalAdvance(QString(c))));
    }
    if (mPairs == Pairs::Measured)
        mPairAdjustments.assign(256 * 256, UnknownPair);
}

int FontMeasurer::rounded(qint64 sum) const
{
    return int(mRounding == Rounding::Nearest ? (sum + 32) >> 6 : (sum + 63) >> 6);
}

int FontMeasurer::pair(unsigned char a, unsigned char b) const
{
    qint16 &known = mPairAdjustments[size_t(a) * 256 + b];
    if (known == UnknownPair) {
        const char bytes[2] = {char(a), char(b)};
        const qint64 together =
            sixtyFourths(mMetrics.horizontalAdvance(Codepage::decode(bytes, 2)));
        known = qint16(std::clamp<qint64>(together - mAdvances[a] - mAdvances[b], -32767, 32767));
    }
    return known;
}

bool FontMeasurer::sum(const unsigned char *bytes, qsizetype size, qint64 *total) const
{
    qint64 width = 0;
    int previous = -1;
    for (qsizetype i = 0; i < size; ++i) {
        const int advance = mAdvances[bytes[i]];
        if (advance < 0)
            return false;
        width += advance;
        if (mPairs == Pairs::Measured && previous >= 0)
            width += pair(static_cast<unsigned char>(previous), bytes[i]);
        previous = bytes[i];
    }
    *total = width;
    return true;
}

int FontMeasurer::storedWidth(const char *bytes, qsizetype size) const
{
    qint64 width = 0;
    if (sum(reinterpret_cast<const unsigned char *>(bytes), size, &width))
        return rounded(width);
    return textWidth(Codepage::decodeStored(bytes, size));
}

int FontMeasurer::textWidth(const QString &text) const
{
    qint64 width = 0;
    int previous = -1;
    for (const QChar c : text) {
        const int b = byteOf(c.unicode());
        if (b < 0 || mAdvances[size_t(b)] < 0)
            return rounded(sixtyFourths(mMetrics.horizontalAdvance(text)));
        width += mAdvances[size_t(b)];
        if (mPairs == Pairs::Measured && previous >= 0)
            width += pair(static_cast<unsigned char>(previous), static_cast<unsigned char>(b));
        previous = b;
    }
    return rounded(width);
}
