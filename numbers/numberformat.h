#pragma once

#include "numbers/numberseparators.h"

#include <QString>
#include <QStringView>

/// The outcome of ParseNumber(): whether the text is a number, and its value
/// (0 when it is not).
struct ParsedNumber
{
    bool ok = false;
    double value = 0.0;
};

/**
 * Reads a number written with the separators @p sep.
 *
 * Every thousands separator is dropped, wherever it stands. What is left must
 * be: spaces, an optional sign, digits, optionally the decimal separator and
 * digits, optionally 'E' or 'e' with an optional sign and digits, spaces. At
 * least one digit or the decimal separator must come before the exponent;
 * the exponent letter may stand without digits ("5E" is 5). Only ' ' is
 * blank, only ASCII digits are digits.
 *
 * The value is the double nearest the decimal written. One too large for a
 * double is not a number; one too small becomes its nearest double (a
 * subnormal, or 0). Every zero reads as +0.
 */
ParsedNumber ParseNumber(QStringView text, const NumberSeparators &sep);
/// ParseNumber() with NumberSeparators::current().
ParsedNumber ParseNumber(QStringView text);

/**
 * Writes @p value with the decimal separator of @p sep and no thousands
 * separators.
 *
 * @p decimals 0 (and any value other than -1 to 3) is the general form: 15
 * significant digits at most, in plain notation for magnitudes from 0.0001
 * up to below 1E15 and as "1.5E-7" otherwise. -1 is the fixed form with no
 * decimals, 1 to 3 the fixed form with that many; the fixed form of a value
 * of 1E15 or more is the general form. Rounding is half away from zero on
 * the value's 18-digit decimal. Infinities are "INF" and "-INF", a NaN "NAN".
 */
QString FormatNumber(qint32 decimals, double value, const NumberSeparators &sep);
/// FormatNumber() with NumberSeparators::current().
QString FormatNumber(qint32 decimals, double value);

/// @p count with its digits in groups of three, joined by the thousands
/// separator of @p sep ("57,541"; "-1.200" with '.'), as the status bar
/// tells how many things a command did.
QString FormatCount(qint64 count, const NumberSeparators &sep);
/// FormatCount() with NumberSeparators::current().
QString FormatCount(qint64 count);
