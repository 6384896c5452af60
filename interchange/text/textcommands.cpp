#include "interchange/text/textcommands.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/document/limits.h"
#include "core/files/databaseshell.h"
#include "core/files/savedatabasefile.h"
#include "core/platform/filedialogs.h"
#include "core/platform/filesystem.h"
#include "core/platform/messageservice.h"
#include "core/platform/progress.h"
#include "core/platform/userfeedback.h"
#include "interchange/text/delimitedtext.h"
#include "interchange/text/importreport.h"
#include "interchange/text/textexport.h"
#include "interchange/text/textfiletype.h"
#include "interchange/text/textimport.h"
#include "interchange/text/unmappablecells.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <utility>

namespace {

/// The busy cursor and the progress of one piece of work, ended whichever
/// way the work ends.
class BusyWork
{
public:
    BusyWork(const TextServices &s, const QString &label) : mS(s)
    {
        mS.feedback.setBusy(true);
        mS.progress.start(label);
    }
    ~BusyWork() { end(); }
    void end()
    {
        if (mDone)
            return;
        mDone = true;
        mS.progress.finish();
        mS.feedback.setBusy(false);
    }

private:
    const TextServices &mS;
    bool mDone = false;
};

} // namespace

TextCommands::TextCommands(Document &doc, const TextServices &services)
    : mDoc(doc), mServices(services)
{
}

QString TextCommands::openErrorText()
{
    return QStringLiteral("There was an error opening the file. This may caused by an invalid "
                          "filename or path, or the file may be in use by another application.");
}

QString TextCommands::saveErrorText()
{
    return QStringLiteral("There was an error in saving the file. This may be caused by an "
                          "invalid filename or a full or write protected disk.");
}

bool TextCommands::ask(const QStringList &lines)
{
    return mServices.messages.show({QStringLiteral("Information"), MessageIcon::Warning, lines,
                                    MessageButton::Ok | MessageButton::Cancel}) ==
           MessageButton::Ok;
}

namespace {

/// Whether reading went to the end; a failure is reported.
bool readToTheEnd(const TextServices &s, const DelimitedText::Result &read, const QString &path,
                  ImportReport::Kind kind)
{
    switch (read.status) {
    case DelimitedText::Status::Read:
        return true;
    case DelimitedText::Status::Cancelled:
        return false;
    case DelimitedText::Status::ReadFailed:
        s.messages.show(Message::error({TextCommands::openErrorText()}));
        return false;
    case DelimitedText::Status::LineTooLong:
        s.messages.show(
            Message::error(ImportReport::lineTooLong(QFileInfo(path).fileName(), read.line, kind)));
        return false;
    }
    return false;
}

} // namespace

void TextCommands::tell(const QStringList &lines)
{
    mToTell = lines;
    if (!mTellLater)
        tellNow();
}

void TextCommands::tellNow()
{
    if (!mToTell.isEmpty())
        mServices.messages.show({QStringLiteral("Information"), MessageIcon::Information,
                                 std::exchange(mToTell, {}), MessageButton::Ok});
}

bool TextCommands::importFile(const QString &path, int fileType, TextEncoding encoding,
                              Database &db)
{
    const std::unique_ptr<QIODevice> file = mServices.files.openForReading(path);
    if (!file) {
        mServices.messages.show(Message::error({openErrorText()}));
        return false;
    }
    const QString name = QFileInfo(path).fileName();
    TextImport::ImportText text;
    {
        BusyWork work(mServices, QStringLiteral("Importing ") + name);
        text = TextImport::readForImport(*file, fileType, encoding, mServices.progress);
    }
    file->close();
    const auto kind = ImportReport::Kind::Import;
    if (!readToTheEnd(mServices, text.read, path, kind))
        return false;
    if (DelimitedText::formatQuestionNeeded(text.read.count) &&
        !ask(ImportReport::formatQuestion(text.read.notes, kind, Limits::MaxFields)))
        return false;
    const DelimitedText::Result read = text.read;
    const TextImport::Source source{path, mServices.files.modificationTime(path),
                                    mDoc.database().widthScale()};
    TextImport::build(std::move(text), source, db);
    tell(ImportReport::afterImport(read, name, db.recordCount(), db.fieldCount()));
    return true;
}

bool TextCommands::appendFile(const QString &path, int fileType, TextEncoding encoding)
{
    const std::unique_ptr<QIODevice> file = mServices.files.openForReading(path);
    if (!file) {
        mServices.messages.show(Message::error({openErrorText()}));
        return false;
    }
    const QString name = QFileInfo(path).fileName();
    const Database &db = mDoc.database();
    TextImport::AppendText text;
    {
        BusyWork work(mServices, QStringLiteral("Appending ") + name);
        text = TextImport::readForAppend(*file, fileType, encoding, db, mServices.progress);
    }
    file->close();
    const auto kind = ImportReport::Kind::Append;
    if (!readToTheEnd(mServices, text.read, path, kind))
        return false;
    if (DelimitedText::formatQuestionNeeded(text.read.count) &&
        !ask(ImportReport::formatQuestion(text.read.notes, kind, db.fieldCount())))
        return false;
    if (TextImport::fitQuestionNeeded(text.read.count, db) &&
        !ask({QStringLiteral("Some of the imported records do not fit and will be cut. "
                             "Continue?")}))
        return false;
    const QStringList report = ImportReport::afterAppend(text.read, text.unappended, name,
                                                         int(text.records.size()), db.fieldCount());
    EditStep::InsertRecords step = TextImport::appendStep(std::move(text), db);
    // A file that adds nothing changes nothing.
    if (!step.rows.empty())
        mDoc.apply(Edit::change(QStringLiteral("append"), std::move(step)));
    tell(report);
    return true;
}

bool TextCommands::exportFile(const QString &path, int fileType, TextEncoding encoding)
{
    if (encoding != TextEncoding::Utf8 && !acceptUnmappable())
        return false;
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TextExport::Result result = TextExport::Result::Failed;
    {
        BusyWork work(mServices, QStringLiteral("Exporting ") + QFileInfo(path).fileName());
        result = TextExport::write(buffer, mDoc.database(), fileType, encoding, mServices.progress);
    }
    if (result == TextExport::Result::Cancelled)
        return false;
    QString reason = result == TextExport::Result::Written
                         ? QStringLiteral("No such file or directory")
                         : buffer.errorString();
    // A link is written through to the file it names, as a save does, and
    // the backup goes beside that file.
    const QString file = path.isEmpty() ? path : mServices.files.resolveLinks(path);
    // Written over the open database's own file, it asks first as a save
    // does when another program changed that file.
    if (result == TextExport::Result::Written && ChangedByOthers(mDoc, mServices.files, file) &&
        mServices.messages.show(ChangedByOthersQuestion(file, false)) != MessageButton::Yes)
        return false;
    if (result == TextExport::Result::Written && !file.isEmpty()) {
        const QString backup = ChangeFileExtension(file, TextFileType::backupExtension(fileType));
        if (ReplaceFile(mServices.files, file, backup, buffer.data(), reason))
            return true;
    }
    mServices.messages.show(Message::error(
        {saveErrorText(), file.isEmpty()
                              ? reason
                              : QDir::toNativeSeparators(file) + QStringLiteral(": ") + reason}));
    return false;
}

bool TextCommands::acceptUnmappable()
{
    const UnmappableCells::Found found = UnmappableCells::find(mDoc.database());
    if (found.cells == 0)
        return true;
    const Database &db = mDoc.database();
    const QString where =
        found.firstRow == 0
            ? QStringLiteral("The first is the name of field %1.").arg(found.firstColumn)
            : QStringLiteral("The first is in record %1, field \"%2\".")
                  .arg(RecordGrid::recordNumberText(found.firstRow),
                       db.grid().cell(found.firstColumn, 0));
    const QString count =
        found.cells == 1
            ? QStringLiteral("1 cell holds characters that Windows-1252 has no byte for; "
                             "they will be exported as \"?\".")
            : QStringLiteral("%1 cells hold characters that Windows-1252 has no byte for; "
                             "they will be exported as \"?\".")
                  .arg(found.cells);
    return mServices.messages.show(
               {QStringLiteral("Warning"),
                MessageIcon::Warning,
                {count, where,
                 QStringLiteral("A UTF-8 file type keeps them. Do you want to export in "
                                "Windows-1252 all the same?")},
                MessageButton::Yes | MessageButton::No}) == MessageButton::Yes;
}

QString TextCommands::chooseTextFile(FileDialogs &dialogs, const QString &title)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = TextFileType::importFilter();
    request.defaultExtension = TextFileType::defaultExtension(mImportFileType);
    request.initialFolder = mImportFolder;
    request.refuseReadOnly = true;
    request.filterIndex = mImportFileType;
    request.chosenFilter = &mImportFileType;
    const QString path = dialogs.getOpenFileName(request);
    mImportFileType = TextFileType::normalised(mImportFileType);
    if (!path.isEmpty())
        mImportFolder = QFileInfo(path).absolutePath();
    return path;
}

bool TextCommands::Import(FileDialogs &dialogs, DatabaseShell &shell)
{
    if (!shell.ConfirmDiscardChanges())
        return false;
    const QString path = chooseTextFile(dialogs, QStringLiteral("Import"));
    if (path.isEmpty())
        return false;
    Database db;
    // What the import did is told once the database shows.
    mTellLater = true;
    const bool imported = importFile(path, mImportFileType, TextEncoding::Auto, db);
    mTellLater = false;
    if (!imported)
        return false;
    shell.SetupGrid(false);
    mDoc.replace(std::move(db));
    shell.SetupGrid(true);
    shell.focusGrid();
    tellNow();
    return true;
}

bool TextCommands::Append(FileDialogs &dialogs, DatabaseShell &shell)
{
    const QString path = chooseTextFile(dialogs, QStringLiteral("Append"));
    if (path.isEmpty())
        return false;
    mTellLater = true;
    const bool appended = appendFile(path, mImportFileType, TextEncoding::Auto);
    mTellLater = false;
    if (!appended)
        return false;
    shell.setCurrentRow(mDoc.database().grid().rowCount() - 1);
    tellNow();
    return true;
}

bool TextCommands::Export(FileDialogs &dialogs)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Export");
    request.filter = TextFileType::exportFilter();
    request.defaultExtension =
        TextFileType::defaultExtension(TextFileType::exportFileType(mExportFileType));
    request.initialFolder = mExportFolder;
    request.proposedName = QFileInfo(mDoc.database().filePath()).completeBaseName();
    request.refuseReadOnly = true;
    request.filterIndex = mExportFileType;
    request.chosenFilter = &mExportFileType;
    const QString path = dialogs.getSaveFileName(request);
    mExportFileType = TextFileType::normalisedExport(mExportFileType);
    if (path.isEmpty())
        return false;
    mExportFolder = QFileInfo(path).absolutePath();
    return exportFile(path, TextFileType::exportFileType(mExportFileType),
                      TextFileType::exportsUtf8(mExportFileType) ? TextEncoding::Utf8
                                                                 : TextEncoding::Cp1252);
}
