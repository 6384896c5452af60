#pragma once

#include "numbers/numberseparators.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

/**
 * The user's locale, as far as the program's values need it: the number
 * separators, the short date and long time formats (written and parsed),
 * collation and upper-casing. The engine asks only through this interface,
 * so that no result depends on the machine a test runs on. QtLocaleService
 * is the real one.
 */
class LocaleService
{
public:
    virtual ~LocaleService() = default;

    /// The system's decimal and thousands separators.
    virtual NumberSeparators separators() const = 0;

    /// @p date in the short date format, the year always with four digits.
    virtual QString formatDate(const QDate &date) const = 0;
    /// A date in the short date format; a two-digit year is taken in the
    /// century window of twoDigitYearBase(). Nothing when it is no date.
    virtual std::optional<QDate> parseDate(const QString &text) const = 0;

    /// @p time in the long time format, without a time zone.
    virtual QString formatTime(const QTime &time) const = 0;
    /// A time in the long time format (a time zone, if written, ignored).
    virtual std::optional<QTime> parseTime(const QString &text) const = 0;

    /// Case-sensitive collation: negative, zero or positive.
    virtual int compare(const QString &a, const QString &b) const = 0;
    /// Every letter in upper case, as the locale has it.
    virtual QString toUpper(const QString &text) const = 0;

    /// Only the letters a to z upper-cased, every other character kept
    /// (the rule of the filters and of Find).
    static QString upperAsciiLetters(const QString &text)
    {
        QString out = text;
        for (QChar &c : out) {
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - 'a' + 'A');
        }
        return out;
    }

    /// A two-digit year is taken in the hundred years from this one on:
    /// 50 to 99 are 1950 to 1999, 00 to 49 are 2000 to 2049.
    static constexpr int twoDigitYearBase() { return 1950; }
};
