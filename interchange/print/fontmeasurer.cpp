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
    : mFont(font), mMetrics(font), mRounding(rounding), mPairs(pairs),
      mSteps(pairs == Pairs::Measured ? 256 * 256 : 256, Unknown)
{
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QChar c = Codepage::decode(&byte, 1).at(0);
        // Control characters are drawn by their place (TAB) or not at all.
        // A character is measured as a text of its own, as it is shaped
        // in a text (a soft hyphen takes no room there).
        const bool control = c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0);
        mSteps[size_t(b)] =
            control ? Unmeasured : qint32(sixtyFourths(mMetrics.horizontalAdvance(QString(c))));
        if (control && mPairs == Pairs::Measured) {
            for (size_t a = 1; a < 256; ++a)
                mSteps[a * 256 + size_t(b)] = Unmeasured;
        }
    }
}

int FontMeasurer::rounded(qint64 sum) const
{
    return int(mRounding == Rounding::Nearest ? (sum + 32) >> 6 : (sum + 63) >> 6);
}

qint32 FontMeasurer::learn(unsigned char a, unsigned char b) const
{
    // The pair together, less what the first adds alone.
    const char bytes[2] = {char(a), char(b)};
    const qint64 together = sixtyFourths(mMetrics.horizontalAdvance(Codepage::decode(bytes, 2)));
    return qint32(std::clamp<qint64>(together - mSteps[a], qint64(Unmeasured) + 1,
                                     std::numeric_limits<qint32>::max()));
}

template <typename ByteAt>
bool FontMeasurer::sum(qsizetype size, ByteAt byteAt, qint64 *total) const
{
    const bool pairs = mPairs == Pairs::Measured;
    qint32 *const steps = mSteps.data();
    qint64 width = 0;
    size_t previous = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const int b = byteAt(i);
        if (b < 0)
            return false;
        const size_t at = previous * 256 + size_t(b);
        qint32 step = steps[at];
        if (step <= Unmeasured) {
            if (step == Unmeasured)
                return false;
            step = steps[at] =
                learn(static_cast<unsigned char>(previous), static_cast<unsigned char>(b));
        }
        width += step;
        if (pairs)
            previous = size_t(b);
    }
    *total = width;
    return true;
}

int FontMeasurer::storedWidth(const char *bytes, qsizetype size) const
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes);
    qint64 width = 0;
    if (sum(
            size, [b](qsizetype i) { return int(b[i]); }, &width))
        return rounded(width);
    return textWidth(Codepage::decodeStored(bytes, size));
}

int FontMeasurer::textWidth(const QString &text) const
{
    const auto *c = reinterpret_cast<const char16_t *>(text.utf16());
    qint64 width = 0;
    if (sum(
            text.size(), [c](qsizetype i) { return byteOf(c[i]); }, &width))
        return rounded(width);
    return rounded(sixtyFourths(mMetrics.horizontalAdvance(text)));
}
