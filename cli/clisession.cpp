#include "cli/clisession.h"

#include <cstdio>

CliSession::CliSession() : mErr(stderr)
{
}

MessageButton CliSession::show(const Message &message)
{
    printError(message.lines);
    if (message.buttons & MessageButton::Cancel)
        return MessageButton::Cancel;
    if (message.buttons & MessageButton::No)
        return MessageButton::No;
    return MessageButton::Ok;
}

QString CliSession::askPasswordToOpen()
{
    if (mPasswordOffered)
        return QString();
    mPasswordOffered = true;
    if (mPassword.isEmpty())
        mPasswordMissing = true;
    return mPassword;
}

QString CliSession::askPasswordToEncrypt()
{
    return askPasswordToOpen();
}

void CliSession::printError(const QStringList &lines)
{
    mErr << lines.join(QLatin1Char('\n')) << Qt::endl;
}
