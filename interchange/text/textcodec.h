#pragma once

#include <QByteArray>
#include <QString>

/// How the bytes of a text file map to characters.
enum class TextEncoding
{
    Auto,   ///< UTF-8 when the file says so or shows it, else Windows-1252
    Cp1252, ///< Windows-1252, the handheld's code page
    Utf8,
};

/**
 * Decoding and encoding of delimited text files. Files are Windows-1252,
 * like the database; since most text files written today are UTF-8, a file
 * that begins with the UTF-8 byte-order mark, or that is valid UTF-8 and
 * holds at least one multi-byte sequence, is read as UTF-8.
 */
namespace TextCodec {

/// The encoding Auto settles on for @p bytes.
TextEncoding detect(const QByteArray &bytes);

/// The characters of @p bytes; a leading UTF-8 byte-order mark is dropped
/// when the text is read as UTF-8. Auto decides by detect().
QString decode(const QByteArray &bytes, TextEncoding encoding);

/// The bytes of @p text: Windows-1252 (a character without a byte becomes
/// '?') unless @p encoding is Utf8.
QByteArray encode(QStringView text, TextEncoding encoding);

/// What a UTF-8 file begins with, so that other programs know it as one.
QByteArray byteOrderMark(TextEncoding encoding);

/// The length of the UTF-8 sequence that begins at @p p (before @p end),
/// with its code point in @p codePoint; 0 when the bytes there are no
/// valid sequence (a stray continuation byte, an overlong form, a
/// surrogate, a code point past U+10FFFF, a sequence cut short). A byte
/// below 0x80 is a sequence of one.
int utf8Sequence(const unsigned char *p, const unsigned char *end, char32_t *codePoint);

/// "auto", "cp1252" or "utf-8"; false for anything else.
bool fromName(const QString &name, TextEncoding *encoding);

} // namespace TextCodec
