#include "core/format/codepage.h"

namespace {

// 0x80..0x9F: where Windows-1252 differs from Latin-1. The five undefined
// positions keep their own value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

} // namespace

namespace Codepage {

QString decode(const char *data, qsizetype size)
{
    QString text(size, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : char16_t(b);
    }
    return text;
}

void decodeStoredInto(const char *data, qsizetype size, QString &text)
{
    const auto *bytes = reinterpret_cast<const unsigned char *>(data);
    qsizetype lineFeeds = 0;
    for (qsizetype i = 0; i < size; ++i)
        lineFeeds += bytes[i] == '\n';
    text.resize(size + lineFeeds);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char b = bytes[i];
        if (b == '\n')
            *out++ = u'\r';
        *out++ = (b >= 0x80 && b < 0xA0) ? kHighControls[b - 0x80] : char16_t(b);
    }
}

QString decodeStored(const char *data, qsizetype size)
{
    QString text;
    decodeStoredInto(data, size, text);
    return text;
}

int byteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == c)
            return 0x80 + i;
    }
    return -1;
}

QByteArray encode(QStringView text, qsizetype *unmappable)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype missing = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        int b = c < 0x80 ? int(c) : byteFor(c);
        if (b < 0) {
            // A character beyond the BMP is one character in two code units.
            if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            b = '?';
            ++missing;
        }
        bytes.append(char(b));
    }
    if (unmappable)
        *unmappable = missing;
    return bytes;
}

bool canEncode(QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80 && byteFor(c.unicode()) < 0)
            return false;
    }
    return true;
}

} // namespace Codepage
