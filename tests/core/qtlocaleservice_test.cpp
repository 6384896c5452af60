#include "core/platform/qt/qtlocaleservice.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

namespace {

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

QLocale usEnglish()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}
QLocale german()
{
    return QLocale(QLocale::German, QLocale::Germany);
}
QLocale french()
{
    return QLocale(QLocale::French, QLocale::France);
}

/// Locales whose formats differ in order, separators, names, digits and
/// quoted text.
std::vector<QLocale> manyLocales()
{
    return {usEnglish(),
            german(),
            french(),
            QLocale(QLocale::C),
            QLocale(QLocale::English, QLocale::UnitedKingdom),
            QLocale(QLocale::Spanish, QLocale::Spain),
            QLocale(QLocale::Japanese, QLocale::Japan),
            QLocale(QLocale::Chinese, QLocale::China),
            QLocale(QLocale::Korean, QLocale::SouthKorea),
            QLocale(QLocale::Hungarian, QLocale::Hungary),
            QLocale(QLocale::Bulgarian, QLocale::Bulgaria),
            QLocale(QLocale::Finnish, QLocale::Finland),
            QLocale(QLocale::Arabic, QLocale::Egypt),
            QLocale(QLocale::Persian, QLocale::Iran)};
}

std::string name(const QLocale &locale)
{
    return locale.name().toStdString();
}

} // namespace

TEST(QtLocaleServiceFormats, TwoDigitYearsAreWidenedOutsideQuotes)
{
    const struct
    {
        const char *format;
        const char *expected;
    } cases[] = {
        {"M/d/yy", "M/d/yyyy"},
        {"dd.MM.yy", "dd.MM.yyyy"},
        {"dd/MM/yyyy", "dd/MM/yyyy"},
        {"yy. M. d.", "yyyy. M. d."},
        {"d.MM.yy 'г'.", "d.MM.yyyy 'г'."},
        {"'yy' yy", "'yy' yyyy"},
        {"'it''s' d/M/yy", "'it''s' d/M/yyyy"},
        {"d''yy", "d''yyyy"},
        {"'unterminated yy", "'unterminated yy"},
        {"y/M/d", "y/M/d"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(QtLocaleService::withFourDigitYear(u8(c.format)), u8(c.expected)) << c.format;
    }
}

TEST(QtLocaleServiceFormats, TimeZonesAreRemovedWithTheirSpacing)
{
    const struct
    {
        const char *format;
        const char *expected;
    } cases[] = {
        {"h:mm:ss AP t", "h:mm:ss AP"},     {"HH:mm:ss t", "HH:mm:ss"},
        {"t HH:mm:ss", "HH:mm:ss"},         {"H:mm:ss (t)", "H:mm:ss"},
        {"HH:mm:ss tttt", "HH:mm:ss"},      {"HH:mm t ss", "HH:mm ss"},
        {"H:mm:ss 'ч'. t", "H:mm:ss 'ч'."}, {"HH:mm:ss 't'", "HH:mm:ss 't'"},
        {"HH:mm:ss", "HH:mm:ss"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(QtLocaleService::withoutTimeZone(u8(c.format)), u8(c.expected)) << c.format;
    }
}

TEST(QtLocaleServiceDates, ShortFormatWithFourDigitYear)
{
    const QtLocaleService us(usEnglish());
    const QtLocaleService de(german());
    const QtLocaleService fr(french());

    EXPECT_EQ(us.formatDate(QDate(2004, 1, 1)), QStringLiteral("1/1/2004"));
    EXPECT_EQ(us.formatDate(QDate(1999, 12, 31)), QStringLiteral("12/31/1999"));
    EXPECT_EQ(us.formatDate(QDate(2049, 7, 4)), QStringLiteral("7/4/2049"));

    EXPECT_EQ(de.formatDate(QDate(2004, 1, 1)), QStringLiteral("01.01.2004"));
    EXPECT_EQ(de.formatDate(QDate(1999, 12, 31)), QStringLiteral("31.12.1999"));
    EXPECT_EQ(de.formatDate(QDate(2049, 7, 4)), QStringLiteral("04.07.2049"));

    EXPECT_EQ(fr.formatDate(QDate(2004, 1, 1)), QStringLiteral("01/01/2004"));
    EXPECT_EQ(fr.formatDate(QDate(1999, 12, 31)), QStringLiteral("31/12/1999"));
    EXPECT_EQ(fr.formatDate(QDate(2049, 7, 4)), QStringLiteral("04/07/2049"));

    // Years outside the two-digit window keep all their digits.
    EXPECT_EQ(us.formatDate(QDate(1900, 3, 1)), QStringLiteral("3/1/1900"));
    EXPECT_EQ(de.formatDate(QDate(2100, 12, 31)), QStringLiteral("31.12.2100"));
}

TEST(QtLocaleServiceDates, EveryDateFrom1900To2100RoundTrips)
{
    for (const QLocale &locale : manyLocales()) {
        const QtLocaleService service(locale);
        int failures = 0;
        for (QDate date(1900, 1, 1); date <= QDate(2100, 12, 31) && failures < 5;
             date = date.addDays(1)) {
            const QString text = service.formatDate(date);
            const std::optional<QDate> parsed = service.parseDate(text);
            if (parsed != date) {
                ++failures;
                ADD_FAILURE() << name(locale) << ": " << date.toString(Qt::ISODate).toStdString()
                              << " written as \"" << text.toStdString() << '"';
            }
        }
    }
}

TEST(QtLocaleServiceDates, TwoDigitYearsFallIn1950To2049)
{
    const QtLocaleService us(usEnglish());
    EXPECT_EQ(us.parseDate(QStringLiteral("1/1/04")), QDate(2004, 1, 1));
    EXPECT_EQ(us.parseDate(QStringLiteral("1/1/50")), QDate(1950, 1, 1));
    EXPECT_EQ(us.parseDate(QStringLiteral("12/31/49")), QDate(2049, 12, 31));
    EXPECT_EQ(us.parseDate(QStringLiteral("12/31/99")), QDate(1999, 12, 31));
    EXPECT_EQ(us.parseDate(QStringLiteral("1/1/00")), QDate(2000, 1, 1));
    EXPECT_EQ(us.parseDate(QStringLiteral("01/02/04")), QDate(2004, 1, 2));
    // 1900 had no 29 February, 2000 had one.
    EXPECT_EQ(us.parseDate(QStringLiteral("2/29/00")), QDate(2000, 2, 29));

    const QtLocaleService de(german());
    EXPECT_EQ(de.parseDate(QStringLiteral("01.02.04")), QDate(2004, 2, 1));
    EXPECT_EQ(de.parseDate(QStringLiteral("31.12.50")), QDate(1950, 12, 31));

    // A locale that writes four digits still reads two.
    const QtLocaleService fr(french());
    EXPECT_EQ(fr.parseDate(QStringLiteral("04/07/49")), QDate(2049, 7, 4));
    EXPECT_EQ(fr.parseDate(QStringLiteral("04/07/50")), QDate(1950, 7, 4));
}

TEST(QtLocaleServiceDates, LenientAboutDigitsAndSpaces)
{
    const QtLocaleService de(german());
    EXPECT_EQ(de.parseDate(QStringLiteral("1.2.2004")), QDate(2004, 2, 1));
    EXPECT_EQ(de.parseDate(QStringLiteral("1.02.2004")), QDate(2004, 2, 1));
    EXPECT_EQ(de.parseDate(QStringLiteral("  01.02.2004 ")), QDate(2004, 2, 1));

    const QtLocaleService us(usEnglish());
    EXPECT_EQ(us.parseDate(QStringLiteral("01/01/2004")), QDate(2004, 1, 1));
    EXPECT_EQ(us.parseDate(QStringLiteral("\t7/4/2049\n")), QDate(2049, 7, 4));

    const QtLocaleService fr(french());
    EXPECT_EQ(fr.parseDate(QStringLiteral("4/7/2049")), QDate(2049, 7, 4));

    // The C locale writes month names; any case of them is read.
    const QtLocaleService c{QLocale(QLocale::C)};
    EXPECT_EQ(c.formatDate(QDate(2004, 1, 1)), QStringLiteral("1 Jan 2004"));
    EXPECT_EQ(c.parseDate(QStringLiteral("1 JAN 2004")), QDate(2004, 1, 1));
    EXPECT_EQ(c.parseDate(QStringLiteral("31 December 99")), QDate(1999, 12, 31));

    // The locale's own digits, and ASCII ones in their place.
    const QtLocaleService ar{QLocale(QLocale::Arabic, QLocale::Egypt)};
    EXPECT_NE(ar.formatDate(QDate(2004, 1, 2)), QStringLiteral("2/1/2004"));
    EXPECT_EQ(ar.parseDate(QStringLiteral("2/1/2004")), QDate(2004, 1, 2));
}

TEST(QtLocaleServiceDates, NoDateIsReadFromInvalidText)
{
    const QtLocaleService us(usEnglish());
    const char *const usTexts[] = {"",         " ",         "2/30/2004", "2/29/2001", "13/1/2004",
                                   "0/1/2004", "1/0/2004",  "1/32/2004", "1/1",       "1/1/2004x",
                                   "a/b/c",    "1/1/204",   "1/1/20045", "1.1.2004",  "1/1/2004/1",
                                   "2004-1-1", "123/1/2004"};
    for (const char *text : usTexts)
        EXPECT_EQ(us.parseDate(u8(text)), std::nullopt) << "en_US \"" << text << '"';

    const QtLocaleService de(german());
    for (const char *text : {"31.02.2004", "29.02.1900", "32.01.2004", "01/02/2004", "1.2."})
        EXPECT_EQ(de.parseDate(u8(text)), std::nullopt) << "de_DE \"" << text << '"';

    const QtLocaleService fr(french());
    for (const char *text : {"31/02/2004", "31/04/2004", "12/31/2004"})
        EXPECT_EQ(fr.parseDate(u8(text)), std::nullopt) << "fr_FR \"" << text << '"';
}

TEST(QtLocaleServiceTimes, LongFormatWithoutZone)
{
    const QtLocaleService us(usEnglish());
    const QtLocaleService de(german());
    const QtLocaleService fr(french());

    EXPECT_EQ(us.formatTime(QTime(0, 0, 0)), QStringLiteral("12:00:00 AM"));
    EXPECT_EQ(us.formatTime(QTime(12, 0, 0)), QStringLiteral("12:00:00 PM"));
    EXPECT_EQ(us.formatTime(QTime(13, 5, 7)), QStringLiteral("1:05:07 PM"));
    EXPECT_EQ(us.formatTime(QTime(23, 59, 59)), QStringLiteral("11:59:59 PM"));

    EXPECT_EQ(de.formatTime(QTime(0, 0, 0)), QStringLiteral("00:00:00"));
    EXPECT_EQ(de.formatTime(QTime(13, 5, 7)), QStringLiteral("13:05:07"));
    EXPECT_EQ(fr.formatTime(QTime(23, 59, 59)), QStringLiteral("23:59:59"));
}

TEST(QtLocaleServiceTimes, RoundTripsAndNoZoneIsWritten)
{
    const QDateTime now = QDateTime::currentDateTime();
    QStringList zoneNames{QStringLiteral("UTC"), QStringLiteral("GMT")};
    const QString systemZone = QTimeZone::systemTimeZone().abbreviation(now);
    if (!systemZone.isEmpty())
        zoneNames.append(systemZone);

    std::vector<QTime> times{QTime(0, 0, 0),  QTime(12, 0, 0),   QTime(23, 59, 59),
                             QTime(0, 59, 1), QTime(11, 59, 59), QTime(12, 0, 1)};
    for (int seconds = 0; seconds < 24 * 3600; seconds += 997)
        times.push_back(QTime(0, 0).addSecs(seconds));

    for (const QLocale &locale : manyLocales()) {
        const QtLocaleService service(locale);
        for (const QTime &time : times) {
            const QString text = service.formatTime(time);
            EXPECT_EQ(service.parseTime(text), time)
                << name(locale) << " \"" << text.toStdString() << '"';
            for (const QString &zone : zoneNames) {
                EXPECT_FALSE(text.contains(zone))
                    << name(locale) << " \"" << text.toStdString() << '"';
            }
        }
    }
}

TEST(QtLocaleServiceTimes, ZoneTextAndShortFormatAreRead)
{
    const QtLocaleService us(usEnglish());
    EXPECT_EQ(us.parseTime(QStringLiteral("1:05:07 PM UTC")), QTime(13, 5, 7));
    EXPECT_EQ(us.parseTime(QStringLiteral("1:05 PM")), QTime(13, 5));
    EXPECT_EQ(us.parseTime(QStringLiteral("12:30 am")), QTime(0, 30));
    EXPECT_EQ(us.parseTime(QStringLiteral(" 9:05:07 AM ")), QTime(9, 5, 7));

    const QtLocaleService de(german());
    EXPECT_EQ(de.parseTime(QStringLiteral("13:05:07 MEZ")), QTime(13, 5, 7));
    EXPECT_EQ(de.parseTime(QStringLiteral("13:05:07 GMT+01:00")), QTime(13, 5, 7));
    EXPECT_EQ(de.parseTime(QStringLiteral("13:05")), QTime(13, 5));
    EXPECT_EQ(de.parseTime(QStringLiteral("9:5:7")), QTime(9, 5, 7));

    const QtLocaleService es{QLocale(QLocale::Spanish, QLocale::Spain)};
    EXPECT_EQ(es.formatTime(QTime(13, 5, 7)), QStringLiteral("13:05:07"));
    EXPECT_EQ(es.parseTime(QStringLiteral("13:05:07 (CET)")), QTime(13, 5, 7));
}

TEST(QtLocaleServiceTimes, NoTimeIsReadFromInvalidText)
{
    const QtLocaleService us(usEnglish());
    for (const char *text : {"", "13:00:00 PM", "1:60:00 PM", "1:00:60 PM", "1:00:00", "noon",
                             "1:00:00 XM", "1::00 PM"})
        EXPECT_EQ(us.parseTime(u8(text)), std::nullopt) << "en_US \"" << text << '"';

    const QtLocaleService de(german());
    for (const char *text : {"24:00:00", "23:60:00", "23:59:60", "12", "12:00:00:00", "12.00.00"})
        EXPECT_EQ(de.parseTime(u8(text)), std::nullopt) << "de_DE \"" << text << '"';
}

TEST(QtLocaleServiceSeparators, FromTheLocale)
{
    EXPECT_EQ(QtLocaleService(usEnglish()).separators(), NumberSeparators::us());
    EXPECT_EQ(QtLocaleService(german()).separators(), (NumberSeparators{u',', u'.'}));
    // French groups with a narrow no-break space.
    EXPECT_EQ(QtLocaleService(french()).separators(), (NumberSeparators{u',', QChar(0x202F)}));
}

TEST(QtLocaleServiceCollation, CaseSensitiveAlphabeticalOrder)
{
    for (const QLocale &locale : {usEnglish(), german(), french()}) {
        const QtLocaleService service(locale);
        const QString a = QStringLiteral("a");
        const QString upperA = QStringLiteral("A");
        const QString upperB = QStringLiteral("B");
        const QString c = QStringLiteral("c");

        EXPECT_LT(service.compare(a, upperB), 0) << name(locale);
        EXPECT_LT(service.compare(upperB, c), 0) << name(locale);
        EXPECT_LT(service.compare(a, c), 0) << name(locale);
        EXPECT_GT(service.compare(c, a), 0) << name(locale);
        EXPECT_EQ(service.compare(a, a), 0) << name(locale);

        EXPECT_NE(service.compare(a, upperA), 0) << name(locale);
        EXPECT_EQ(service.compare(a, upperA) > 0, service.compare(upperA, a) < 0) << name(locale);

        // No numeric mode: digits compare one by one.
        EXPECT_LT(service.compare(QStringLiteral("10"), QStringLiteral("9")), 0) << name(locale);

        QStringList words{QStringLiteral("cab"), QStringLiteral("Bac"), QStringLiteral("abc")};
        std::sort(words.begin(), words.end(),
                  [&](const QString &x, const QString &y) { return service.compare(x, y) < 0; });
        EXPECT_EQ(words, (QStringList{QStringLiteral("abc"), QStringLiteral("Bac"),
                                      QStringLiteral("cab")}))
            << name(locale);

        // An accented letter sorts with its base letter, not after z.
        EXPECT_LT(service.compare(u8("é"), QStringLiteral("f")), 0) << name(locale);
        EXPECT_LT(service.compare(QStringLiteral("e"), u8("é")), 0) << name(locale);
    }
}

TEST(QtLocaleServiceCase, EveryLetterIsUpperCased)
{
    for (const QLocale &locale : {usEnglish(), german(), french()}) {
        const QtLocaleService service(locale);
        EXPECT_EQ(service.toUpper(u8("é")), u8("É")) << name(locale);
        EXPECT_EQ(service.toUpper(u8("abc déjà 1-2")), u8("ABC DÉJÀ 1-2")) << name(locale);
        EXPECT_EQ(service.toUpper(u8("straße")), u8("STRASSE")) << name(locale);
    }
    EXPECT_EQ(LocaleService::upperAsciiLetters(u8("é")), u8("é"));
    EXPECT_EQ(LocaleService::upperAsciiLetters(u8("abc déjà")), u8("ABC DéJà"));
}

TEST(QtLocaleServiceSystem, SystemLocaleRoundTrips)
{
    const QtLocaleService service;
    for (const QDate &date : {QDate(1900, 1, 1), QDate(2000, 2, 29), QDate(2100, 12, 31)})
        EXPECT_EQ(service.parseDate(service.formatDate(date)), date);
    for (const QTime &time : {QTime(0, 0, 0), QTime(12, 0, 0), QTime(23, 59, 59)})
        EXPECT_EQ(service.parseTime(service.formatTime(time)), time);
}
