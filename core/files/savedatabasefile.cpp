#include "core/files/savedatabasefile.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/format/databasewriter.h"
#include "core/platform/clock.h"
#include "core/platform/filedialogs.h"
#include "core/platform/filesystem.h"
#include "core/platform/messageservice.h"
#include "core/platform/userfeedback.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

#include <utility>
#include <vector>

namespace {

constexpr qint64 WriteChunk = 1 << 20;

/// The fixed text, then one line of ours: the file and the system's reason.
void showSaveError(MessageService &messages, const QString &file, const QString &reason)
{
    messages.show(
        {QStringLiteral("Save error"),
         MessageIcon::Error,
         {QStringLiteral("There was an error in saving the file. This may be caused by "
                         "an invalid filename or a full or write protected disk."),
          file.isEmpty() ? reason : QDir::toNativeSeparators(file) + QStringLiteral(": ") + reason},
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
 * After a save that could not keep every text as it was ("?" for a
 * character without a byte, a text cut), the document takes the texts the
 * file holds, so that what the user sees is what is stored. The change
 * joins the last undo step, so that undoing and redoing it comes back to
 * what was saved; with nothing to undo it is a view edit.
 */
void holdWhatTheFileHolds(Document &doc, const std::vector<int> &records)
{
    const RecordGrid &grid = doc.database().grid();
    EditStep::Cells step;
    for (const int r : records) {
        for (int k = 1; k <= doc.database().fieldCount(); ++k) {
            const QString text = grid.cell(k, r);
            QString stored = DatabaseWriter::storedText(text);
            if (stored != text)
                step.changes.push_back({k, r, std::move(stored)});
        }
    }
    if (step.changes.empty())
        return;
    if (doc.canUndo())
        doc.applyJoined(Edit::change(QStringLiteral("save"), std::move(step)));
    else
        doc.apply(Edit::view(std::move(step)));
}

} // namespace

bool ChangedByOthers(const Document &doc, FileSystem &files, const QString &path)
{
    const FileStamp &known = doc.fileStamp();
    if (!known.exists || path.isEmpty() ||
        files.resolveLinks(path) != files.resolveLinks(doc.database().filePath()))
        return false;
    const FileStamp now = files.status(path).stamp();
    return now.exists && now != known;
}

Message ChangedByOthersQuestion(const QString &path, bool offerSaveAs)
{
    Message m{QStringLiteral("File changed"),
              MessageIcon::Warning,
              {QStringLiteral("The file was changed by another program since it was opened:"),
               QDir::toNativeSeparators(path),
               offerSaveAs ? QStringLiteral("Overwrite the other program's changes with yours, or "
                                            "save yours under another name?")
                           : QStringLiteral("Overwrite the other program's changes?")},
              MessageButton::Yes | MessageButton::Cancel};
    m.buttonTexts = {{MessageButton::Yes, QStringLiteral("Overwrite")}};
    if (offerSaveAs) {
        m.buttons |= MessageButton::No;
        m.buttonTexts.push_back({MessageButton::No, QStringLiteral("Save As\u2026")});
    }
    m.defaultButton = MessageButton::Cancel;
    return m;
}

bool ReplaceFile(FileSystem &fs, const QString &target, const QString &backup,
                 const QByteArray &bytes, QString &reason, bool keepPrivate)
{
    const FileStatus status = fs.status(target);
    if (status.exists && !status.regular) {
        reason =
            status.folder ? QStringLiteral("Is a directory") : QStringLiteral("Not a regular file");
        return false;
    }
    if (status.exists && !status.writable) {
        reason = status.readOnlyReason.isEmpty() ? QStringLiteral("Read-only file")
                                                 : status.readOnlyReason;
        return false;
    }

    const QString folder = QFileInfo(target).path();
    QString temporary;
    std::unique_ptr<QIODevice> file = fs.createTemporary(folder, &temporary);
    if (!file) {
        reason = fs.lastError();
        return false;
    }
    bool ok = true;
    // A write the disk takes only in part is tried again with the rest,
    // so that a full disk is told by the system's own reason.
    for (qint64 pos = 0; ok && pos < bytes.size();) {
        const qint64 n = file->write(bytes.constData() + pos, qMin(WriteChunk, bytes.size() - pos));
        ok = n > 0;
        if (!ok)
            reason = file->errorString();
        pos += n;
    }
    if (ok && !((keepPrivate || fs.matchPermissions(*file, target)) && fs.flushToDisk(*file))) {
        ok = false;
        reason = fs.lastError();
    }
    // The file stays open until the renames are done: while it is, no
    // other save takes it for the orphan of a killed one.

    // Each rename made, taken back in reverse order when a later one fails.
    std::vector<std::pair<QString, QString>> moved;
    const auto move = [&](const QString &from, const QString &to) {
        if (!fs.rename(from, to)) {
            reason = fs.lastError();
            return false;
        }
        moved.emplace_back(from, to);
        return true;
    };
    QString aside;
    bool asideHoldsBackup = false;
    if (ok && status.exists && !backup.isEmpty()) {
        // The older backup steps aside under a hidden name until the new
        // file stands, so that a failure can put everything back.
        if (fs.status(backup).exists) {
            ok = fs.createTemporary(folder, &aside) != nullptr;
            if (!ok)
                reason = fs.lastError();
            ok = ok && (asideHoldsBackup = move(backup, aside));
        }
        ok = ok && move(target, backup);
    }
    if (ok && move(temporary, target)) {
        if (!aside.isEmpty())
            fs.remove(aside);
        // The names stand; without the flush a power cut may still lose
        // them, so the save is not reported as done.
        if (fs.flushFolder(folder))
            return true;
        reason = fs.lastError();
        return false;
    }
    for (auto it = moved.crbegin(); it != moved.crend(); ++it)
        fs.rename(it->second, it->first);
    // Once it holds the older backup, the hidden name is left to the
    // rename back (and stays, should that fail).
    if (!aside.isEmpty() && !asideHoldsBackup)
        fs.remove(aside);
    fs.remove(temporary);
    return false;
}

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
        if (ChangedByOthers(doc, s.files, path)) {
            const MessageButton answer = s.messages.show(ChangedByOthersQuestion(path, true));
            if (answer == MessageButton::No)
                return SaveDatabaseFile(doc, SaveTarget::ask(), s);
            if (answer != MessageButton::Yes)
                return false;
        }
        break;
    case SaveTarget::Kind::Ask: {
        const QFileInfo current(db.filePath());
        FileDialogRequest request;
        request.title = QStringLiteral("Save Listora database");
        request.filter = QStringLiteral("Listora database (*.pdb)|*.pdb");
        request.defaultExtension = QStringLiteral("pdb");
        request.initialFolder = db.filePath().isEmpty() ? QString() : current.path();
        request.proposedName = current.completeBaseName();
        request.refuseReadOnly = true;
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
    QString reason = QStringLiteral("No such file or directory");
    s.feedback.setBusy(true);
    const bool saved = !file.isEmpty() && ReplaceFile(s.files, file, backup, result.bytes, reason);
    s.feedback.setBusy(false);
    if (!saved) {
        showSaveError(s.messages, file, reason);
        return false;
    }

    if (ownName)
        holdWhatTheFileHolds(doc, result.alteredRecords);
    doc.markSaved(now, result.image, ownName ? std::optional<QString>(path) : std::nullopt);
    if (ownName)
        doc.setFileStamp(s.files.status(file).stamp());
    return true;
}
