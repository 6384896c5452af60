#include "cli/passwordoptions.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PasswordOptions::Taken PasswordOptions::take(const QStringList &arguments, qsizetype &i)
{
    const QString &arg = arguments[i];
    if (i + 1 >= arguments.size())
        return Taken::No;
    Source *source = nullptr;
    bool fromFile = false;
    if (arg == QLatin1String("--password") || arg == QLatin1String("--password-file")) {
        source = &mPassword;
        fromFile = arg.endsWith(QLatin1String("-file"));
    } else if (mWithEncrypt &&
               (arg == QLatin1String("--encrypt") || arg == QLatin1String("--encrypt-file"))) {
        source = &mNewPassword;
        fromFile = arg.endsWith(QLatin1String("-file"));
    } else {
        return Taken::No;
    }
    if (source->value || !source->file.isEmpty())
        return Taken::Bad;
    const QString &value = arguments[++i];
    if (!fromFile)
        source->value = value;
    else if (value.isEmpty())
        return Taken::Bad; // an empty name is no file
    else
        source->file = value;
    return Taken::Yes;
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
