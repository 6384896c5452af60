#include "core/files/savedatabasefile.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/format/databasewriter.h"
#include "core/platform/clock.h"
#include "core/platform/filedialogs.h"
#include "core/platform/filesystem.h"
#include "core/platform/messageservice.h"
#include "core/platform/userfeedback.h"

#include <QFileInfo>
#include <QIODevice>

namespace {

constexpr qint64 WriteChunk = 1 << 20;

void showSaveError(MessageService &messages)
{
    messages.show({QStringLiteral("Save error"),
                   MessageIcon::Error,
                   {QStringLiteral("There was an error in saving the file. This may be caused by "
                                   "an invalid filename or a full or write protected disk.")},
                   MessageButton::Ok});
}

/// Asks whether to save characters the file cannot keep as "?".
bool acceptUnmappable(const Database &db, const Unmappable &found, MessageService &messages)
{
    if (found.count == 0)
        return true;
    const QString first = QStringLiteral("The first is in record %1, field \"%2\".")
                              .arg(RecordGrid::recordNumberText(found.firstRecord),
                                   db.grid().cell(found.firstField, 0));
    const QString count =
        found.count == 1
            ? QStringLiteral("1 character of the records has no place in the handheld's "
                             "character set (Windows-1252) and will be saved as \"?\".")
            : QStringLiteral("%1 characters of the records have no place in the handheld's "
                             "character set (Windows-1252) and will be saved as \"?\".")
                  .arg(found.count);
    return messages.show({QStringLiteral("Warning"),
                          MessageIcon::Warning,
                          {count, first, QStringLiteral("Do you want to save all the same?")},
                          MessageButton::Yes | MessageButton::No}) == MessageButton::Yes;
}

/**
 * Puts @p bytes at @p target without ever leaving it incomplete: a new file
 * beside it is written and flushed first, then, with @p backup given, the
 * old file becomes the backup and the new one takes its place.
 */
bool replaceFile(FileSystem &fs, const QString &target, const QString &backup,
                 const QByteArray &bytes)
{
    const QFileInfo info(target);
    QString temporary;
    std::unique_ptr<QIODevice> file =
        fs.createUnique(info.path(), QLatin1Char('.') + info.fileName(), &temporary);
    if (!file)
        return false;

    bool written = true;
    for (qint64 pos = 0; written && pos < bytes.size(); pos += WriteChunk) {
        const qint64 n = qMin(WriteChunk, bytes.size() - pos);
        written = file->write(bytes.constData() + pos, n) == n;
    }
    written = written && fs.flushToDisk(*file);
    file->close();
    file.reset();

    const bool replacing = fs.exists(target);
    if (written && replacing)
        fs.copyPermissions(target, temporary);
    bool backedUp = false;
    if (written && replacing && !backup.isEmpty()) {
        backedUp = fs.rename(target, backup);
        written = backedUp;
    }
    if (written && fs.rename(temporary, target))
        return true;

    if (backedUp)
        fs.rename(backup, target);
    fs.remove(temporary);
    return false;
}

} // namespace

QString ChangeFileExtension(const QString &path, const QString &extension)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    const qsizetype nameStart = path.size() - name.size();
    return path.left(nameStart) + stem + extension;
}

bool SaveDatabaseFile(Document &doc, const SaveTarget &target, const SaveServices &s)
{
    const Database &db = doc.database();
    const bool ownName = target.kind() != SaveTarget::Kind::CopyTo;
    QString path;
    switch (target.kind()) {
    case SaveTarget::Kind::OwnName:
        path = db.filePath();
        break;
    case SaveTarget::Kind::Ask: {
        const QFileInfo current(db.filePath());
        FileDialogRequest request;
        request.title = QStringLiteral("Save Listora database");
        request.filter = QStringLiteral("Listora database (*.pdb)|*.pdb");
        request.defaultExtension = QStringLiteral("pdb");
        request.initialFolder = db.filePath().isEmpty() ? QString() : current.path();
        request.proposedName = current.completeBaseName();
        const QString chosen = s.dialogs.getSaveFileName(request);
        if (chosen.isEmpty())
            return false;
        path = ChangeFileExtension(chosen, QStringLiteral(".pdb"));
        break;
    }
    case SaveTarget::Kind::CopyTo:
        path = target.path();
        break;
    }

    s.feedback.setBusy(true);
    const QDateTime now = s.clock.now();
    DatabaseWriter writer(s.messages, s.cipher);
    const WriteResult result = writer.build(db, now);
    s.feedback.setBusy(false);
    if (!result.ok) {
        s.messages.show(
            {QStringLiteral("Save error"), MessageIcon::Error, result.message, MessageButton::Ok});
        return false;
    }
    // Asked once the bytes stand, before any of them reaches the disk.
    if (!acceptUnmappable(db, result.unmappable, s.messages))
        return false;

    // A link is saved through to the file it names, and the backup goes
    // beside that file.
    const QString file = path.isEmpty() ? path : s.files.resolveLinks(path);
    const QString backup = ownName ? ChangeFileExtension(file, QStringLiteral(".pd_")) : QString();
    s.feedback.setBusy(true);
    const bool saved = !file.isEmpty() && replaceFile(s.files, file, backup, result.bytes);
    s.feedback.setBusy(false);
    if (!saved) {
        showSaveError(s.messages);
        return false;
    }

    doc.markSaved(now, result.image, ownName ? std::optional<QString>(path) : std::nullopt);
    return true;
}
