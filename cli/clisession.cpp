#include "cli/clisession.h"

#include "cli/passwordoptions.h"
#include "cli/terminalpassword.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/files/savedatabasefile.h"
#include "core/format/databasereader.h"

#include <QIODevice>

#include <cstdio>

CliSession::CliSession() : mErr(stderr)
{
}

bool CliSession::readDatabase(const QString &path, Database &db)
{
    const std::unique_ptr<QIODevice> file = mFiles.openForReading(path);
    if (!file) {
        printError({QStringLiteral("There was an error opening the file. This may caused by an "
                                   "invalid filename or path, or the file may be in use by "
                                   "another application.")});
        return false;
    }
    db.setWidthScale(1.0);
    mReading = path;
    const ReadResult result = DatabaseReader(*this, *this, mCipher).read(*file, path, db);
    if (result.ok)
        return true;
    if (mPasswordMissing)
        printError({QStringLiteral("Password required")});
    else if (!result.message.isEmpty())
        printError(result.message);
    return false;
}

bool CliSession::saveCopy(Database &&db, const QString &path)
{
    Document doc(std::move(db));
    return saveCopy(doc, path);
}

bool CliSession::saveCopy(Document &doc, const QString &path)
{
    // The save reports its own failures through show().
    return SaveDatabaseFile(doc, SaveTarget::copyTo(path),
                            {*this, mFiles, *this, *this, mClock, mCipher});
}

MessageButton CliSession::show(const Message &message)
{
    printError(message.lines);
    if (message.buttons & MessageButton::Yes)
        return MessageButton::Yes;
    if (message.buttons & MessageButton::Cancel)
        return MessageButton::Cancel;
    if (message.buttons & MessageButton::No)
        return MessageButton::No;
    return MessageButton::Ok;
}

QString CliSession::askPasswordToOpen()
{
    if (!mPassword && TerminalPassword::available()) {
        const QString typed =
            TerminalPassword::ask(QStringLiteral("Password for %1: ").arg(mReading))
                .value_or(QString());
        mPasswordMissing = typed.isEmpty();
        return typed;
    }
    if (mPasswordOffered)
        return QString();
    mPasswordOffered = true;
    const QString given = mPassword.value_or(QString());
    mPasswordMissing = given.isEmpty();
    return given;
}

QString CliSession::askPasswordToEncrypt()
{
    return askPasswordToOpen();
}

void CliSession::printError(const QStringList &lines)
{
    mErr << lines.join(QLatin1Char('\n')) << Qt::endl;
}

bool CliSession::usePasswords(PasswordOptions &passwords)
{
    QString error;
    if (!passwords.load(&error)) {
        printError({error});
        return false;
    }
    setPassword(passwords.password());
    return true;
}
