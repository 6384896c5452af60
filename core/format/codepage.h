#pragma once

#include <QByteArray>
#include <QString>

/**
 * The one code page of every text in a database or delimited text file:
 * Windows-1252, with the five bytes it leaves undefined (0x81, 0x8D, 0x8F,
 * 0x90, 0x9D) mapped to the code point of the same value, so that every byte
 * value survives a read and a write. A character with no byte is written as
 * '?'.
 */
namespace Codepage {

/// Decodes @p size bytes; never fails.
QString decode(const char *data, qsizetype size);
inline QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}

/// Decodes @p size bytes as a stored cell text: every LF as CR LF, the
/// line end the grid keeps.
QString decodeStored(const char *data, qsizetype size);
/// The same into @p text, reusing its room.
void decodeStoredInto(const char *data, qsizetype size, QString &text);

/// The byte for @p c, or -1 when the code page has none.
int byteFor(char16_t c);

/// Encodes @p text; a character without a byte becomes '?'. When
/// @p unmappable is given, it receives the number of such characters.
QByteArray encode(QStringView text, qsizetype *unmappable = nullptr);

/// Whether every character of @p text has a byte.
bool canEncode(QStringView text);

} // namespace Codepage
