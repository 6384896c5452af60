#include "values/numbers/numberformat.h"

#include <gtest/gtest.h>

#include <QString>

#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

const NumberSeparators kPoint{QChar(u'.'), QChar(u',')};
const NumberSeparators kComma{QChar(u','), QChar(u'.')};

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

/// The same text for the comma setting: '.' and ',' trade places.
std::string swapped(std::string text)
{
    for (char &c : text) {
        if (c == '.')
            c = ',';
        else if (c == ',')
            c = '.';
    }
    return text;
}

ParsedNumber parse(const std::string &text, const NumberSeparators &sep)
{
    return ParseNumber(QString::fromStdString(text), sep);
}

std::string format(qint32 decimals, double value, const NumberSeparators &sep)
{
    return FormatNumber(decimals, value, sep).toStdString();
}

struct ParseCase
{
    std::string text; // with '.' as the decimal and ',' as the thousands separator
    bool ok;
    double value;
};

/// Checks each case as written with '.'/',' and, swapped, with ','/'.'.
void expectParses(const std::vector<ParseCase> &cases)
{
    for (const ParseCase &c : cases) {
        for (const bool comma : {false, true}) {
            const std::string text = comma ? swapped(c.text) : c.text;
            const ParsedNumber r = parse(text, comma ? kComma : kPoint);
            EXPECT_EQ(r.ok, c.ok) << '"' << text << '"';
            EXPECT_EQ(r.value, c.ok ? c.value : 0.0) << '"' << text << '"';
            if (r.value == 0.0) {
                EXPECT_FALSE(std::signbit(r.value)) << '"' << text << '"' << " (a zero is +0)";
            }
        }
    }
}

ParsedNumber parsePoint(const std::string &text)
{
    return parse(text, kPoint);
}

struct FormatCase
{
    qint32 decimals;
    double value;
    std::string text; // with '.' as the decimal separator
};

void expectFormats(const std::vector<FormatCase> &cases)
{
    for (const FormatCase &c : cases) {
        EXPECT_EQ(format(c.decimals, c.value, kPoint), c.text) << c.decimals << ", " << c.value;
        EXPECT_EQ(format(c.decimals, c.value, kComma), swapped(c.text))
            << c.decimals << ", " << c.value;
    }
}

TEST(ParseNumberTest, Examples)
{
    expectParses({
        {"1,234.5", true, 1234.5},
        {" -3 ", true, -3},
        {"1e3", true, 1000},
        {".", true, 0},
        {"12abc", false, 0},
        {"INF", false, 0},
        {"E5", false, 0},
        {"", false, 0},
        {"1,5", true, 15},
        {"3.5", true, 3.5},
    });
}

TEST(ParseNumberTest, Blanks)
{
    expectParses({
        {"  12  ", true, 12},
        {"1e5 ", true, 1e5},
        {"\t1", false, 0},
        {"1\t", false, 0},
        {" ", false, 0},
        {"   ", false, 0},
        {"1 2", false, 0},
        {"1 e5", false, 0},
        {"1e 5", false, 0},
        {"1 .5", false, 0},
        {"\xC2\xA0"
         "1",
         false, 0}, // no-break space
        {"1\xC2\xA0", false, 0},
        {"1\n", false, 0},
    });
}

TEST(ParseNumberTest, Signs)
{
    expectParses({
        {"+.5", true, 0.5},
        {"-.5", true, -0.5},
        {"+7", true, 7},
        {"- 1", false, 0},
        {"+ 1", false, 0},
        {"--1", false, 0},
        {"+-1", false, 0},
        {"-+1", false, 0},
        {"1-", false, 0},
        {"+", false, 0},
        {"-", false, 0},
        {"+.", true, 0},
        {"-.", true, 0},
        {"-0", true, 0},
        {"-0.000", true, 0},
    });
}

TEST(ParseNumberTest, MantissaAndExponent)
{
    expectParses({
        {"5.", true, 5},
        {".5e1", true, 5},
        {".e5", true, 0},
        {"00012", true, 12},
        {"1e+3", true, 1000},
        {"1E-3", true, 0.001},
        {"5E", true, 5},
        {"5e", true, 5},
        {"5E+", true, 5},
        {"5e-", true, 5},
        {"5e- ", true, 5},
        {"1e007", true, 1e7},
        {"e", false, 0},
        {"e5", false, 0},
        {"1e3e4", false, 0},
        {"1e3.5", false, 0},
        {"1E5E", false, 0},
        {"1e++3", false, 0},
        {"1.2.3", false, 0},
        {"0x10", false, 0},
        {"nan", false, 0},
        {"inf", false, 0},
        {"1d3", false, 0},
        {"\xD9\xA1", false, 0},     // ARABIC-INDIC DIGIT ONE
        {"\xEF\xBC\x91", false, 0}, // FULLWIDTH DIGIT ONE
        {"1\xEF\xBC\x91", false, 0},
    });
}

TEST(ParseNumberTest, ThousandsSeparatorAnywhere)
{
    expectParses({
        {"1,,2", true, 12},
        {",1", true, 1},
        {"1,", true, 1},
        {",,,1,2,3,.,5,", true, 123.5},
        {",-1", true, -1},
        {"-,1", true, -1},
        {" , 1", true, 1},
        {"1e1,0", true, 1e10},
        {"1,e,3", true, 1000},
        {"1 , ", true, 1},
        {",", false, 0},
        {",,,", false, 0},
        {" , ", false, 0},
        {"1 ,2", false, 0},
    });

    // A thousands separator outside ASCII, as some locales have.
    const NumberSeparators nbsp{QChar(u','), QChar(u'\u00A0')};
    EXPECT_EQ(ParseNumber(u"1\u00A0234,5", nbsp).value, 1234.5);
    EXPECT_TRUE(ParseNumber(u"\u00A0\u00A01", nbsp).ok);
    EXPECT_FALSE(ParseNumber(u"1 234,5", nbsp).ok);
    EXPECT_FALSE(ParseNumber(u"1.5", nbsp).ok);
}

TEST(ParseNumberTest, RangeOfADouble)
{
    constexpr double max = std::numeric_limits<double>::max();
    constexpr double tiniest = std::numeric_limits<double>::denorm_min();

    EXPECT_EQ(parsePoint("1.7976931348623157e308").value, max);
    // Below and above the midpoint between the largest double and the next power.
    EXPECT_EQ(parsePoint("1.7976931348623158e308").value, max);
    EXPECT_FALSE(parsePoint("1.7976931348623159e308").ok);
    EXPECT_FALSE(parsePoint("1e309").ok);
    EXPECT_FALSE(parsePoint("-1.8e308").ok);
    EXPECT_EQ(parsePoint("1" + std::string(308, '0')).value, 1e308);
    EXPECT_FALSE(parsePoint("1" + std::string(309, '0')).ok);

    EXPECT_EQ(parsePoint("2.2250738585072014e-308").value, DBL_MIN);
    EXPECT_EQ(parsePoint("4.9406564584124654e-324").value, tiniest);
    EXPECT_EQ(parsePoint("2.5e-324").value, tiniest);
    EXPECT_EQ(parsePoint("-2.5e-324").value, -tiniest);
    EXPECT_EQ(parsePoint("1e-310").value, 1e-310);

    // Too small: the nearest double, zero.
    for (const char *text : {"2.4e-324", "1e-400", "-1e-400", "1e-99999999999999999999"}) {
        const ParsedNumber r = parsePoint(text);
        EXPECT_TRUE(r.ok) << text;
        EXPECT_EQ(r.value, 0.0) << text;
        EXPECT_FALSE(std::signbit(r.value)) << text;
    }
}

TEST(ParseNumberTest, HugeExponentsSaturate)
{
    EXPECT_FALSE(parsePoint("1e99999999999999999999").ok);
    EXPECT_FALSE(parsePoint("-1e+99999999999999999999").ok);
    EXPECT_FALSE(parsePoint("1e" + std::string(5000, '9')).ok);
    EXPECT_EQ(parsePoint("1e-" + std::string(5000, '9')).value, 0.0);
    EXPECT_TRUE(parsePoint("0e99999999999999999999").ok);
    EXPECT_TRUE(parsePoint("0.000e" + std::string(5000, '9')).ok);
    EXPECT_EQ(parsePoint("0e99999999999999999999").value, 0.0);
    // The exponent is not taken from 64 bits modulo anything.
    EXPECT_FALSE(parsePoint("1e18446744073709551617").ok);
    EXPECT_EQ(parsePoint("1e-18446744073709551617").value, 0.0);
}

TEST(ParseNumberTest, LongDigitStrings)
{
    EXPECT_EQ(parsePoint("0." + std::string(1000, '0') + "1e1001").value, 1.0);
    EXPECT_EQ(parsePoint("1" + std::string(5000, '0') + "e-5000").value, 1.0);
    EXPECT_EQ(parsePoint(std::string(5000, '0') + "1.5").value, 1.5);
    EXPECT_EQ(parsePoint("0." + std::string(3000, '9')).value, 1.0);
    EXPECT_EQ(parsePoint(std::string(10000, ',') + "1").value, 1.0);
    EXPECT_EQ(parsePoint("1." + std::string(4000, '0')).value, 1.0);

    // 2^53 + 1 lies midway between two doubles and goes to the even one; any
    // nonzero digit after it, however far, decides for the upper one.
    EXPECT_EQ(parsePoint("9007199254740993").value, 9007199254740992.0);
    EXPECT_EQ(parsePoint("9007199254740993." + std::string(1000, '0')).value, 9007199254740992.0);
    EXPECT_EQ(parsePoint("9007199254740993." + std::string(1000, '0') + "1").value,
              9007199254740994.0);
    EXPECT_EQ(parsePoint("9007199254740993" + std::string(1000, '0') + "1e-1001").value,
              9007199254740994.0);
    EXPECT_EQ(parsePoint("-9007199254740993." + std::string(2000, '0') + "1").value,
              -9007199254740994.0);
}

TEST(FormatNumberTest, Examples)
{
    expectFormats({
        {0, 1.0 / 3, "0.333333333333333"},
        {0, 2.0 / 3, "0.666666666666667"},
        {0, 10.0 / 4, "2.5"},
        {0, 0.0001, "0.0001"},
        {0, 0.00001, "1E-5"},
        {0, 1e15, "1E15"},
        {0, 123456789012345678.0, "1.23456789012346E17"},
        {2, 2.0 / 3, "0.67"},
        {2, 10, "10.00"},
        {2, -0.001, "0.00"},
        {-1, 2.5, "3"},
        {-1, -2.5, "-3"},
        {1, 0.05, "0.1"},
        {0, 1e-300, "1E-300"},
        {0, 1e308, "1E308"},
        {0, 999999999999999.5, "1E15"},
    });
}

TEST(FormatNumberTest, GeneralForm)
{
    expectFormats({
        {0, 0.0, "0"},
        {0, -0.0, "0"},
        {0, 0.1, "0.1"},
        {0, 0.3, "0.3"},
        {0, 0.1 + 0.2, "0.3"},
        {0, 100, "100"},
        {0, 1234.5, "1234.5"},
        {0, -1234.5, "-1234.5"},
        {0, 0.001, "0.001"},
        {0, 0.000123, "0.000123"},
        {0, 0.00012345678901234567, "0.000123456789012346"},
        {0, 123456789012345.0, "123456789012345"},
        {0, 1e14, "100000000000000"},
        {0, 1.5e-7, "1.5E-7"},
        {0, -1.25e-10, "-1.25E-10"},
        {0, 1e21, "1E21"},
        {0, 12345678901234567890.0, "1.23456789012346E19"},
        {0, 9.99999999999999e-05, "9.99999999999999E-5"},
        {0, -3.0e100, "-3E100"},
        {0, DBL_MAX, "1.79769313486232E308"},
        {0, -DBL_MAX, "-1.79769313486232E308"},
        {0, DBL_MIN, "2.2250738585072E-308"},
        {0, std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
    });
}

TEST(FormatNumberTest, CarryAcrossAllDigits)
{
    expectFormats({
        {0, 0.9999999999999999, "1"},
        {0, -0.9999999999999999, "-1"},
        {0, 99999999999999.98, "100000000000000"}, // stays plain at 15 integer digits
        {0, 999999999999999.9, "1E15"},
        {0, 9.999999999999995e-05, "0.0001"}, // carries into plain notation
        {0, 9.9999999999999995e299, "1E300"},
        {2, 99.999, "100.00"},
        {2, 9999999999999.998, "10000000000000.00"},
        {-1, 999999999999999.4, "999999999999999"},
        {-1, 999999999999999.5, "1E15"}, // the carry makes it too large for the fixed form
        {1, -9.96, "-10.0"},
    });
}

TEST(FormatNumberTest, FixedForm)
{
    expectFormats({
        {3, 0.0, "0.000"},
        {2, -0.0, "0.00"},
        {-1, -0.0, "0"},
        {-1, 0.4, "0"},
        {-1, -0.4, "0"},
        {-1, 0.5, "1"},
        {-1, -0.5, "-1"},
        {-1, 1.5, "2"},
        {1, -0.04, "0.0"},
        {1, -0.05, "-0.1"},
        {2, 0.005, "0.01"},
        {2, -0.005, "-0.01"},
        {2, 0.0049, "0.00"},
        {3, 0.0005, "0.001"},
        {3, 0.00049, "0.000"},
        {2, 0.00001, "0.00"},
        {2, 1e-300, "0.00"},
        {3, std::numeric_limits<double>::denorm_min(), "0.000"},
        {1, 7, "7.0"},
        {3, -12.5, "-12.500"},
        {2, 1234567.891, "1234567.89"},
        {-1, 100000000000000.0, "100000000000000"},
        // Never more than 15 significant digits; the places past them are zeros.
        {3, 123456789012.3456, "123456789012.346"},
        {3, 1234567890123.456, "1234567890123.460"},
        {2, 123456789012345.0, "123456789012345.00"},
        // From 1E15 on, the general form.
        {2, 1e15, "1E15"},
        {3, -1e16, "-1E16"},
        {-1, 1234567890123456789.0, "1.23456789012346E18"},
        {3, DBL_MAX, "1.79769313486232E308"},
    });
}

TEST(FormatNumberTest, RoundsTheEighteenDigitDecimal)
{
    // Each double lies just below a midpoint, but its 18-digit decimal is the
    // midpoint itself, which goes away from zero.
    expectFormats({
        {2, 0.125, "0.13"},
        {2, -0.125, "-0.13"},
        {2, 2.675, "2.67"},
        {2, 1.005, "1.00"},
        {2, 1000.005, "1000.01"},
        {2, -1000.255, "-1000.26"},
        {3, 0.1245, "0.125"},
        {3, 0.0195, "0.020"},
        {0, 2.024969571677115, "2.02496957167712"},
        {0, 122.5036785304425, "122.503678530443"},
        {0, 0.02488579074833875, "0.0248857907483388"},
    });
}

TEST(FormatNumberTest, InfinityAndNaN)
{
    for (const qint32 decimals : {0, -1, 1, 2, 3, 4, -5}) {
        EXPECT_EQ(format(decimals, kInf, kPoint), "INF");
        EXPECT_EQ(format(decimals, -kInf, kComma), "-INF");
        EXPECT_EQ(format(decimals, kNaN, kPoint), "NAN");
        EXPECT_EQ(format(decimals, -kNaN, kComma), "NAN");
    }
}

TEST(FormatNumberTest, OtherDecimalsMeanTheGeneralForm)
{
    for (const qint32 decimals : {4, 7, 15, -2, -5, std::numeric_limits<qint32>::min(),
                                  std::numeric_limits<qint32>::max()}) {
        EXPECT_EQ(format(decimals, 2.0 / 3, kPoint), "0.666666666666667") << decimals;
        EXPECT_EQ(format(decimals, 1e-5, kComma), "1E-5") << decimals;
        EXPECT_EQ(format(decimals, -0.0, kPoint), "0") << decimals;
        EXPECT_EQ(format(decimals, 2.5, kComma), "2,5") << decimals;
    }
}

// ---- Oracles from the C library -------------------------------------------------------------

/// A magnitude as digits d1 d2 ... and the exponent of d1 (d1.d2... x 10^exponent).
struct CDecimal
{
    std::string digits;
    int exponent = 0;
};

/// The C library's 18-digit decimal of @p magnitude. Only digits are read, so
/// the locale's decimal point does not matter.
CDecimal cDecimal18(double magnitude)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17e", magnitude);
    CDecimal d;
    const char *p = text;
    for (; *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9')
            d.digits += *p;
    }
    d.exponent = std::atoi(p + 1);
    return d;
}

/// Adds half a unit at digit @p keep, then truncates to @p keep digits: half
/// away from zero. No digits left means zero.
void roundHalfAway(CDecimal &d, int keep)
{
    if (keep < 0) {
        d.digits.clear();
        return;
    }
    if (keep >= int(d.digits.size()))
        return;
    std::string sum = "0" + d.digits; // room for the carry
    int i = keep + 1;
    int carry = (sum[i] - '0') + 5 >= 10 ? 1 : 0;
    sum.resize(i);
    for (--i; carry && i >= 0; --i) {
        const int digit = sum[i] - '0' + carry;
        sum[i] = char('0' + digit % 10);
        carry = digit / 10;
    }
    if (sum[0] == '1') {
        ++d.exponent;
        d.digits = sum.substr(0, keep == 0 ? 1 : keep);
    } else {
        d.digits = sum.substr(1);
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
}

/// The double nearest the decimal, by strtod on digits and an exponent alone.
double cValue(const CDecimal &d, bool negative)
{
    if (d.digits.empty())
        return 0.0;
    const std::string text = (negative ? "-" : "") + d.digits + "e" +
                             std::to_string(d.exponent - int(d.digits.size()) + 1);
    return std::strtod(text.c_str(), nullptr);
}

/// Random doubles with |x| <= 1e308: any binary exponent, exponents near 1,
/// and short decimals such as prices.
class RandomDoubles
{
public:
    explicit RandomDoubles(std::uint64_t seed) : mRng(seed) {}

    double next(int kind)
    {
        if (kind == 2) {
            const double n = double(
                std::uniform_int_distribution<std::int64_t>(-10000000000, 10000000000)(mRng));
            return n / std::pow(10.0, std::uniform_int_distribution<int>(0, 8)(mRng));
        }
        for (;;) {
            const std::uint64_t mantissa = mRng() & ((std::uint64_t(1) << 52) - 1);
            const int biased = kind == 0 ? std::uniform_int_distribution<int>(0, 2046)(mRng)
                                         : std::uniform_int_distribution<int>(963, 1083)(mRng);
            const std::uint64_t sign = (mRng() & 1) << 63;
            const double x = std::bit_cast<double>(sign | (std::uint64_t(biased) << 52) | mantissa);
            if (std::fabs(x) <= 1e308)
                return x;
        }
    }

private:
    std::mt19937_64 mRng;
};

TEST(FormatNumberTest, GeneralFormReadsBackAsFifteenDigitDecimal)
{
    RandomDoubles random(0x5eed0001);
    for (int i = 0; i < 200000; ++i) {
        const double x = random.next(i % 3);
        CDecimal expected = cDecimal18(std::fabs(x));
        roundHalfAway(expected, 15);
        const double oracle = cValue(expected, std::signbit(x));
        const bool plain =
            expected.digits.empty() || (expected.exponent >= -4 && expected.exponent <= 14);

        for (const NumberSeparators &sep : {kPoint, kComma}) {
            const QString text = FormatNumber(0, x, sep);
            const ParsedNumber back = ParseNumber(text, sep);
            ASSERT_TRUE(back.ok) << text.toStdString();
            ASSERT_EQ(back.value, oracle) << "x = " << x << ", text " << text.toStdString();
            ASSERT_EQ(text.contains(u'E'), !plain) << text.toStdString();
            ASSERT_FALSE(text.contains(sep.thousands)) << text.toStdString();
        }
    }
}

TEST(FormatNumberTest, FixedFormReadsBackAsRoundedDecimal)
{
    RandomDoubles random(0x5eed0002);
    std::mt19937 rng(0x5eed0004);
    for (int i = 0; i < 40000; ++i) {
        double x = random.next(i % 3);
        if (i % 3 != 2) { // below 2^49, under the general form's threshold
            int unused = 0;
            x = std::ldexp(std::frexp(x, &unused),
                           std::uniform_int_distribution<int>(-30, 49)(rng));
        }
        for (const qint32 decimals : {-1, 1, 2, 3}) {
            const int places = decimals < 0 ? 0 : decimals;
            CDecimal expected = cDecimal18(std::fabs(x));
            roundHalfAway(expected, std::min(15, expected.exponent + 1 + places));
            const double oracle = cValue(expected, std::signbit(x));

            const QString text = FormatNumber(decimals, x, kComma);
            const ParsedNumber back = ParseNumber(text, kComma);
            ASSERT_TRUE(back.ok) << text.toStdString();
            ASSERT_EQ(back.value, oracle) << "x = " << x << ", text " << text.toStdString();
            const qsizetype point = text.indexOf(u',');
            ASSERT_EQ(point < 0 ? 0 : text.size() - point - 1, places) << text.toStdString();
            ASSERT_EQ(text.startsWith(u'-'), oracle < 0) << text.toStdString();
        }
    }
}

TEST(ParseNumberTest, AgreesWithStrtodOnRandomTexts)
{
    std::mt19937_64 rng(0x5eed0003);
    const auto below = [&](int n) { return int(rng() % std::uint64_t(n)); };
    const auto digits = [&](int n) {
        std::string s;
        for (int i = 0; i < n; ++i)
            s += char('0' + below(10));
        return s;
    };

    for (int i = 0; i < 30000; ++i) {
        const int longest = i % 50 == 0 ? 1200 : 22;
        const std::string integer = digits(below(longest + 1));
        const bool hasPoint = below(2) == 0;
        const std::string fraction = hasPoint ? digits(below(longest + 1)) : std::string();
        if (integer.empty() && fraction.empty())
            continue;
        const int sign = below(3);
        const int exponent = below(721) - 360;
        const int exponentForm = below(4); // none, "e" alone, "e<n>", "E<+/-n>"

        std::string text = std::string(below(3), ' ') +
                           (sign == 1   ? "-"
                            : sign == 2 ? "+"
                                        : "") +
                           integer + (hasPoint ? "." : "") + fraction;
        int written = 0;
        if (exponentForm == 1) {
            text += "e";
        } else if (exponentForm >= 2) {
            written = exponent;
            text += exponentForm == 2
                        ? "e" + std::to_string(exponent)
                        : (exponent < 0 ? "E-" : "E+") + std::to_string(std::abs(exponent));
        }
        text += std::string(below(3), ' ');
        for (int n = below(4); n > 0; --n)
            text.insert(text.begin() + below(int(text.size()) + 1), ',');

        const std::string c = (sign == 1 ? "-" : "") + (integer + fraction + "0") + "e" +
                              std::to_string(written - int(fraction.size()) - 1);
        const double expected = std::strtod(c.c_str(), nullptr);
        const bool overflow = std::isinf(expected);

        for (const bool comma : {false, true}) {
            const std::string t = comma ? swapped(text) : text;
            const ParsedNumber r = parse(t, comma ? kComma : kPoint);
            ASSERT_EQ(r.ok, !overflow) << t;
            if (!overflow) {
                ASSERT_EQ(r.value, expected) << t;
            }
        }
    }
}

// ---- The process -----------------------------------------------------------------------------

class CurrentSeparatorsGuard
{
public:
    CurrentSeparatorsGuard() : mSaved(NumberSeparators::current()) {}
    ~CurrentSeparatorsGuard() { NumberSeparators::setCurrent(mSaved); }

private:
    NumberSeparators mSaved;
};

TEST(NumberSeparatorsTest, CurrentPairServesTheShortForms)
{
    const CurrentSeparatorsGuard guard;
    EXPECT_EQ(NumberSeparators::us(), kPoint);

    NumberSeparators::setCurrent(kComma);
    EXPECT_EQ(NumberSeparators::current(), kComma);
    EXPECT_EQ(ParseNumber(u"1.234,5").value, 1234.5);
    EXPECT_EQ(FormatNumber(2, 1.5), QStringLiteral("1,50"));

    NumberSeparators::setCurrent(NumberSeparators::us());
    EXPECT_EQ(ParseNumber(u"1.234,5").value, 1.2345);
    EXPECT_EQ(FormatNumber(2, 1.5), QStringLiteral("1.50"));
}

TEST(NumberSeparatorsTest, SystemPairIsNeverEmpty)
{
    const NumberSeparators sep = NumberSeparators::system();
    EXPECT_FALSE(sep.decimal.isNull());
    EXPECT_FALSE(sep.thousands.isNull());
}

TEST(NumberFormatTest, ProcessLocaleDoesNotMatter)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const char *chosen = nullptr;
    for (const char *name :
         {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8", "nl_NL.UTF-8"}) {
        if (std::setlocale(LC_ALL, name)) {
            chosen = name;
            break;
        }
    }
    if (!chosen)
        GTEST_SKIP() << "no locale with a decimal comma is installed";

    const std::string text = format(2, 1.5, kPoint);
    const ParsedNumber r = parse("1.5", kPoint);
    const std::string general = format(0, 1.25e-7, kPoint);
    std::setlocale(LC_ALL, saved.c_str());

    EXPECT_EQ(text, "1.50") << chosen;
    EXPECT_EQ(general, "1.25E-7") << chosen;
    EXPECT_EQ(r.value, 1.5) << chosen;
}

} // namespace
