#include "core/crypto/obtainreadpassword.h"

#include "core/crypto/cipherstate.h"
#include "core/format/lostruc.h"
#include "core/platform/messageservice.h"
#include "core/platform/passwordprompt.h"

#include <QIODevice>
#include <QtEndian>

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
        if (qFromBigEndian<quint16>(plain.constData() + LoStruc::MarkerOffset) ==
            LoStruc::CurrentMarker)
            return password;
        messages.show(
            {QStringLiteral("Password Error"),
             MessageIcon::Error,
             {QStringLiteral("Incorrect Password given."), QStringLiteral("Please re-enter")},
             MessageButton::Ok});
    }
}
