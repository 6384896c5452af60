#include "core/crypto/cryptformrules.h"

#include "core/format/codepage.h"

QString CryptFormRules::caption() const
{
    return mMode == Mode::Encryption ? QStringLiteral("Encryption Password")
                                     : QStringLiteral("Decryption Password");
}

QString CryptFormRules::firstLabel() const
{
    return mMode == Mode::Encryption
               ? QStringLiteral("Enter the password to encrypt this database.")
               : QStringLiteral("Enter the password to use this database.");
}

Message CryptFormRules::passwordError(const QString &firstLine)
{
    return {QStringLiteral("Password Error"),
            MessageIcon::Error,
            {firstLine, QStringLiteral("Please re-enter.")},
            MessageButton::Ok};
}

CryptFormRules::Outcome CryptFormRules::ok(const QString &first, const QString &second) const
{
    Outcome outcome;
    if (mMode == Mode::Encryption && first != second) {
        outcome.error = passwordError(QStringLiteral("Passwords don't match."));
        return outcome;
    }
    if (first.size() < MinimumLength) {
        outcome.error =
            passwordError(QStringLiteral("Passwords must be a minimum of 6 characters in length."));
        return outcome;
    }
    // The key is made of the password's bytes in the file's code page; a
    // character without a byte would silently become "?" there.
    if (mMode == Mode::Encryption && !Codepage::canEncode(first)) {
        outcome.error = passwordError(
            QStringLiteral("The password holds characters that have no byte in the Western "
                           "(Windows-1252) code page."));
        return outcome;
    }
    outcome.accepted = true;
    outcome.password = first;
    return outcome;
}
