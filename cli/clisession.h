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

#include <optional>

class Database;
class Document;

/**
 * The services of a run of the command-line tool. Messages go to standard
 * error; a question offering Yes (to save characters the file cannot keep)
 * is answered Yes, any other Cancel, so the run goes on only where a warning
 * allows it. A password given on the command line is offered once: there
 * is nobody to ask again. Without one, and with standard input a terminal,
 * the password is asked for there without echo, again after a wrong one,
 * until an empty line. There are no dialogs.
 */
class PasswordOptions;

class CliSession : public MessageService,
                   public PasswordPrompt,
                   public FileDialogs,
                   public UserFeedback
{
public:
    CliSession();

    /// The password to offer, when one was given.
    void setPassword(const std::optional<QString> &password) { mPassword = password; }
    /// Loads the password @p passwords name (a file's first line) and
    /// offers it; says why on standard error and returns false when the
    /// file cannot be read.
    bool usePasswords(PasswordOptions &passwords);

    /// Reads @p path into @p db; reports a failure and returns false.
    bool readDatabase(const QString &path, Database &db);
    /// Writes @p db as a copy to @p path; reports a failure and returns false.
    bool saveCopy(Database &&db, const QString &path);
    /// Writes the database of @p doc as a copy to @p path; as saveCopy().
    bool saveCopy(Document &doc, const QString &path);

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
    std::optional<QString> mPassword;
    QString mReading;
    bool mPasswordOffered = false;
    bool mPasswordMissing = false;
    LocalFileSystem mFiles;
    SystemClock mClock;
    CipherState mCipher;
};
