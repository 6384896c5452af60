#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/**
 * The arguments of a program as the file system will see them again.
 *
 * A file name is bytes. Each argument is decoded as file names are
 * (QFile::decodeName) and kept only when encoding it again gives the very
 * same bytes; one that does not (bytes that are no UTF-8 become U+FFFD,
 * and U+FFFD names another file) is refused, so that no file but the one
 * named is ever read or written.
 */
namespace CommandLineBytes {

/// Arguments 1..@p argc - 1 of @p argv; nothing when one of them cannot
/// be carried exactly, with @p error saying which.
std::optional<QStringList> decode(int argc, const char *const *argv, QString *error);

/// @p bytes as a reader sees them: printable ASCII as it is, any other byte
/// as \xHH.
QString escaped(const QByteArray &bytes);

} // namespace CommandLineBytes
