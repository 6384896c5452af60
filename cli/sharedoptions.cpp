#include "cli/sharedoptions.h"

namespace SharedOptions {

QList<QCommandLineOption> of(unsigned groups)
{
    QList<QCommandLineOption> options;
    if (groups & Passwords) {
        options << QCommandLineOption(Password,
                                      QStringLiteral("the password of the database read; other "
                                                     "users can see it in the process list"),
                                      QStringLiteral("PW"))
                << QCommandLineOption(PasswordFile,
                                      QStringLiteral("the password of the database read: the "
                                                     "first line of PWFILE (a regular file or a "
                                                     "pipe, at most 64 characters)"),
                                      QStringLiteral("PWFILE"));
    }
    if (groups & NewPasswords) {
        options << QCommandLineOption(Encrypt,
                                      QStringLiteral("encipher the database written with NEWPW "
                                                     "(at least 6 characters)"),
                                      QStringLiteral("NEWPW"))
                << QCommandLineOption(EncryptFile,
                                      QStringLiteral("as --encrypt, with the first line of "
                                                     "NEWPWFILE"),
                                      QStringLiteral("NEWPWFILE"));
    }
    if (groups & TextFormat) {
        options << QCommandLineOption(Separator,
                                      QStringLiteral("the separator of the text: comma (the "
                                                     "default), semicolon or tab"),
                                      QStringLiteral("comma|semicolon|tab"))
                << QCommandLineOption(
                       Encoding,
                       QStringLiteral("how the text is read and written: auto (the default: "
                                      "UTF-8 when the text looks like it, else Windows-1252; "
                                      "written as Windows-1252), cp1252 or utf-8 (written with a "
                                      "byte-order mark)"),
                       QStringLiteral("auto|cp1252|utf-8"));
    }
    return options;
}

QCommandLineOption locale()
{
    return QCommandLineOption(Locale,
                              QStringLiteral("the collation, date and time formats and number "
                                             "separators of locale NAME (en_US, de_DE, ...) "
                                             "instead of the system's"),
                              QStringLiteral("NAME"));
}

QCommandLineOption help()
{
    return QCommandLineOption({QStringLiteral("h"), Help}, QStringLiteral("show this help"));
}

} // namespace SharedOptions
