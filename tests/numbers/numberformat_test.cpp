#include "numbertest.h"

using namespace NumberTest;

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
