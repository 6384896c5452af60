#pragma once

#include "core/crypto/cipherstate.h"
#include "core/platform/filedialogs.h"
#include "core/platform/messageservice.h"
#include "core/platform/passwordprompt.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/platform/qt/systemclock.h"
#include "core/platform/userfeedback.h"

#include <QString>
#include <QTextStream>

class Database;
class Document;

/**
 * The services of a run of the command-line tool. Messages go to standard
 * error; a question offering Yes (to save characters the file cannot keep)
 * is answered Yes, any other Cancel, so the run goes on only where a warning
 * allows it. The password is the one given on the command line, offered
 * once: there is nobody to ask again. There are no dialogs.
 */
class CliSession : public MessageService,
                   public PasswordPrompt,
                   public FileDialogs,
                   public UserFeedback
{
public:
    CliSession();

    void setPassword(const QString &password) { mPassword = password; }

    /// Reads @p path into @p db; reports a failure and returns false.
    bool readDatabase(const QString &path, Database &db);
    /// Writes @p db as a copy to @p path; reports a failure and returns false.
    bool saveCopy(Database &&db, const QString &path);

    MessageButton show(const Message &message) override;
    QString askPasswordToOpen() override;
    QString askPasswordToEncrypt() override;
    QString getOpenFileName(const FileDialogRequest &) override { return QString(); }
    QString getSaveFileName(const FileDialogRequest &) override { return QString(); }
    void beep() override {}
    void setBusy(bool) override {}

    /// Writes the lines to standard error, one per line.
    void printError(const QStringList &lines);

private:
    QTextStream mErr;
    QString mPassword;
    bool mPasswordOffered = false;
    bool mPasswordMissing = false;
    LocalFileSystem mFiles;
    SystemClock mClock;
    CipherState mCipher;
};
