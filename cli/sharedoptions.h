#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

/**
 * The options several commands share, declared here once: the passwords,
 * the locale, and the separator and encoding of delimited text.
 */
namespace SharedOptions {

/// The groups a command takes (CommandSyntax::shared).
enum Group : unsigned
{
    Passwords = 1,    ///< --password, --password-file: the database read
    NewPasswords = 2, ///< --encrypt, --encrypt-file: the database written
    TextFormat = 4,   ///< --separator, --encoding
};

inline const QString Password = QStringLiteral("password");
inline const QString PasswordFile = QStringLiteral("password-file");
inline const QString Encrypt = QStringLiteral("encrypt");
inline const QString EncryptFile = QStringLiteral("encrypt-file");
inline const QString Locale = QStringLiteral("locale");
inline const QString Separator = QStringLiteral("separator");
inline const QString Encoding = QStringLiteral("encoding");
inline const QString Help = QStringLiteral("help");
inline const QString Version = QStringLiteral("version");

/// The options of the groups in @p groups, in the order the help shows
/// them.
QList<QCommandLineOption> of(unsigned groups);

/// --locale NAME, which every command takes (and which may also come
/// before the command).
QCommandLineOption locale();
/// -h, --help.
QCommandLineOption help();

} // namespace SharedOptions
