#include "core/recovery/recoveryfolder.h"

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/files/savedatabasefile.h"
#include "core/format/databasewriter.h"
#include "core/platform/filesystem.h"
#include "core/platform/messageservice.h"

#include <QIODevice>
#include <QRandomGenerator>

#include <algorithm>

namespace {

const QString kDatabase = QStringLiteral(".pdb");
const QString kRecord = QStringLiteral(".json");
const QString kLock = QStringLiteral(".lock");

/// The writer's notices (a text cut, a record too large) go unseen: a
/// recovery write asks nobody anything.
class Unheard : public MessageService
{
public:
    MessageButton show(const Message &) override { return MessageButton::Ok; }
};

} // namespace

RecoveryFolder::RecoveryFolder(FileSystem &files, const QString &folder)
    : mFiles(files), mFolder(folder)
{
}

QString RecoveryFolder::newId()
{
    return QStringLiteral("%1").arg(QRandomGenerator::system()->generate64(), 16, 16,
                                    QLatin1Char('0'));
}

bool RecoveryFolder::isId(const QString &text)
{
    return text.size() == 16 && std::all_of(text.cbegin(), text.cend(), [](QChar c) {
               return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f');
           });
}

QString RecoveryFolder::databasePath(const QString &id) const
{
    return mFolder + u'/' + id + kDatabase;
}

QString RecoveryFolder::recordPath(const QString &id) const
{
    return mFolder + u'/' + id + kRecord;
}

QString RecoveryFolder::lockPath(const QString &id) const
{
    return mFolder + u'/' + id + kLock;
}

std::unique_ptr<QIODevice> RecoveryFolder::lock(const QString &id)
{
    if (!mFiles.createPrivateFolder(mFolder))
        return nullptr;
    return mFiles.takeLock(lockPath(id));
}

bool RecoveryFolder::write(const QString &id, const Database &db, const RecoveryRecord &record,
                           QString &reason)
{
    Unheard unheard;
    CipherState cipher;
    DatabaseWriter writer(unheard, cipher);
    // The date the database shows stays as it is: the file is not saved.
    const WriteResult result = writer.build(db, db.date().isValid() ? db.date() : record.written);
    if (!result.ok) {
        reason = result.message.join(QLatin1Char(' '));
        return false;
    }
    if (!mFiles.createPrivateFolder(mFolder)) {
        reason = mFiles.lastError();
        return false;
    }
    RecoveryRecord kept = record;
    kept.alteredRecords = int(result.alteredRecords.size());
    return ReplaceFile(mFiles, databasePath(id), QString(), result.bytes, reason, true) &&
           ReplaceFile(mFiles, recordPath(id), QString(), kept.toBytes(), reason, true);
}

void RecoveryFolder::remove(const QString &id, bool lockToo)
{
    for (const QString &path : {recordPath(id), databasePath(id)}) {
        if (mFiles.status(path).exists)
            mFiles.remove(path);
    }
    if (lockToo)
        mFiles.remove(lockPath(id));
}

bool RecoveryFolder::adopt(const QString &from, const QString &id)
{
    // The database file first: a record stands only beside its file.
    return mFiles.rename(databasePath(from), databasePath(id)) &&
           mFiles.rename(recordPath(from), recordPath(id)) && (mFiles.remove(lockPath(from)), true);
}

std::vector<RecoveryFolder::Left> RecoveryFolder::leftovers()
{
    std::vector<Left> found;
    const QStringList names = mFiles.fileNames(mFolder);
    for (const QString &name : names) {
        const QString id = name.left(name.lastIndexOf(u'.'));
        if (!isId(id) || !(name == id + kRecord || name == id + kLock))
            continue;
        if (name == id + kLock && names.contains(id + kRecord))
            continue; // looked at with its record
        std::shared_ptr<QIODevice> lock = mFiles.takeLock(lockPath(id));
        if (!lock)
            continue; // a live run's
        if (name == id + kLock) {
            remove(id, true); // a database file whose record never stood
            continue;
        }
        std::optional<RecoveryRecord> record;
        if (mFiles.status(recordPath(id)).size <= RecoveryRecord::MaxBytes &&
            mFiles.status(databasePath(id)).regular) {
            if (const std::unique_ptr<QIODevice> file = mFiles.openForReading(recordPath(id)))
                record = RecoveryRecord::fromBytes(file->read(RecoveryRecord::MaxBytes + 1));
        }
        if (!record) {
            remove(id, true);
            continue;
        }
        found.push_back({id, *record, std::move(lock)});
    }
    std::sort(found.begin(), found.end(),
              [](const Left &a, const Left &b) { return a.record.written > b.record.written; });
    return found;
}
