#include "numbertest.h"

#include <QLocale>

using namespace NumberTest;

namespace {

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

TEST(FormatCountTest, GroupsAsQtLocalesDo)
{
    // Qt's own locales group in threes with ',' (English) and '.'
    // (German); each count must also read back as itself.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    std::vector<qint64> counts{0,
                               7,
                               999,
                               1000,
                               57541,
                               32000,
                               100000,
                               999999,
                               -1,
                               -1000,
                               -57541,
                               1234567890123LL,
                               std::numeric_limits<qint64>::max(),
                               std::numeric_limits<qint64>::min()};
    std::mt19937_64 rng(25);
    for (int i = 0; i < 200; ++i)
        counts.push_back(qint64(rng() >> (rng() % 63)) * (i % 2 ? 1 : -1));
    std::vector<std::string> wrong;
    for (const qint64 n : counts) {
        const QString point = FormatCount(n, kPoint);
        const QString comma = FormatCount(n, kComma);
        const bool readsBack = ParseNumber(point, kPoint).value == double(n);
        if (point != english.toString(n) || comma != german.toString(n) || !readsBack)
            wrong.push_back(std::to_string(n) + ": " + point.toStdString() + " " +
                            comma.toStdString());
    }
    EXPECT_EQ(wrong, std::vector<std::string>{});
}

} // namespace
