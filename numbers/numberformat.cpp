#include "numbers/numberformat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

// Reading. The text is checked and its significant digits gathered in one
// pass; the value then comes from std::from_chars, which is exact and knows
// no locale, on a normalised "0.<digits>e<exponent>".

// Significant digits kept. Which of two neighbouring doubles lies nearer is
// decided within the first 768 digits of a decimal, so beyond these only
// whether some nonzero digit follows matters.
constexpr int kMaxReadDigits = 800;
// A written exponent is held at this magnitude, far past any double's.
constexpr qint64 kExponentLimit = 1000000000;
// For 0.<digits> x 10^e: every e above this overflows, every e below the
// other rounds to zero. The e between are left to std::from_chars.
constexpr qint64 kOverflowExponent = 310;
constexpr qint64 kUnderflowExponent = -330;

enum class ReadState
{
    Lead,
    Sign,
    Integer,
    Fraction,
    ExponentLetter,
    ExponentSign,
    Exponent,
    Trail
};

constexpr bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

constexpr bool isExponentLetter(char16_t c)
{
    return c == u'e' || c == u'E';
}

// Writing. The value is first taken to 18 significant digits by
// std::to_chars; the forms then round that digit string.

constexpr int kWrittenDigits = 18;
constexpr int kMaxSignificant = 15;
constexpr int kMaxPlainExponent = 15;
constexpr int kMinPlainExponent = -3;

/// A magnitude 0.d1d2...dn x 10^exponent; no digits is zero. No trailing
/// zero digit is kept.
struct DecimalDigits
{
    char digits[kWrittenDigits];
    int count = 0;
    int exponent = 0;

    bool isZero() const { return count == 0; }

    void dropTrailingZeros()
    {
        while (count > 0 && digits[count - 1] == '0')
            --count;
    }

    /// Keeps the first @p keep digits, rounding half away from zero; a
    /// negative @p keep gives zero.
    void roundTo(int keep)
    {
        if (keep >= count)
            return;
        if (keep < 0) {
            count = 0;
            return;
        }
        const bool up = digits[keep] >= '5';
        count = keep;
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[i] == '9')
                --i;
            if (i < 0) {
                digits[0] = '1';
                count = 1;
                ++exponent;
                return;
            }
            ++digits[i];
            count = i + 1;
        }
        dropTrailingZeros();
    }
};

DecimalDigits toDecimal(double magnitude)
{
    DecimalDigits d;
    if (magnitude == 0.0)
        return d;
    // "d.ddddddddddddddddde-ddd"
    char text[40];
    const auto result = std::to_chars(text, text + sizeof text, magnitude,
                                      std::chars_format::scientific, kWrittenDigits - 1);
    d.digits[0] = text[0];
    std::memcpy(d.digits + 1, text + 2, kWrittenDigits - 1);
    d.count = kWrittenDigits;
    const char *e = text + kWrittenDigits + 1;
    const bool negative = e[1] == '-';
    int exponent = 0;
    std::from_chars(e + 2, result.ptr, exponent);
    d.exponent = (negative ? -exponent : exponent) + 1;
    d.dropTrailingZeros();
    return d;
}

class TextBuffer
{
public:
    void append(char16_t c) { mText[mSize++] = c; }
    void append(char c) { mText[mSize++] = char16_t(c); }
    void appendRepeated(char c, int n)
    {
        for (int i = 0; i < n; ++i)
            append(c);
    }
    void appendDigits(const char *digits, int n)
    {
        for (int i = 0; i < n; ++i)
            append(digits[i]);
    }
    void appendInteger(int n)
    {
        char text[12];
        const auto result = std::to_chars(text, text + sizeof text, n);
        appendDigits(text, int(result.ptr - text));
    }
    QString toString() const { return QString(reinterpret_cast<const QChar *>(mText), mSize); }

private:
    char16_t mText[48];
    int mSize = 0;
};

QString writeGeneral(const DecimalDigits &d, bool negative, char16_t decimal)
{
    if (d.isZero())
        return QStringLiteral("0");
    TextBuffer out;
    if (negative)
        out.append(u'-');
    if (d.exponent >= kMinPlainExponent && d.exponent <= kMaxPlainExponent) {
        if (d.exponent <= 0) {
            out.append('0');
            out.append(decimal);
            out.appendRepeated('0', -d.exponent);
            out.appendDigits(d.digits, d.count);
        } else {
            const int integerDigits = std::min(d.count, d.exponent);
            out.appendDigits(d.digits, integerDigits);
            out.appendRepeated('0', d.exponent - integerDigits);
            if (d.count > d.exponent) {
                out.append(decimal);
                out.appendDigits(d.digits + d.exponent, d.count - d.exponent);
            }
        }
    } else {
        out.append(d.digits[0]);
        if (d.count > 1) {
            out.append(decimal);
            out.appendDigits(d.digits + 1, d.count - 1);
        }
        out.append('E');
        const int shown = d.exponent - 1;
        if (shown < 0)
            out.append('-');
        out.appendInteger(shown < 0 ? -shown : shown);
    }
    return out.toString();
}

QString writeFixed(const DecimalDigits &d, int decimals, bool negative, char16_t decimal)
{
    TextBuffer out;
    if (negative && !d.isZero())
        out.append(u'-');
    const int integerPlaces = d.isZero() ? 0 : d.exponent;
    if (integerPlaces <= 0) {
        out.append('0');
    } else {
        const int integerDigits = std::min(d.count, integerPlaces);
        out.appendDigits(d.digits, integerDigits);
        out.appendRepeated('0', integerPlaces - integerDigits);
    }
    if (decimals > 0) {
        out.append(decimal);
        for (int place = 0; place < decimals; ++place) {
            const int i = integerPlaces + place;
            out.append(i >= 0 && i < d.count ? d.digits[i] : '0');
        }
    }
    return out.toString();
}

} // namespace

ParsedNumber ParseNumber(QStringView text, const NumberSeparators &sep)
{
    const char16_t decimal = sep.decimal.unicode();
    const char16_t thousands = sep.thousands.unicode();

    // "0." + digits + a sticky '1' + 'e' + exponent
    char number[2 + kMaxReadDigits + 1 + 1 + 24] = {'0', '.'};
    char *const digits = number + 2;
    int digitCount = 0;
    bool nonzeroDropped = false;
    qint64 pointExponent = 0; // the value is 0.<digits> x 10^(pointExponent + exponent)
    qint64 exponent = 0;
    bool negative = false;
    bool negativeExponent = false;

    const auto addDigit = [&](char16_t c) {
        if (digitCount < kMaxReadDigits)
            digits[digitCount++] = char(c);
        else if (c != u'0')
            nonzeroDropped = true;
    };
    const auto addIntegerDigit = [&](char16_t c) {
        if (digitCount == 0 && c == u'0')
            return;
        ++pointExponent;
        addDigit(c);
    };
    const auto addFractionDigit = [&](char16_t c) {
        if (digitCount == 0 && c == u'0')
            --pointExponent;
        else
            addDigit(c);
    };
    const auto addExponentDigit = [&](char16_t c) {
        exponent = std::min(exponent * 10 + (c - u'0'), kExponentLimit);
    };

    ReadState state = ReadState::Lead;
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c == thousands)
            continue;
        switch (state) {
        case ReadState::Lead:
            if (c == u' ')
                break;
            if (c == u'+' || c == u'-') {
                negative = c == u'-';
                state = ReadState::Sign;
                break;
            }
            [[fallthrough]];
        case ReadState::Sign:
            if (isDigit(c)) {
                addIntegerDigit(c);
                state = ReadState::Integer;
            } else if (c == decimal) {
                state = ReadState::Fraction;
            } else {
                return {};
            }
            break;
        case ReadState::Integer:
            if (isDigit(c))
                addIntegerDigit(c);
            else if (c == decimal)
                state = ReadState::Fraction;
            else if (isExponentLetter(c))
                state = ReadState::ExponentLetter;
            else if (c == u' ')
                state = ReadState::Trail;
            else
                return {};
            break;
        case ReadState::Fraction:
            if (isDigit(c))
                addFractionDigit(c);
            else if (isExponentLetter(c))
                state = ReadState::ExponentLetter;
            else if (c == u' ')
                state = ReadState::Trail;
            else
                return {};
            break;
        case ReadState::ExponentLetter:
            if (c == u'+' || c == u'-') {
                negativeExponent = c == u'-';
                state = ReadState::ExponentSign;
                break;
            }
            [[fallthrough]];
        case ReadState::ExponentSign:
        case ReadState::Exponent:
            if (isDigit(c)) {
                addExponentDigit(c);
                state = ReadState::Exponent;
            } else if (c == u' ') {
                state = ReadState::Trail;
            } else {
                return {};
            }
            break;
        case ReadState::Trail:
            if (c != u' ')
                return {};
            break;
        }
    }
    if (state == ReadState::Lead || state == ReadState::Sign)
        return {};

    if (digitCount == 0)
        return {true, 0.0};
    const qint64 scale = pointExponent + (negativeExponent ? -exponent : exponent);
    if (scale > kOverflowExponent)
        return {};
    if (scale < kUnderflowExponent)
        return {true, 0.0};

    if (nonzeroDropped) {
        digits[digitCount++] = '1';
    } else {
        while (digits[digitCount - 1] == '0')
            --digitCount;
    }
    char *end = digits + digitCount;
    *end++ = 'e';
    end = std::to_chars(end, number + sizeof number, scale).ptr;

    double value = 0.0;
    const auto result = std::from_chars(number, end, value);
    if (result.ec == std::errc::result_out_of_range)
        return scale > 0 ? ParsedNumber{} : ParsedNumber{true, 0.0};
    if (result.ec != std::errc())
        return {};
    return {true, negative ? -value : value};
}

ParsedNumber ParseNumber(QStringView text)
{
    return ParseNumber(text, NumberSeparators::current());
}

QString FormatNumber(qint32 decimals, double value, const NumberSeparators &sep)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    const char16_t decimal = sep.decimal.unicode();
    const bool negative = std::signbit(value);
    const DecimalDigits exact = toDecimal(std::fabs(value));

    const int fixedDecimals = decimals == -1 ? 0 : (decimals >= 1 && decimals <= 3 ? decimals : -1);
    if (fixedDecimals >= 0) {
        DecimalDigits fixed = exact;
        fixed.roundTo(std::min(kMaxSignificant, fixed.exponent + fixedDecimals));
        if (fixed.isZero() || fixed.exponent <= kMaxPlainExponent)
            return writeFixed(fixed, fixedDecimals, negative, decimal);
    }
    DecimalDigits general = exact;
    general.roundTo(kMaxSignificant);
    return writeGeneral(general, negative, decimal);
}

QString FormatNumber(qint32 decimals, double value)
{
    return FormatNumber(decimals, value, NumberSeparators::current());
}

QString FormatCount(qint64 count, const NumberSeparators &sep)
{
    // The magnitude as unsigned, so that the smallest qint64 has one too.
    const quint64 magnitude = count < 0 ? 0 - quint64(count) : quint64(count);
    const QString digits = QString::number(magnitude);
    QString out;
    out.reserve(digits.size() + digits.size() / 3 + 1);
    if (count < 0)
        out += QLatin1Char('-');
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += sep.thousands;
        out += digits[i];
    }
    return out;
}

QString FormatCount(qint64 count)
{
    return FormatCount(count, NumberSeparators::current());
}
