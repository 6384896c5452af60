#include "interchange/json/jsonreader.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

/// What the reader made of a document holding one text: the code page's
/// bytes, or the fault with the text it must mention.
struct Read
{
    QByteArray bytes;
    bool failed = false;
    bool operator==(const Read &) const = default;
};

Read readText(const QByteArray &document, JsonReader::LineBreaks breaks, qsizetype maxBytes,
              const QString &mentioned)
{
    QByteArray bytes = document;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    JsonReader reader(in);
    QByteArray out;
    const bool ok =
        reader.readText(out, maxBytes, QStringLiteral("too long"), breaks) && reader.finish();
    if (ok)
        return {out, false};
    // A fault must say what it found; anything else reads as a wrong text.
    return {reader.fault().contains(mentioned) ? QByteArray() : reader.fault().toUtf8(), true};
}

} // namespace

// One text each, read in the code page of the file; the bytes of Windows-1252
// written independently of the program's table.
TEST(JsonReader, readsATextInTheFilesCodePage)
{
    using LB = JsonReader::LineBreaks;
    // After the quote, as many letters as put the next byte last in the chunk.
    const QByteArray chunkEdge = QByteArray(JsonReader::ChunkSize - 2, 'a');
    struct Case
    {
        const char *what;
        QByteArray document;
        LB breaks;
        Read read;
        const char *mentioned = "";
        qsizetype maxBytes = 1 << 20;
    };
    const std::vector<Case> cases = {
        {"ASCII", R"("plain text")", LB::AsWritten, {"plain text"}},
        {"escapes", R"("\"\\\/\b\f\n\r\t")", LB::AsWritten, {"\"\\/\b\f\n\r\t"}},
        {"UTF-8 of Windows-1252 characters",
         "\"caf\xc3\xa9 \xe2\x82\xac \xc5\xa0 \xe2\x84\xa2 \xc3\xbf\"",
         LB::AsWritten,
         {"caf\xe9 \x80 \x8a \x99 \xff"}},
        {"\\u escapes, lower and upper case",
         R"("\u00e9\u20AC\u0081\u008d\u008F\u0090\u009d\u007f")",
         LB::AsWritten,
         {"\xe9\x80\x81\x8d\x8f\x90\x9d\x7f"}},
        {"line breaks as stored", R"("a\r\nb\rc\nd\r\r\ne\r")", LB::Stored, {"a\nb\rc\nd\r\ne\r"}},
        {"line breaks as written", R"("a\r\nb")", LB::AsWritten, {"a\r\nb"}},
        {"a byte-order mark before the document", "\xef\xbb\xbf\"x\"", LB::AsWritten, {"x"}},
        {"an escape across the end of a chunk",
         "\"" + chunkEdge + R"(\u00e9\r\n")",
         LB::Stored,
         {chunkEdge + "\xe9\n"}},
        {"a CR at the end of a chunk, its LF after it",
         "\"" + chunkEdge.chopped(1) + R"(\r\n")",
         LB::Stored,
         {chunkEdge.chopped(1) + "\n"}},
        {"a character Windows-1252 lacks", R"("\u0080")", LB::AsWritten, {{}, true}, "U+0080"},
        {"one of the UTF-8 that Windows-1252 lacks",
         "\"\xe2\x9c\x93\"",
         LB::AsWritten,
         {{}, true},
         "U+2713"},
        {"a surrogate pair", R"("\ud83d\ude00")", LB::AsWritten, {{}, true}, "U+D83D"},
        {"four bytes of UTF-8", "\"\xf0\x9f\x98\x80\"", LB::AsWritten, {{}, true}, "U+1F600"},
        {"U+0000", R"("a\u0000")", LB::AsWritten, {{}, true}, "U+0000"},
        {"a control character unescaped", "\"a\x01\"", LB::AsWritten, {{}, true}, "U+0001"},
        {"a cut UTF-8 sequence", "\"\xc3(\"", LB::AsWritten, {{}, true}, "UTF-8"},
        {"an overlong UTF-8 sequence", "\"\xc0\xaf\"", LB::AsWritten, {{}, true}, "UTF-8"},
        {"a surrogate in UTF-8", "\"\xed\xa0\x80\"", LB::AsWritten, {{}, true}, "UTF-8"},
        {"Latin-1, not UTF-8", "\"caf\xe9\"", LB::AsWritten, {{}, true}, "UTF-8"},
        {"an unknown escape", R"("\x")", LB::AsWritten, {{}, true}, "backslash"},
        {"\\u with three digits", R"("\u00e")", LB::AsWritten, {{}, true}, "four"},
        {"no end", R"("abc)", LB::AsWritten, {{}, true}, "ends inside"},
        {"one byte too many", R"("abcd")", LB::AsWritten, {{}, true}, "too long", 3},
        {"as many as allowed", R"("abc")", LB::AsWritten, {"abc"}, "", 3},
        {"a CR LF counted as one byte", R"("ab\r\n")", LB::Stored, {"ab\n"}, "", 3},
        {"a number for a text", "12", LB::AsWritten, {{}, true}, "a number"},
        {"a second value", R"("a" "b")", LB::AsWritten, {{}, true}, "follows"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readText(c.document, c.breaks, c.maxBytes, QString::fromLatin1(c.mentioned)),
                  c.read)
            << c.what;
}

TEST(JsonReader, readsNumbersAsJsonWritesThem)
{
    struct Case
    {
        QByteArray document;
        bool whole;   ///< asked for a whole number from -1000 to 1000
        double value; ///< NaN when refused
    };
    const double no = std::nan("");
    const std::vector<Case> cases = {
        {"12", true, 12},
        {"-0", true, 0},
        {"1e2", true, 100},
        {"2.0", true, 2},
        {"1.5", true, no},
        {"1001", true, no},
        {"-1001", true, no},
        {"2.5", false, 2.5},
        {"-0.125e-2", false, -0.00125},
        {"123456789.123456789", false, 123456789.123456789},
        {"5e-324", false, 5e-324},
        {"1e400", false, no},
        {"01", false, no},
        {"1.", false, no},
        {".5", false, no},
        {"+1", false, no},
        {"-", false, no},
        {"1e", false, no},
        {"0x10", false, no},
        {"1" + QByteArray(63, '0'), false, 1e63},
        {"1" + QByteArray(64, '0'), false, no},
        {"\"1\"", false, no},
        {"true", false, no},
    };
    std::vector<double> got;
    std::vector<double> expected;
    for (const Case &c : cases) {
        QByteArray bytes = c.document;
        QBuffer in(&bytes);
        in.open(QIODevice::ReadOnly);
        JsonReader reader(in);
        double value = 0;
        qint64 whole = 0;
        const bool ok = c.whole ? reader.readInteger(whole, -1000, 1000) : reader.readNumber(value);
        got.push_back(ok && reader.finish() ? (c.whole ? double(whole) : value) : -7e77);
        expected.push_back(std::isnan(c.value) ? -7e77 : c.value);
    }
    EXPECT_EQ(got, expected);
}
