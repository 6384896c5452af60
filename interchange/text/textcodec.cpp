#include "interchange/text/textcodec.h"

#include "core/format/codepage.h"

#include <QStringDecoder>

namespace {

const QByteArray &utf8Mark()
{
    static const QByteArray mark("\xEF\xBB\xBF", 3);
    return mark;
}

bool hasHighByte(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

} // namespace

namespace TextCodec {

TextEncoding detect(const QByteArray &bytes)
{
    if (bytes.startsWith(utf8Mark()))
        return TextEncoding::Utf8;
    // Pure ASCII reads the same either way; a multi-byte sequence that is
    // valid throughout says UTF-8.
    if (!hasHighByte(bytes))
        return TextEncoding::Cp1252;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString probe = decoder.decode(bytes);
    Q_UNUSED(probe);
    return decoder.hasError() ? TextEncoding::Cp1252 : TextEncoding::Utf8;
}

QString decode(const QByteArray &bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Auto)
        encoding = detect(bytes);
    if (encoding == TextEncoding::Cp1252)
        return Codepage::decode(bytes);
    const qsizetype skip = bytes.startsWith(utf8Mark()) ? utf8Mark().size() : 0;
    return QString::fromUtf8(bytes.constData() + skip, bytes.size() - skip);
}

QByteArray encode(QStringView text, TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? text.toUtf8() : Codepage::encode(text);
}

QByteArray byteOrderMark(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8 ? utf8Mark() : QByteArray();
}

int utf8Sequence(const unsigned char *p, const unsigned char *end, char32_t *codePoint)
{
    // The lead byte gives the length and the least code point that length
    // may carry; every further byte is 10xxxxxx.
    const unsigned char lead = *p;
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    }
    int length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (end - p < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (p[i] & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    *codePoint = c;
    return length;
}

bool fromName(const QString &name, TextEncoding *encoding)
{
    if (name == QLatin1String("auto"))
        *encoding = TextEncoding::Auto;
    else if (name == QLatin1String("cp1252"))
        *encoding = TextEncoding::Cp1252;
    else if (name == QLatin1String("utf-8"))
        *encoding = TextEncoding::Utf8;
    else
        return false;
    return true;
}

} // namespace TextCodec
