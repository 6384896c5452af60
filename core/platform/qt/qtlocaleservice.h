#pragma once

#include "core/platform/localeservice.h"

#include <QCollator>
#include <QList>
#include <QLocale>
#include <QRegularExpression>

/**
 * The LocaleService of a QLocale: its separators, its short date format with
 * a four-digit year, its long time format without the time zone, a
 * case-sensitive QCollator and QLocale's upper-casing.
 *
 * Parsing is done by patterns built from the formats once, in the
 * constructor, and is a little more lenient than Qt's: a two-digit or a
 * four-digit year, one or two digits for any day, month, hour, minute or
 * second, any run of spaces where the format has one, and the locale's own
 * digits as well as ASCII ones.
 */
class QtLocaleService : public LocaleService
{
public:
    explicit QtLocaleService(const QLocale &locale = QLocale::system());

    NumberSeparators separators() const override;

    QString formatDate(const QDate &date) const override;
    std::optional<QDate> parseDate(const QString &text) const override;

    QString formatTime(const QTime &time) const override;
    std::optional<QTime> parseTime(const QString &text) const override;

    int compare(const QString &a, const QString &b) const override;
    QString toUpper(const QString &text) const override;

    /// The format formatDate() writes with.
    QString dateFormat() const { return mDateFormat; }
    /// The format formatTime() writes with.
    QString timeFormat() const { return mTimeFormat; }

    /// @p format (a Qt date format) with every two-digit year "yy" made
    /// "yyyy"; quoted text is kept as it is.
    static QString withFourDigitYear(const QString &format);
    /// @p format (a Qt time format) without its time-zone parts and the
    /// spaces and empty brackets around them; quoted text is kept.
    static QString withoutTimeZone(const QString &format);

private:
    /// A format turned into a regular expression; one field per capture.
    struct Pattern
    {
        enum class Field
        {
            Day,
            Month,
            MonthName,
            Year,
            Hour24,
            Hour12,
            Minute,
            Second,
            Millisecond,
            AmPm
        };

        QRegularExpression regex;
        QList<Field> fields;
    };

    Pattern compile(const QString &format) const;
    int monthFromName(const QString &name) const;
    bool isPm(const QString &text) const;

    QLocale mLocale;
    QCollator mCollator;
    QString mDateFormat;
    QString mTimeFormat;
    Pattern mDatePattern;
    QList<Pattern> mTimePatterns;
};
