#pragma once

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <optional>

/**
 * The password options of a command: the password of the file read
 * (--password PW or --password-file FILE) and, where the command writes a
 * new one, the new password (--encrypt NEWPW or --encrypt-file FILE). A
 * password file gives its first line, without its line end; it is a
 * regular file or a pipe (no device), read only up to that line end or
 * the end of the input, and a line longer than a password can be is an
 * error. A password given as an argument is seen by every user of the
 * machine in the process list; a file is not.
 */
class PasswordOptions
{
public:
    explicit PasswordOptions(bool withEncrypt) : mWithEncrypt(withEncrypt) {}

    /// Takes the password options @p parser holds. False, with the reason
    /// in @p why, for a usage error: a password given twice, or a file of
    /// no name.
    bool take(const QCommandLineParser &parser, QString *why);

    /// Reads the files named. On failure puts the reason in @p error.
    bool load(QString *error);

    /// The password of the file read, when one was given (a file's once
    /// loaded).
    const std::optional<QString> &password() const { return mPassword.value; }
    /// Whether a new password was given, as a value or a file.
    bool hasNewPassword() const { return mNewPassword.value || !mNewPassword.file.isEmpty(); }
    /// The new password, when one was given (a file's once loaded).
    const std::optional<QString> &newPassword() const { return mNewPassword.value; }

    /// The handheld's key takes the first 64 bytes of a password: more
    /// characters are of no use.
    static constexpr int MaxPasswordLength = 64;

private:
    /// A line end may follow within this many bytes of UTF-8.
    static constexpr qsizetype MaxFileLineBytes = 4 * MaxPasswordLength + 1;

    struct Source
    {
        std::optional<QString> value;
        QString file;
    };
    static bool takeSource(const QCommandLineParser &parser, const QString &valueName,
                           const QString &fileName, Source &source, QString *why);
    static bool loadFile(Source &source, QString *error);

    bool mWithEncrypt;
    Source mPassword;
    Source mNewPassword;
};
