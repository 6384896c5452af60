#include "core/format/codepage.h"
#include "interchange/text/delimitedtext.h"
#include "interchange/text/textcodec.h"

#include <gtest/gtest.h>

namespace {

using Fields = std::vector<QString>;

struct Parsed
{
    std::vector<Fields> lines;
    DelimitedText::Count count;
    bool operator==(const Parsed &) const = default;
};

void PrintTo(const Parsed &p, std::ostream *os)
{
    *os << "{lines " << p.count.lines << ", max " << p.count.maxSeparators << ", irregular "
        << p.count.irregular << ":";
    for (const Fields &line : p.lines) {
        *os << " [";
        for (const QString &f : line)
            *os << '<' << f.toStdString() << '>';
        *os << ']';
    }
    *os << '}';
}

Parsed parse(const QByteArray &bytes, QChar separator = QLatin1Char(','))
{
    const DelimitedText text(TextCodec::decode(bytes, TextEncoding::Cp1252), separator);
    Parsed p{{}, text.count()};
    Fields fields;
    for (const QStringView line : text.lines()) {
        DelimitedText::split(line, separator, fields);
        p.lines.push_back(fields);
    }
    return p;
}

QString s(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

TEST(DelimitedText, linesFieldsAndTheCountingPass)
{
    const struct
    {
        const char *what;
        QByteArray bytes;
        Parsed expected;
    } cases[] = {
        {"a quoted separator",
         "Name,Price\r\n\"Smith, J\",12\r\n",
         {{{s("Name"), s("Price")}, {s("Smith, J"), s("12")}}, {2, 1, false}}},
        {"CR alone ends a line, a LF after a CR goes with it",
         "a,b\rc,d\r\n\r\ne,f",
         {{{s("a"), s("b")}, {s("c"), s("d")}, {s("")}, {s("e"), s("f")}}, {4, 1, true}}},
        {"with a CR in the file, a lone LF stays in the line",
         "a,b\r\nc\nd,e\r\n",
         {{{s("a"), s("b")}, {s("c\nd"), s("e")}}, {2, 1, false}}},
        {"LF-only lines; a LF in quotes stays in the text",
         "a,b\n\"x\ny\",c\n",
         {{{s("a"), s("b")}, {s("x\ny"), s("c")}}, {2, 1, false}}},
        {"Ctrl-Z ends the file",
         "a,b\r\n\x1a"
         "c,d\r\n",
         {{{s("a"), s("b")}}, {1, 1, false}}},
        {"doubled quotes inside quotes are one; elsewhere a quote is a character",
         "\"a\"\"b\",12\" screen,a\"\"b\r\n",
         {{{s("a\"b"), s("12\" screen"), s("a\"\"b")}}, {1, 2, false}}},
        {"text after a closing quote is kept",
         "\"ab\"cd,\"\"\r\n",
         {{{s("abcd"), s("")}}, {1, 1, false}}},
        {"a line that ends inside quotes loses its last field and is irregular",
         "a,b\r\nc,\"d,e\r\n",
         {{{s("a"), s("b")}, {s("c")}}, {2, 1, true}}},
        {"lines of different field counts are irregular; the largest count wins",
         "a\r\nb,c,d\r\ne,\r\n",
         {{{s("a")}, {s("b"), s("c"), s("d")}, {s("e"), s("")}}, {3, 2, true}}},
        {"an empty file has no lines", "", {{}, {0, -1, false}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parse(c.bytes), c.expected) << c.what;

    EXPECT_EQ(parse("a;\"b;c\"\td\r\n", QLatin1Char(';')),
              (Parsed{{{s("a"), s("b;c\td")}}, {1, 1, false}}));
    EXPECT_EQ(parse("a\t\"b\tc\"\r\n", QLatin1Char('\t')),
              (Parsed{{{s("a"), s("b\tc")}}, {1, 1, false}}));
}

TEST(DelimitedText, theFormatQuestion)
{
    const auto asks = [](const QByteArray &bytes) {
        return DelimitedText(QString::fromLatin1(bytes), QLatin1Char(',')).formatQuestionNeeded();
    };
    QByteArray wide = QByteArray(53, ',') + "\r\n" + QByteArray(53, ',') + "\r\n";
    QByteArray widest = QByteArray(52, ',') + "\r\n" + QByteArray(52, ',') + "\r\n";
    const struct
    {
        QByteArray bytes;
        bool asks;
    } cases[] = {{"a,b\r\nc,d\r\n", false}, {"a,b\r\n", true},          {"a\r\nb\r\n", true},
                 {"a,b\r\nc\r\n", true},    {"a,\"b\r\nc,d\r\n", true}, {wide, true},
                 {widest, false},           {"a,b\nc,d\n", false}};
    for (const auto &c : cases)
        EXPECT_EQ(asks(c.bytes), c.asks) << c.bytes.constData();
}

TEST(TextCodec, utf8IsReadWhenTheFileSaysOrShowsIt)
{
    const QString names = QStringLiteral("Zoë,Jürgen,Ærø");
    const QByteArray cp1252 = "Zo\xEB,J\xFCrgen,\xC6r\xF8";
    const QByteArray utf8 = names.toUtf8();
    const struct
    {
        QByteArray bytes;
        TextEncoding encoding;
        QString text;
    } cases[] = {
        {cp1252, TextEncoding::Auto, names},
        {utf8, TextEncoding::Auto, names},
        {"\xEF\xBB\xBF" + utf8, TextEncoding::Auto, names},
        {"\xEF\xBB\xBF"
         "abc",
         TextEncoding::Auto, QStringLiteral("abc")},
        {"plain", TextEncoding::Auto, QStringLiteral("plain")},
        // Valid UTF-8 but read as the code page when told so.
        {utf8, TextEncoding::Cp1252, Codepage::decode(utf8)},
        {cp1252, TextEncoding::Utf8, QString::fromUtf8(cp1252)},
        // One stray byte makes the whole file the code page's.
        {utf8 + "\x80", TextEncoding::Auto, Codepage::decode(utf8) + QChar(0x20AC)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TextCodec::decode(c.bytes, c.encoding), c.text) << c.bytes.toHex().constData();
}
