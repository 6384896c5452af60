#include "core/document/recordtexts.h"
#include "core/format/codepage.h"
#include "core/platform/progress.h"
#include "interchange/text/delimitedtext.h"
#include "interchange/text/textcodec.h"
#include "streamdevices.h"

#include <QBuffer>
#include <QRandomGenerator>

#include <gtest/gtest.h>

// The tables give only the notes and results that differ from none.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using Fields = std::vector<QString>;
using Notes = DelimitedText::Notes;
using Mark = DelimitedText::Mark;

/// Everything a reading gives, the lines' texts as the grid gets them.
struct Parsed
{
    std::vector<Fields> lines;
    DelimitedText::Count count;
    Notes notes;
    DelimitedText::Status status = DelimitedText::Status::Read;
    qint64 line = 0;
    TextEncoding encoding = TextEncoding::Cp1252; ///< what the text was read as
    bool operator==(const Parsed &) const = default;
};

void PrintTo(const Mark &m, std::ostream *os)
{
    *os << m.count << "@" << m.line << ":" << m.field;
}

void PrintTo(const Parsed &p, std::ostream *os)
{
    const Notes &n = p.notes;
    *os << "{status " << int(p.status) << " line " << p.line << " encoding " << int(p.encoding)
        << ", lines " << p.count.lines << ", max " << p.count.maxSeparators << ", irregular "
        << p.count.irregular << ", notes open/ended/joined/wider/cut/nul/utf8 ";
    for (const Mark *m : {&n.quoteLeftOpen, &n.endedInQuotes, &n.joinedLines, &n.widerLines,
                          &n.textsCut, &n.nulBytes, &n.notUtf8}) {
        PrintTo(*m, os);
        *os << ' ';
    }
    *os << "unread " << n.unreadLine << " ctrlZ " << n.ctrlZLine << ":";
    for (const Fields &line : p.lines) {
        *os << " [";
        for (const QString &f : line)
            *os << '<' << f.left(40).toStdString() << (f.size() > 40 ? "..." : "") << '>';
        *os << ']';
    }
    *os << '}';
}

/// Keeps the lines as the grid would show them.
class Collect : public DelimitedText::Sink
{
public:
    void take(const DelimitedText::Line &line) override
    {
        Fields fields;
        if (line.wide) {
            fields = *line.texts;
        } else {
            const RecordTexts texts =
                RecordTexts::fromStored(line.stored.data(), line.stored.size(), line.fields);
            for (int f = 1; f <= line.fields; ++f)
                fields.push_back(texts.text(f));
        }
        lines.push_back(fields);
    }
    void restart() override { lines.clear(); }
    std::vector<Fields> lines;
};

/// The texts exactly as split: every field kept, a LF left as it is.
DelimitedText::Settings asSplit(char separator = ',', TextEncoding encoding = TextEncoding::Cp1252)
{
    DelimitedText::Settings s;
    s.separator = separator;
    s.encoding = encoding;
    s.keptFields = 1000;
    s.lastFieldWins = false;
    s.gridLineBreaks = false;
    return s;
}

Parsed parse(QIODevice &device, const DelimitedText::Settings &settings)
{
    Collect sink;
    NoProgress progress;
    const DelimitedText::Result r = DelimitedText::read(device, settings, sink, progress);
    return {sink.lines, r.count, r.notes, r.status, r.line, r.encoding};
}

Parsed parse(const QByteArray &bytes, const DelimitedText::Settings &settings = asSplit())
{
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return parse(buffer, settings);
}

/// A literal's bytes, NUL bytes included.
template <size_t N> QByteArray raw(const char (&bytes)[N])
{
    return QByteArray(bytes, N - 1);
}

QString s(const char *text)
{
    return QString::fromLatin1(text);
}

Mark at(qint64 line, int field = 0, qint64 count = 1)
{
    return {count, line, field};
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
        {"with CR line ends, a lone LF stays in the line, which is said",
         "a,b\r\nc\nd,e\r\n",
         {{{s("a"), s("b")}, {s("c\nd"), s("e")}}, {2, 1, false}, {.joinedLines = at(2)}}},
        {"LF-only lines; a LF in quotes stays in the text",
         "a,b\n\"x\ny\",c\n",
         {{{s("a"), s("b")}, {s("x\ny"), s("c")}}, {2, 1, false}}},
        {"after a first LF line end, CR and CR LF end lines too",
         "a,b\nc,d\r\ne,f\rg,\"h\r\ni\"",
         {{{s("a"), s("b")}, {s("c"), s("d")}, {s("e"), s("f")}, {s("g"), s("h\r\ni")}},
          {4, 1, false}}},
        {"Ctrl-Z ends the file, and what follows it is said",
         "a,b\r\n\x1a"
         "c,d\r\n",
         {{{s("a"), s("b")}}, {1, 1, false}, {.ctrlZLine = 2}}},
        {"a Ctrl-Z at the very end is the end", "a,b\x1a", {{{s("a"), s("b")}}, {1, 1, false}}},
        {"doubled quotes inside quotes are one; elsewhere a quote is a character",
         "\"a\"\"b\",12\" screen,a\"\"b\r\n",
         {{{s("a\"b"), s("12\" screen"), s("a\"\"b")}}, {1, 2, false}}},
        {"text after a closing quote is kept",
         "\"ab\"cd,\"\"\r\n",
         {{{s("abcd"), s("")}}, {1, 1, false}}},
        {"a line that ends inside quotes loses its last field and is irregular",
         "a,b\r\nc,\"d,e\r\n",
         {{{s("a"), s("b")}, {s("c")}}, {2, 1, true}, {.endedInQuotes = at(2)}}},
        {"in a LF file a quote never closed ends at its line break, named by its line",
         "a,b\n\"x\ny\",z\nc,\"d\ne,f\ng,h\n",
         {{{s("a"), s("b")}, {s("x\ny"), s("z")}, {s("c")}, {s("e"), s("f")}, {s("g"), s("h")}},
          {5, 1, true},
          {.quoteLeftOpen = at(4)}}},
        {"a quote left open in the last line keeps its text out",
         "a,b\n\"x\ny\",z\nc,\"d",
         {{{s("a"), s("b")}, {s("x\ny"), s("z")}, {s("c")}},
          {3, 1, true},
          {.endedInQuotes = at(4)}}},
        {"lines of different field counts are irregular; the largest count wins",
         "a\r\nb,c,d\r\ne,\r\n",
         {{{s("a")}, {s("b"), s("c"), s("d")}, {s("e"), s("")}}, {3, 2, true}}},
        {"NUL bytes are left out and counted",
         raw("a\0b,\0\r\n\0,c\r\n"),
         {{{s("ab"), s("")}, {s(""), s("c")}}, {2, 1, false}, {.nulBytes = at(1, 0, 3)}}},
        {"an empty file has no lines", "", {{}, {0, -1, false}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parse(c.bytes), c.expected) << c.what;

    EXPECT_EQ(parse("a;\"b;c\"\td\r\n", asSplit(';')),
              (Parsed{{{s("a"), s("b;c\td")}}, {1, 1, false}}));
    EXPECT_EQ(parse("a\t\"b\tc\"\r\n", asSplit('\t')),
              (Parsed{{{s("a"), s("b\tc")}}, {1, 1, false}}));
}

TEST(DelimitedText, importAndAppendKeepTheirFields)
{
    DelimitedText::Settings import; // 50 fields, the last one wins, LF as CR LF
    DelimitedText::Settings append = asSplit();
    append.keptFields = 2;
    QByteArray sixty;
    for (int i = 1; i <= 60; ++i)
        sixty += QByteArray::number(i) + (i < 60 ? "," : "");
    Fields kept50; // fields 1 to 49, then the last of the line
    for (int i = 1; i < 50; ++i)
        kept50.push_back(QString::number(i));
    kept50.push_back(QStringLiteral("60"));
    const QString x4000(4000, u'x');
    const struct
    {
        const char *what;
        DelimitedText::Settings settings;
        QByteArray bytes;
        Parsed expected;
    } cases[] = {
        {"import: a LF in a text becomes CR LF",
         import,
         "\"a\nb\",c",
         {{{s("a\r\nb"), s("c")}}, {1, 1, false}}},
        {"import: past 50 fields, the last one goes into the 50th",
         import,
         sixty + "\r\n" + sixty + ",\"61\r\n",
         {{kept50, kept50}, {2, 60, true}, {.endedInQuotes = at(2), .widerLines = at(1, 0, 2)}}},
        {"append: the fields past the database's are left out",
         append,
         "a,b,c\r\nd\r\n",
         {{{s("a"), s("b")}, {s("d")}}, {2, 2, true}, {.widerLines = at(1)}}},
        {"a text of more than 4000 characters is cut, control bytes not counted",
         import,
         "a," + QByteArray(4001, 'x') + "\x01," + QByteArray(3999, 'y') + "\x01\x01zz\r\nb",
         {{{s("a"), x4000, QString(3999, u'y') + s("\x01\x01z")}, {s("b")}},
          {2, 2, true},
          {.textsCut = at(1, 2, 2)}}},
        {"a quoted text of 4000 characters and line breaks is whole",
         import,
         "\"" + QByteArray(3990, 'x') + QByteArray(10, '\n') + "\"",
         {{{QString(3990, u'x') + QStringLiteral("\r\n").repeated(10)}}, {1, 0, false}}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(parse(c.bytes, c.settings), c.expected) << c.what;
}

TEST(DelimitedText, hostileSourcesStopAtABound)
{
    struct Summary
    {
        DelimitedText::Status status;
        qint64 line;
        DelimitedText::Count count;
        Notes notes;
        size_t linesTaken;
        bool readWithinBound;
        bool operator==(const Summary &) const = default;
    };
    using Status = DelimitedText::Status;
    const qint64 bound = DelimitedText::MaxLineBytes + 2 * 256 * 1024;
    const qint64 maxLines = DelimitedText::MaxLines;
    const struct
    {
        const char *what;
        QByteArray prefix;
        QByteArray pattern;
        qint64 maxRead; ///< what reading may take from the source
        Summary expected;
    } cases[] = {
        {"/dev/zero", {}, QByteArray(1, '\0'), bound, {Status::LineTooLong, 1, {}, {}, 0, true}},
        {"a line of commas without end", {}, ",", bound, {Status::LineTooLong, 1, {}, {}, 0, true}},
        {"a line of xy, without end", {}, "xy,", bound, {Status::LineTooLong, 1, {}, {}, 0, true}},
        {"good lines, then one without end",
         "a,b\r\nc,d\r\n",
         "x",
         bound,
         {Status::LineTooLong, 3, {2, 1, false}, {}, 2, true}},
        {"a FIFO fed lines for ever",
         {},
         "a,b\n",
         4 * maxLines + bound,
         {Status::Read,
          0,
          {maxLines + 1, 1, false},
          {.unreadLine = maxLines + 1},
          size_t(maxLines),
          true}},
        {"lines of 200 commas for ever",
         {},
         QByteArray(200, ',') + "\r\n",
         202 * maxLines + bound,
         {Status::Read,
          0,
          {maxLines + 1, 200, false},
          {.widerLines = at(1, 0, maxLines), .unreadLine = maxLines + 1},
          size_t(maxLines),
          true}},
        {"a quote never closed, LF lines for ever",
         "\"a\n",
         "b,c\n",
         4 * maxLines + 2 * bound,
         {Status::Read,
          0,
          {maxLines + 1, 1, true},
          {.quoteLeftOpen = at(1), .unreadLine = maxLines + 1},
          size_t(maxLines),
          true}},
        {"a quote never closed, CR LF lines for ever",
         "\"a\r\n",
         "b,c\r\n",
         5 * maxLines + bound,
         {Status::Read,
          0,
          {maxLines + 1, 1, true},
          {.endedInQuotes = at(1), .unreadLine = maxLines + 1},
          size_t(maxLines),
          true}},
    };
    for (const auto &c : cases) {
        EndlessDevice device(c.pattern, c.prefix);
        Collect sink;
        NoProgress progress;
        const DelimitedText::Result r = DelimitedText::read(device, {}, sink, progress);
        const Summary got{
            r.status, r.line, r.count, r.notes, sink.lines.size(), device.given() <= c.maxRead};
        EXPECT_EQ(got, c.expected) << c.what << ", read " << device.given();
    }
}

namespace {

/// Bytes of every kind a text file may hold: ASCII, the code page's high
/// bytes, UTF-8 sequences of one to four bytes (valid, cut short, overlong,
/// surrogates), with no line end, quote, separator, NUL or Ctrl-Z.
QByteArray randomText(QRandomGenerator &rng, int pieces, bool utf8Only)
{
    static const QByteArray valid[] = {"a",
                                       "Z",
                                       " ",
                                       "\xC3\xA9",
                                       "\xE2\x82\xAC",
                                       "\xCE\xA9",
                                       "\xF0\x9F\x98\x80",
                                       "\xEF\xBF\xBD",
                                       "\xC2\x81",
                                       "\xEF\xBF\xBF",
                                       "\xEF\xB7\x90",
                                       "\xF4\x8F\xBF\xBF"};
    static const QByteArray invalid[] = {
        "\xE9", "\x80", "\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF"};
    QByteArray bytes;
    for (int i = 0; i < pieces; ++i) {
        if (!utf8Only && rng.bounded(40) == 0)
            bytes += invalid[rng.bounded(int(std::size(invalid)))];
        else
            bytes += valid[rng.bounded(int(std::size(valid)))];
    }
    return bytes;
}

} // namespace

TEST(DelimitedText, theEncodingIsWhatTheWholeFileShows)
{
    // The oracle: the file decoded whole, as Qt's decoder reads it.
    QRandomGenerator rng(21);
    for (int round = 0; round < 200; ++round) {
        const bool utf8Only = round % 2 == 0;
        const int lineCount = 1 + rng.bounded(round < 190 ? 8 : 4000);
        std::vector<QByteArray> lines;
        QByteArray file = round % 7 == 0 ? QByteArray("\xEF\xBB\xBF") : QByteArray();
        for (int i = 0; i < lineCount; ++i) {
            lines.push_back(randomText(rng, rng.bounded(60), utf8Only || i + 1 < lineCount / 2));
            file += lines.back() + "\r\n";
        }
        const TextEncoding encoding =
            round % 5 == 1 ? TextEncoding::Utf8
                           : (round % 5 == 2 ? TextEncoding::Cp1252 : TextEncoding::Auto);
        const QString whole = TextCodec::decode(file, encoding);
        Parsed expected{{}, {lineCount, 0, false}};
        expected.encoding = encoding == TextEncoding::Auto ? TextCodec::detect(file) : encoding;
        for (const QString &line : whole.split(QStringLiteral("\r\n"))) {
            if (expected.lines.size() < size_t(lineCount))
                expected.lines.push_back({line});
        }
        const DelimitedText::Settings settings = asSplit(',', encoding);
        QByteArray data = file;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        Parsed fromFile = parse(buffer, settings);
        PieceDevice pipe(file, {1, 7, 300000, 2});
        Parsed fromPipe = parse(pipe, settings);
        // Only the bytes that are no UTF-8 are counted beyond the oracle.
        fromFile.notes.notUtf8 = fromPipe.notes.notUtf8 = {};
        EXPECT_EQ(fromFile, expected) << round;
        EXPECT_EQ(fromPipe, expected) << round;
    }
}
