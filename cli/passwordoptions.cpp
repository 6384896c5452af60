#include "cli/passwordoptions.h"

#include <QFile>

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
    QFile file(source.file);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = source.file + QStringLiteral(": ") + file.errorString();
        return false;
    }
    // One line is read, so a pipe need not end.
    QByteArray line = file.readLine();
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    source.value = QString::fromUtf8(line);
    return true;
}
