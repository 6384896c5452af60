#pragma once

#include "core/messageservice.h"
#include "core/passwordprompt.h"

#include <QString>
#include <QTextStream>

/**
 * The services of a run of the command-line tool: messages go to standard
 * error, questions are answered Cancel (or OK where that is the only
 * button), and the password is the one given on the command line, offered
 * once. There is nobody to ask again.
 */
class CliSession : public MessageService, public PasswordPrompt
{
public:
    CliSession();

    void setPassword(const QString &password) { mPassword = password; }
    /// Whether the reader asked for a password that was not given.
    bool passwordMissing() const { return mPasswordMissing; }

    MessageButton show(const Message &message) override;
    QString askPasswordToOpen() override;
    QString askPasswordToEncrypt() override;

    /// Writes the lines to standard error, one per line.
    void printError(const QStringList &lines);

private:
    QTextStream mErr;
    QString mPassword;
    bool mPasswordOffered = false;
    bool mPasswordMissing = false;
};
