#include "core/files/opendatabasefile.h"

#include "core/document/database.h"
#include "core/document/databaseflags.h"
#include "core/document/document.h"
#include "core/files/databaseshell.h"
#include "core/format/databasereader.h"
#include "core/platform/filedialogs.h"
#include "core/platform/filesystem.h"
#include "core/platform/messageservice.h"
#include "core/platform/passwordprompt.h"
#include "core/platform/userfeedback.h"

#include <QFileInfo>
#include <QIODevice>

namespace {

void applyViewPosition(const Database &db, DatabaseShell &shell)
{
    const ViewPosition &vp = db.viewPosition();
    const RecordGrid &grid = db.grid();
    const qint64 current = qint64(vp.currentRecord) + 1;
    if (current >= 1 && current <= grid.rowCount() - 1)
        shell.setCurrentRow(int(current));
    const qint64 column = qint64(vp.visibleField) + 1;
    const qint64 row = qint64(vp.visibleRecord) + 1;
    if (column < grid.columnCount() && row < grid.rowCount())
        shell.bringCellIntoView(int(qMax<qint64>(column, 1)), int(qMax<qint64>(row, 1)));
}

/// The password the database had, offered before the user is asked.
class KnownPasswordFirst : public PasswordPrompt
{
public:
    KnownPasswordFirst(const QString &known, PasswordPrompt &prompt)
        : mKnown(known), mPrompt(prompt)
    {
    }
    QString askPasswordToOpen() override
    {
        if (!mKnown.isEmpty())
            return std::exchange(mKnown, QString());
        return mPrompt.askPasswordToOpen();
    }
    QString askPasswordToEncrypt() override { return mPrompt.askPasswordToEncrypt(); }

private:
    QString mKnown;
    PasswordPrompt &mPrompt;
};

/// The file open as @p file read into a database that @p doc takes and
/// the window shows; the path the database takes is @p fileName. Only a
/// file that opened enters the recent files (with @p recent).
bool readAndShow(Document &doc, QIODevice &file, const QString &fileName, const OpenServices &s,
                 PasswordPrompt &passwords, const FileStamp &stamp, bool changed,
                 bool recent = false)
{
    s.feedback.setBusy(true);
    // Read into a database of its own; the document takes it over whole
    // once it has been read, so a failed or cancelled read leaves the open
    // database as it was.
    Database db;
    db.setWidthScale(doc.database().widthScale());
    DatabaseReader reader(s.messages, passwords, s.cipher);
    reader.setExpertMode(s.shell.expertMode());
    const ReadResult result = reader.read(file, fileName, db);
    file.close();
    s.feedback.setBusy(false);

    if (!result.ok) {
        if (!result.message.isEmpty())
            s.messages.show(Message::error(result.message));
        return false;
    }
    db.setFilePath(fileName);
    db.setChanged(changed);
    if (recent)
        s.shell.AddRecentFile(fileName);
    s.shell.SetupGrid(false);
    doc.replace(std::move(db), stamp);
    s.shell.SetupGrid(true);
    s.shell.focusGrid();
    if (doc.database().flags() & DatabaseFlags::FilterOnOpen)
        s.shell.applySimpleFilter();
    applyViewPosition(doc.database(), s.shell);
    return true;
}

void reportOpenError(MessageService &messages)
{
    messages.show(Message::error(
        {QStringLiteral("There was an error opening the file. This may caused by an invalid "
                        "filename or path, or the file may be in use by another "
                        "application.")}));
}

} // namespace

bool OpenDatabaseFile(Document &doc, const QString &path, const OpenServices &s)
{
    if (!s.shell.ConfirmDiscardChanges())
        return false;

    QString fileName = path;
    if (fileName.isEmpty()) {
        FileDialogRequest request;
        request.title = QStringLiteral("Open Listora database");
        request.filter = QStringLiteral("Listora database (*.pdb)|*.pdb|All Files (*.*)|*.*");
        request.defaultExtension = QStringLiteral("pdb");
        request.initialFolder = s.shell.initialDirectory();
        fileName = s.dialogs.getOpenFileName(request);
        if (fileName.isEmpty())
            return false;
        s.shell.clearInitialDirectory();
    }
    const bool chosen = path.isEmpty();

    if (s.recovery && s.recovery->restoreInstead(fileName))
        return true;

    const std::unique_ptr<QIODevice> file = s.files.openForReading(fileName);
    if (!file) {
        reportOpenError(s.messages);
        return false;
    }
    // Taken before reading: a change made while the file is read shows.
    const FileStamp stamp = s.files.status(fileName).stamp();
    s.shell.setInitialDirPath(QFileInfo(fileName).absolutePath());
    return readAndShow(doc, *file, fileName, s, s.passwords, stamp, false, chosen);
}

bool OpenRecoveredFile(Document &doc, const QString &recoveryPath, const QString &originalPath,
                       const FileStamp &original, const OpenServices &s)
{
    const std::unique_ptr<QIODevice> file = s.files.openForReading(recoveryPath);
    if (!file) {
        reportOpenError(s.messages);
        return false;
    }
    return readAndShow(doc, *file, originalPath, s, s.passwords, original, true);
}

bool ReloadDatabaseFile(Document &doc, const OpenServices &s)
{
    const QString fileName = doc.database().filePath();
    const std::unique_ptr<QIODevice> file =
        fileName.isEmpty() ? nullptr : s.files.openForReading(fileName);
    if (!file) {
        reportOpenError(s.messages);
        return false;
    }
    const FileStamp stamp = s.files.status(fileName).stamp();
    KnownPasswordFirst passwords(doc.database().password(), s.passwords);
    return readAndShow(doc, *file, fileName, s, passwords, stamp, false);
}
