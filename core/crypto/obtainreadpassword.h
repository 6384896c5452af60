#pragma once

#include <QString>

#include <optional>

class CipherState;
class MessageService;
class PasswordPrompt;
class QIODevice;

/**
 * The password loop of an enciphered file: asks for a password until one
 * deciphers the fixed part of the application-info block at @p appInfoOffset
 * to the right marker and a field table the reader accepts (1 to 50 fields,
 * known type codes, widths in range), or the user cancels. Each wrong
 * password is reported.
 *
 * Returns the right password, with @p cipher keyed by it for the reading
 * that follows; or nothing when the user cancelled or the bytes could not be
 * read. The caller decides where the password is kept.
 */
std::optional<QString> ObtainReadPassword(QIODevice &file, qint64 appInfoOffset,
                                          PasswordPrompt &prompt, MessageService &messages,
                                          CipherState &cipher);
