#pragma once

#include "numbers/numberformat.h"

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

/// The separators and helpers the number tests share.
namespace NumberTest {

inline const NumberSeparators kPoint{QChar(u'.'), QChar(u',')};
inline const NumberSeparators kComma{QChar(u','), QChar(u'.')};

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

/// The same text for the comma setting: '.' and ',' trade places.
inline std::string swapped(std::string text)
{
    for (char &c : text) {
        if (c == '.')
            c = ',';
        else if (c == ',')
            c = '.';
    }
    return text;
}

inline ParsedNumber parse(const std::string &text, const NumberSeparators &sep)
{
    return ParseNumber(QString::fromStdString(text), sep);
}

inline std::string format(qint32 decimals, double value, const NumberSeparators &sep)
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
inline void expectParses(const std::vector<ParseCase> &cases)
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

inline ParsedNumber parsePoint(const std::string &text)
{
    return parse(text, kPoint);
}

struct FormatCase
{
    qint32 decimals;
    double value;
    std::string text; // with '.' as the decimal separator
};

inline void expectFormats(const std::vector<FormatCase> &cases)
{
    for (const FormatCase &c : cases) {
        EXPECT_EQ(format(c.decimals, c.value, kPoint), c.text) << c.decimals << ", " << c.value;
        EXPECT_EQ(format(c.decimals, c.value, kComma), swapped(c.text))
            << c.decimals << ", " << c.value;
    }
}

} // namespace NumberTest
