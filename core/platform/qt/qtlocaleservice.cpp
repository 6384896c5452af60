#include "core/platform/qt/qtlocaleservice.h"

#include <QStringList>

#include <algorithm>

namespace {

/// One piece of a Qt date or time format: a field ("yyyy", "h", "AP") or
/// literal text, quoted or not.
struct FormatToken
{
    QChar letter; ///< The field's letter; null for literal text.
    int count = 0;
    QString text; ///< Literal text with the quoting undone.
    QString raw;  ///< The token as it stands in the format.
    bool quoted = false;

    bool isField(char c) const { return letter == QLatin1Char(c); }
    bool isPlainChar(const QChar &c) const
    {
        return letter.isNull() && !quoted && text.size() == 1 && text.front() == c;
    }
    bool isPlainSpace() const
    {
        return letter.isNull() && !quoted && text.size() == 1 && text.front().isSpace();
    }
};

FormatToken literalToken(const QString &text, const QString &raw, bool quoted)
{
    FormatToken token;
    token.text = text;
    token.raw = raw;
    token.quoted = quoted;
    return token;
}

/// How many of a run of @p run letters @p c Qt takes as one field; 0 when
/// the letter is literal there.
int fieldLength(QChar c, int run)
{
    switch (c.unicode()) {
    case 'd':
    case 'M':
        return std::min(run, 4);
    case 'y':
        return run >= 4 ? 4 : (run >= 2 ? 2 : 0);
    case 'h':
    case 'H':
    case 'm':
    case 's':
        return std::min(run, 2);
    case 'z':
        return run >= 3 ? 3 : 1;
    case 't':
        return std::min(run, 4);
    default:
        return 0;
    }
}

/// Splits @p format as Qt reads it: text between single quotes is literal,
/// and two single quotes stand for one.
QList<FormatToken> tokenize(const QString &format)
{
    QList<FormatToken> tokens;
    const qsizetype n = format.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = format.at(i);
        if (c == u'\'') {
            if (i + 1 < n && format.at(i + 1) == u'\'') {
                tokens.append(literalToken(QStringLiteral("'"), QStringLiteral("''"), true));
                i += 2;
                continue;
            }
            QString text;
            qsizetype j = i + 1;
            while (j < n) {
                if (format.at(j) == u'\'') {
                    if (j + 1 < n && format.at(j + 1) == u'\'') {
                        text.append(u'\'');
                        j += 2;
                        continue;
                    }
                    break;
                }
                text.append(format.at(j));
                ++j;
            }
            const qsizetype end = std::min(j + 1, n);
            tokens.append(literalToken(text, format.mid(i, end - i), true));
            i = end;
            continue;
        }
        if (c == u'a' || c == u'A') {
            const int length =
                (i + 1 < n && (format.at(i + 1) == u'p' || format.at(i + 1) == u'P')) ? 2 : 1;
            FormatToken token;
            token.letter = QLatin1Char('a');
            token.count = length;
            token.raw = format.mid(i, length);
            tokens.append(token);
            i += length;
            continue;
        }
        qsizetype run = 1;
        while (i + run < n && format.at(i + run) == c)
            ++run;
        const int length = fieldLength(c, int(run));
        if (length == 0) {
            tokens.append(literalToken(QString(c), QString(c), false));
            ++i;
            continue;
        }
        FormatToken token;
        token.letter = c;
        token.count = length;
        token.raw = format.mid(i, length);
        tokens.append(token);
        i += length;
    }
    return tokens;
}

QString joined(const QList<FormatToken> &tokens)
{
    QString out;
    for (const FormatToken &token : tokens)
        out += token.raw;
    return out;
}

/// @p c as the parser compares it: any space a plain one, the locale's
/// digits ASCII ones; nothing for invisible formatting marks.
std::optional<QChar> normalizedChar(QChar c)
{
    if (c.isSpace())
        return QChar(u' ');
    if (c.category() == QChar::Other_Format)
        return std::nullopt;
    if (c.category() == QChar::Number_DecimalDigit) {
        const int value = c.digitValue();
        if (value >= 0 && value <= 9)
            return QChar(u'0' + value);
    }
    return c;
}

QString normalizedText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (const std::optional<QChar> n = normalizedChar(c))
            out.append(*n);
    }
    return out.trimmed();
}

/// A regular expression that matches any of @p words, the longer first.
QString alternatives(QStringList words)
{
    for (QString &word : words)
        word = normalizedText(word);
    words.removeAll(QString());
    words.removeDuplicates();
    std::sort(words.begin(), words.end(),
              [](const QString &a, const QString &b) { return a.size() > b.size(); });
    for (QString &word : words)
        word = QRegularExpression::escape(word);
    return QStringLiteral("(?:") + words.join(u'|') + u')';
}

QStringList monthNames(const QLocale &locale, int month)
{
    return {locale.monthName(month, QLocale::LongFormat),
            locale.monthName(month, QLocale::ShortFormat),
            locale.standaloneMonthName(month, QLocale::LongFormat),
            locale.standaloneMonthName(month, QLocale::ShortFormat)};
}

QStringList dayNames(const QLocale &locale, int day)
{
    return {locale.dayName(day, QLocale::LongFormat), locale.dayName(day, QLocale::ShortFormat),
            locale.standaloneDayName(day, QLocale::LongFormat),
            locale.standaloneDayName(day, QLocale::ShortFormat)};
}

} // namespace

QtLocaleService::QtLocaleService(const QLocale &locale)
    : mLocale(locale), mCollator(locale),
      mDateFormat(withFourDigitYear(locale.dateFormat(QLocale::ShortFormat))),
      mTimeFormat(withoutTimeZone(locale.timeFormat(QLocale::LongFormat)))
{
    mCollator.setCaseSensitivity(Qt::CaseSensitive);
    mCollator.setNumericMode(false);
    // QCollator sets itself up on first use; do it here, not in a const call.
    mCollator.compare(QStringLiteral("a"), QStringLiteral("b"));

    mDatePattern = compile(mDateFormat);

    // What formatTime() writes first, then the long format with its time
    // zone (which is matched and ignored), then the short format.
    const QString longFormat = locale.timeFormat(QLocale::LongFormat);
    const QString shortFormat = locale.timeFormat(QLocale::ShortFormat);
    QStringList timeFormats{mTimeFormat, longFormat, withoutTimeZone(shortFormat), shortFormat};
    timeFormats.removeDuplicates();
    for (const QString &format : timeFormats)
        mTimePatterns.append(compile(format));
}

NumberSeparators QtLocaleService::separators() const
{
    NumberSeparators result;
    const QString decimal = mLocale.decimalPoint();
    const QString group = mLocale.groupSeparator();
    result.decimal = decimal.isEmpty() ? QChar(u'.') : decimal.front();
    result.thousands = group.isEmpty() ? QChar(u',') : group.front();
    return result;
}

QString QtLocaleService::formatDate(const QDate &date) const
{
    return mLocale.toString(date, mDateFormat);
}

std::optional<QDate> QtLocaleService::parseDate(const QString &text) const
{
    const QRegularExpressionMatch match = mDatePattern.regex.match(normalizedText(text));
    if (!match.hasMatch())
        return std::nullopt;

    int day = 0;
    int month = 0;
    std::optional<int> year;
    for (qsizetype i = 0; i < mDatePattern.fields.size(); ++i) {
        const QString captured = match.captured(int(i) + 1);
        switch (mDatePattern.fields.at(i)) {
        case Pattern::Field::Day:
            day = captured.toInt();
            break;
        case Pattern::Field::Month:
            month = captured.toInt();
            break;
        case Pattern::Field::MonthName:
            month = monthFromName(captured);
            break;
        case Pattern::Field::Year: {
            int value = captured.toInt();
            if (captured.size() == 2) {
                const int base = twoDigitYearBase();
                value += base - base % 100;
                if (value < base)
                    value += 100;
            }
            year = value;
            break;
        }
        default:
            break;
        }
    }
    if (!year)
        return std::nullopt;
    const QDate date(*year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString QtLocaleService::formatTime(const QTime &time) const
{
    return mLocale.toString(time, mTimeFormat);
}

std::optional<QTime> QtLocaleService::parseTime(const QString &text) const
{
    const QString input = normalizedText(text);
    for (const Pattern &pattern : mTimePatterns) {
        const QRegularExpressionMatch match = pattern.regex.match(input);
        if (!match.hasMatch())
            continue;

        std::optional<int> hour;
        bool twelveHour = false;
        bool pm = false;
        int minute = 0;
        int second = 0;
        int millisecond = 0;
        for (qsizetype i = 0; i < pattern.fields.size(); ++i) {
            const QString captured = match.captured(int(i) + 1);
            switch (pattern.fields.at(i)) {
            case Pattern::Field::Hour24:
                hour = captured.toInt();
                twelveHour = false;
                break;
            case Pattern::Field::Hour12:
                hour = captured.toInt();
                twelveHour = true;
                break;
            case Pattern::Field::Minute:
                minute = captured.toInt();
                break;
            case Pattern::Field::Second:
                second = captured.toInt();
                break;
            case Pattern::Field::Millisecond:
                // Digits of a fraction of a second: "5" is 500, "005" is 5.
                millisecond = captured.leftJustified(3, u'0').toInt();
                break;
            case Pattern::Field::AmPm:
                pm = isPm(captured);
                break;
            default:
                break;
            }
        }
        if (!hour)
            continue;
        int h = *hour;
        if (twelveHour) {
            if (h > 12)
                continue;
            h = h % 12 + (pm ? 12 : 0);
        }
        const QTime time(h, minute, second, millisecond);
        if (time.isValid())
            return time;
    }
    return std::nullopt;
}

int QtLocaleService::compare(const QString &a, const QString &b) const
{
    const int result = mCollator.compare(a, b);
    return (result > 0) - (result < 0);
}

QString QtLocaleService::toUpper(const QString &text) const
{
    return mLocale.toUpper(text);
}

QString QtLocaleService::withFourDigitYear(const QString &format)
{
    QList<FormatToken> tokens = tokenize(format);
    for (FormatToken &token : tokens) {
        if (token.isField('y') && token.count == 2) {
            token.count = 4;
            token.raw = QStringLiteral("yyyy");
        }
    }
    return joined(tokens);
}

QString QtLocaleService::withoutTimeZone(const QString &format)
{
    QList<FormatToken> tokens = tokenize(format);
    qsizetype i = 0;
    while (i < tokens.size()) {
        if (!tokens.at(i).isField('t')) {
            ++i;
            continue;
        }
        qsizetype first = i;
        qsizetype last = i;
        // "(t)" goes as a whole.
        if (first > 0 && last + 1 < tokens.size()) {
            const FormatToken &before = tokens.at(first - 1);
            const FormatToken &after = tokens.at(last + 1);
            if ((before.isPlainChar(u'(') && after.isPlainChar(u')')) ||
                (before.isPlainChar(u'[') && after.isPlainChar(u']'))) {
                --first;
                ++last;
            }
        }
        bool spaced = false;
        while (first > 0 && tokens.at(first - 1).isPlainSpace()) {
            --first;
            spaced = true;
        }
        while (last + 1 < tokens.size() && tokens.at(last + 1).isPlainSpace()) {
            ++last;
            spaced = true;
        }
        tokens.remove(first, last - first + 1);
        // Between two other parts one space stays.
        if (spaced && first > 0 && first < tokens.size()) {
            tokens.insert(first, literalToken(QStringLiteral(" "), QStringLiteral(" "), false));
            ++first;
        }
        i = first;
    }
    return joined(tokens);
}

QtLocaleService::Pattern QtLocaleService::compile(const QString &format) const
{
    const QList<FormatToken> tokens = tokenize(format);
    const bool hasAmPm =
        std::any_of(tokens.begin(), tokens.end(), [](const auto &t) { return t.isField('a'); });

    Pattern pattern;
    QString regex;
    const QString number = QStringLiteral("([0-9]{1,2})");
    const QString anySpace = QStringLiteral(" *");
    for (const FormatToken &token : tokens) {
        if (token.letter.isNull()) {
            for (const QChar c : token.text) {
                const std::optional<QChar> n = normalizedChar(c);
                if (!n)
                    continue;
                if (*n == u' ') {
                    if (!regex.endsWith(anySpace))
                        regex += anySpace;
                } else {
                    regex += QRegularExpression::escape(QString(*n));
                }
            }
            continue;
        }
        switch (token.letter.unicode()) {
        case 'd':
            if (token.count <= 2) {
                regex += number;
                pattern.fields.append(Pattern::Field::Day);
            } else {
                QStringList names;
                for (int day = 1; day <= 7; ++day)
                    names += dayNames(mLocale, day);
                regex += alternatives(names);
            }
            break;
        case 'M':
            if (token.count <= 2) {
                regex += number;
                pattern.fields.append(Pattern::Field::Month);
            } else {
                QStringList names;
                for (int month = 1; month <= 12; ++month)
                    names += monthNames(mLocale, month);
                regex += u'(' + alternatives(names) + u')';
                pattern.fields.append(Pattern::Field::MonthName);
            }
            break;
        case 'y':
            regex += QStringLiteral("([0-9]{4}|[0-9]{2})");
            pattern.fields.append(Pattern::Field::Year);
            break;
        case 'h':
            regex += number;
            pattern.fields.append(hasAmPm ? Pattern::Field::Hour12 : Pattern::Field::Hour24);
            break;
        case 'H':
            regex += number;
            pattern.fields.append(Pattern::Field::Hour24);
            break;
        case 'm':
            regex += number;
            pattern.fields.append(Pattern::Field::Minute);
            break;
        case 's':
            regex += number;
            pattern.fields.append(Pattern::Field::Second);
            break;
        case 'z':
            regex += QStringLiteral("([0-9]{1,3})");
            pattern.fields.append(Pattern::Field::Millisecond);
            break;
        case 'a':
            regex += u'(' +
                     alternatives({mLocale.amText(), mLocale.pmText(), QStringLiteral("AM"),
                                   QStringLiteral("PM")}) +
                     u')';
            pattern.fields.append(Pattern::Field::AmPm);
            break;
        case 't':
            // A zone name or offset, if there is one; its value is not used.
            regex += QStringLiteral("(?:[A-Za-z+-][A-Za-z0-9+:/_-]*)?");
            break;
        default:
            break;
        }
    }
    pattern.regex = QRegularExpression(QRegularExpression::anchoredPattern(regex),
                                       QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

int QtLocaleService::monthFromName(const QString &name) const
{
    for (int month = 1; month <= 12; ++month) {
        for (const QString &candidate : monthNames(mLocale, month)) {
            if (normalizedText(candidate).compare(name, Qt::CaseInsensitive) == 0)
                return month;
        }
    }
    return 0;
}

bool QtLocaleService::isPm(const QString &text) const
{
    const QString pm = normalizedText(mLocale.pmText());
    const QString am = normalizedText(mLocale.amText());
    if (!pm.isEmpty() && text.compare(pm, Qt::CaseInsensitive) == 0)
        return true;
    if (!am.isEmpty() && text.compare(am, Qt::CaseInsensitive) == 0)
        return false;
    return text.compare(QStringLiteral("PM"), Qt::CaseInsensitive) == 0;
}
