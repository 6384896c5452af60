#include "rules/shell/recoveryrules.h"

#include "core/document/document.h"
#include "core/platform/clock.h"
#include "core/platform/messageservice.h"
#include "core/recovery/recoverywriter.h"

#include <QDir>

RecoveryRules::RecoveryRules(const RecoveryServices &services, const QString &id,
                             const int &seconds)
    : mServices(services), mId(id), mSeconds(seconds)
{
}

void RecoveryRules::begin(std::unique_ptr<QIODevice> lock)
{
    mLock = std::move(lock);
}

RecoveryRules::~RecoveryRules() = default;

bool RecoveryRules::writeWanted() const
{
    return isOn() && mServices.document.database().isChanged();
}

void RecoveryRules::documentChanged()
{
    if (mWritten && !mServices.document.database().isChanged()) {
        mServices.writer.remove();
        mWritten = false;
    }
}

void RecoveryRules::writeDue()
{
    if (!writeWanted())
        return;
    const Database &db = mServices.document.database();
    RecoveryRecord record;
    record.originalPath = db.filePath();
    record.original = mServices.document.fileStamp();
    record.written = mServices.clock.now();
    record.enciphered = !db.password().isEmpty();
    record.databaseName = db.name();
    // The one piece of work on the window's thread: the copy shares the
    // record texts until either side changes them.
    mServices.writer.write(db.copy(), record);
    mWritten = true;
}

Message RecoveryRules::question(const RecoveryRecord &record)
{
    const QString file = record.originalPath.isEmpty()
                             ? QStringLiteral("\"%1\" (never saved)").arg(record.databaseName)
                             : QDir::toNativeSeparators(record.originalPath);
    QStringList lines{QStringLiteral("The editor ended without saving these changes:"), file,
                      QStringLiteral("Last kept: %1%2")
                          .arg(record.written.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                               record.enciphered
                                   ? QStringLiteral(" (enciphered: its password opens it)")
                                   : QString())};
    if (record.alteredRecords > 0)
        lines << QStringLiteral("%1 record(s) come back as the file keeps them: a character the "
                                "handheld has no byte for is \"?\", a text over 4,000 "
                                "characters is cut.")
                     .arg(record.alteredRecords);
    lines << QStringLiteral("Restore them as unsaved changes, discard them, or decide later?");
    Message m{QStringLiteral("Recover changes"), MessageIcon::Question, lines,
              MessageButton::Yes | MessageButton::No | MessageButton::Cancel};
    m.buttonTexts = {{MessageButton::Yes, QStringLiteral("Restore")},
                     {MessageButton::No, QStringLiteral("Discard")},
                     {MessageButton::Cancel, QStringLiteral("Later")}};
    m.defaultButton = MessageButton::Yes;
    return m;
}

RecoveryRules::Answer RecoveryRules::offer(RecoveryFolder::Left &left)
{
    const MessageButton answer = mServices.open.messages.show(question(left.record));
    if (answer == MessageButton::No) {
        mServices.folder.remove(left.id, true);
        return Answer::Discarded;
    }
    if (answer != MessageButton::Yes ||
        !OpenRecoveredFile(mServices.document, mServices.folder.databasePath(left.id),
                           left.record.originalPath, left.record.original, mServices.open))
        return Answer::Kept;
    // The files become this run's, written over at the next change; until
    // then they hold the changes restored.
    if (isOn()) {
        mServices.writer.adopt(left.id);
        mWritten = true;
    }
    return Answer::Restored;
}

void RecoveryRules::offerLeftovers()
{
    if (!mLock)
        return;
    std::vector<RecoveryFolder::Left> left = mServices.folder.leftovers();
    for (RecoveryFolder::Left &l : left) {
        if (offer(l) == Answer::Restored)
            break;
    }
    // The writer may still need a lock it adopts: it removes the file, and
    // the lock goes with the device.
    mServices.writer.waitUntilDone();
}

bool RecoveryRules::restoreInstead(const QString &path)
{
    if (!mLock)
        return false;
    FileSystem &files = mServices.open.files;
    const QString wanted = files.resolveLinks(path);
    std::vector<RecoveryFolder::Left> left = mServices.folder.leftovers();
    for (RecoveryFolder::Left &l : left) {
        if (l.record.originalPath.isEmpty() || files.resolveLinks(l.record.originalPath) != wanted)
            continue;
        const bool restored = offer(l) == Answer::Restored;
        mServices.writer.waitUntilDone();
        return restored;
    }
    return false;
}

void RecoveryRules::finish()
{
    if (!mLock)
        return;
    mServices.writer.remove();
    mServices.writer.waitUntilDone();
    mServices.folder.remove(mId, true);
    mLock.reset();
    mWritten = false;
}
