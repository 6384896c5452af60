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
