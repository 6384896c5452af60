#include "cli/passwordoptions.h"

#include "cli/sharedoptions.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool PasswordOptions::take(const QCommandLineParser &parser, QString *why)
{
    return takeSource(parser, SharedOptions::Password, SharedOptions::PasswordFile, mPassword,
                      why) &&
           (!mWithEncrypt || takeSource(parser, SharedOptions::Encrypt, SharedOptions::EncryptFile,
                                        mNewPassword, why));
}

bool PasswordOptions::takeSource(const QCommandLineParser &parser, const QString &valueName,
                                 const QString &fileName, Source &source, QString *why)
{
    const QStringList values = parser.values(valueName);
    const QStringList files = parser.values(fileName);
    if (values.size() + files.size() > 1) {
        *why = QStringLiteral("--%1 and --%2: give one, once").arg(valueName, fileName);
        return false;
    }
    if (!values.isEmpty())
        source.value = values.first();
    if (!files.isEmpty() && files.first().isEmpty()) {
        *why = QStringLiteral("--%1 needs the name of a file").arg(fileName);
        return false; // an empty name is no file
    }
    if (!files.isEmpty())
        source.file = files.first();
    return true;
}

bool PasswordOptions::load(QString *error)
{
    return loadFile(mPassword, error) && loadFile(mNewPassword, error);
}

bool PasswordOptions::loadFile(Source &source, QString *error)
{
    if (source.file.isEmpty())
        return true;
    const QByteArray native = QFile::encodeName(source.file);
    const auto fail = [&](const QString &why) {
        *error = source.file + QStringLiteral(": ") + why;
        return false;
    };
    // Only a file or a pipe gives a line that ends: a device such as
    // /dev/zero never does, and is not opened at all.
    struct stat named = {};
    if (::stat(native.constData(), &named) != 0)
        return fail(qt_error_string(errno));
    if (!S_ISREG(named.st_mode) && !S_ISFIFO(named.st_mode))
        return fail(QStringLiteral("not a regular file or a pipe"));
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return fail(qt_error_string(errno));
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0 || (!S_ISREG(opened.st_mode) && !S_ISFIFO(opened.st_mode))) {
        ::close(fd);
        return fail(QStringLiteral("not a regular file or a pipe"));
    }
    // The first line, read until its line end or the end of the input,
    // whichever comes first, and never more than a password can take.
    QByteArray line;
    bool ended = false;
    char buffer[256];
    while (!ended && line.size() <= MaxFileLineBytes) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int reason = errno;
            ::close(fd);
            return fail(qt_error_string(reason));
        }
        if (n == 0)
            break;
        const qsizetype before = line.size();
        line.append(buffer, n);
        const qsizetype newline = line.indexOf('\n', before);
        if (newline >= 0) {
            line.truncate(newline);
            ended = true;
        }
    }
    ::close(fd);
    if (line.endsWith('\r'))
        line.chop(1);
    const QString password = QString::fromUtf8(line);
    if (line.size() > MaxFileLineBytes || password.size() > MaxPasswordLength)
        return fail(QStringLiteral("the password is longer than the %1 characters the handheld "
                                   "can use")
                        .arg(MaxPasswordLength));
    source.value = password;
    return true;
}
