#include "core/crypto/obtainreadpassword.h"

#include "core/crypto/cipherstate.h"
#include "core/document/limits.h"
#include "core/format/lostruc.h"
#include "core/platform/messageservice.h"
#include "core/platform/passwordprompt.h"

#include <QIODevice>

namespace {

/**
 * Whether @p plain, a fixed part deciphered with some password, reads as one:
 * the marker, a field count of 1 to 50, and for each field a width word of at
 * most Limits::MaxFieldWidth either way (a writer may keep a wide column's
 * width in the whole word). The marker alone lets about one wrong password in
 * 65,536 through; these checks leave about one in 10^8 with a single field,
 * fewer with more. The type codes are not looked at: a file with a type this
 * program does not know still opens with its right password, and the reader
 * asks about that type as it does for a plain file.
 */
bool readsAsFixedPart(const LoStruc &plain)
{
    if (plain.word(LoStruc::MarkerOffset) != LoStruc::CurrentMarker)
        return false;
    const int fieldCount = plain.word(LoStruc::FieldCountOffset);
    if (fieldCount < 1 || fieldCount > Limits::MaxFields)
        return false;
    for (int k = 1; k <= fieldCount; ++k) {
        const int width = qint16(plain.word(LoStruc::widthOffset(k)));
        if (qAbs(width) > Limits::MaxFieldWidth)
            return false;
    }
    return true;
}

} // namespace

std::optional<QString> ObtainReadPassword(QIODevice &file, qint64 appInfoOffset,
                                          PasswordPrompt &prompt, MessageService &messages,
                                          CipherState &cipher)
{
    if (!file.seek(appInfoOffset))
        return std::nullopt;
    const QByteArray enciphered = file.read(LoStruc::Size);
    if (enciphered.size() < LoStruc::Size)
        return std::nullopt;

    for (;;) {
        const QString password = prompt.askPasswordToOpen();
        if (password.isEmpty())
            return std::nullopt;
        cipher.SetCipherKey(password);
        QByteArray plain = enciphered;
        cipher.DecipherBuffer(plain.data(), plain.size());
        if (readsAsFixedPart(LoStruc(plain)))
            return password;
        messages.show(
            {QStringLiteral("Password Error"),
             MessageIcon::Error,
             {QStringLiteral("Incorrect Password given."), QStringLiteral("Please re-enter")},
             MessageButton::Ok});
    }
}
