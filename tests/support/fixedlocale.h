#pragma once

#include "core/platform/localeservice.h"

#include <QDate>
#include <QTime>

/**
 * A locale of fixed forms, whatever the machine says: "." and "," as
 * separators, dates and times in the formats given, collation and
 * upper-casing by code point. Dates read back in their own format; times
 * do not read.
 */
class FixedLocale : public LocaleService
{
public:
    explicit FixedLocale(QString dateFormat = QStringLiteral("M/d/yyyy"),
                         QString timeFormat = QStringLiteral("HH:mm:ss"))
        : mDateFormat(std::move(dateFormat)), mTimeFormat(std::move(timeFormat))
    {
    }

    NumberSeparators separators() const override { return NumberSeparators::us(); }
    QString formatDate(const QDate &d) const override { return d.toString(mDateFormat); }
    std::optional<QDate> parseDate(const QString &text) const override
    {
        const QDate d = QDate::fromString(text, mDateFormat);
        if (!d.isValid())
            return std::nullopt;
        return d;
    }
    QString formatTime(const QTime &t) const override { return t.toString(mTimeFormat); }
    std::optional<QTime> parseTime(const QString &) const override { return std::nullopt; }
    int compare(const QString &a, const QString &b) const override { return a.compare(b); }
    QString toUpper(const QString &s) const override { return s.toUpper(); }

private:
    QString mDateFormat;
    QString mTimeFormat;
};
