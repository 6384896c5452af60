#include "core/document/database.h"
#include "core/document/databaseflags.h"
#include "core/recovery/recoveryfolder.h"
#include "core/recovery/recoverywriter.h"
#include "memoryfilesystem.h"
#include "pdbbuilder.h"
#include "readfile.h"

#include <gtest/gtest.h>

namespace {

const QString kFolder = QStringLiteral("/state/recovery");
const QString kId = QStringLiteral("0123456789abcdef");
const QString kOther = QStringLiteral("fedcba9876543210");

Database databaseOf(const QByteArray &file, const QString &city)
{
    Database db;
    EXPECT_TRUE(readFile(file, db).ok);
    db.setFilePath(QStringLiteral("/palm/Addresses.pdb"));
    db.grid().setCell(2, 2, city);
    db.setChanged(true);
    return db;
}

QByteArray addresses()
{
    PdbBuilder b = PdbBuilder::withFields(2);
    b.name = "Addresses";
    b.records = {{"Ann", "Paris"}, {"Bob", "Rome"}};
    return b.build();
}

RecoveryRecord recordAt(int minute)
{
    RecoveryRecord r;
    r.originalPath = QStringLiteral("/palm/Addresses.pdb");
    r.original = {true, 7, 120, QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5), Qt::UTC)};
    r.written = QDateTime(QDate(2026, 12, 9), QTime(10, minute), Qt::UTC);
    r.databaseName = QStringLiteral("Addresses");
    return r;
}

/// The city of record 2 in the recovery file, or "" when it does not read.
QString recoveredCity(const MemoryFileSystem &fs, const QString &id)
{
    Database back;
    const QByteArray bytes = fs.files.value(kFolder + u'/' + id + QStringLiteral(".pdb"));
    return readFile(bytes, back).ok ? back.grid().cell(2, 2) : QString();
}

} // namespace

TEST(RecoveryFolder, aFailureOfAnyCallLeavesTheLastWriteOrThisOneWholeAndPrivate)
{
    MemoryFileSystem first;
    RecoveryFolder(first, kFolder).lock(kId);
    QString reason;
    ASSERT_TRUE(
        RecoveryFolder(first, kFolder)
            .write(kId, databaseOf(addresses(), QStringLiteral("Oslo")), recordAt(1), reason));
    MemoryFileSystem good = first;
    const int before = good.calls();
    ASSERT_TRUE(
        RecoveryFolder(good, kFolder)
            .write(kId, databaseOf(addresses(), QStringLiteral("Lima")), recordAt(2), reason));

    // After each failure the recovery file is the last write's or this
    // one's, whole; its record is never ahead of it; nothing hidden stays
    // behind; everything is its owner's alone.
    struct State
    {
        bool wholeDatabase;
        bool recordAhead;
        QStringList temporaries;
        QSet<int> modes;
        bool reported;
        bool operator==(const State &) const = default;
    };
    const State expected{true, false, {}, {0600, 0700}, true};
    QStringList failedCalls;
    QSet<QString> cities;
    for (int n = 1; n <= good.calls() - before; ++n) {
        MemoryFileSystem fs = first;
        fs.failCall = fs.calls() + n;
        QString why;
        const bool ok =
            RecoveryFolder(fs, kFolder)
                .write(kId, databaseOf(addresses(), QStringLiteral("Lima")), recordAt(2), why);
        const auto record = RecoveryRecord::fromBytes(
            fs.files.value(kFolder + u'/' + kId + QStringLiteral(".json")));
        QSet<int> modes;
        for (auto it = fs.permissions.cbegin(); it != fs.permissions.cend(); ++it)
            modes.insert(it.value());
        modes.insert(fs.folderModes.value(kFolder));
        const QString city = recoveredCity(fs, kId);
        cities << city;
        const State actual{
            city == QStringLiteral("Oslo") || city == QStringLiteral("Lima"),
            !record || (record->written == recordAt(2).written && city != QStringLiteral("Lima")),
            fs.temporaries(), modes, !ok && !why.isEmpty()};
        EXPECT_TRUE(actual == expected) << fs.failed.toStdString();
        failedCalls << fs.failed.left(fs.failed.indexOf(QLatin1Char('/'))).trimmed();
    }
    EXPECT_EQ(cities, QSet<QString>({"Oslo", "Lima"}));
    failedCalls.removeDuplicates();
    EXPECT_EQ(failedCalls,
              QStringList({"create folder", "create", "write", "flush", "rename", "flush folder"}));
}

TEST(RecoveryFolder, anEncipheredDatabaseIsWrittenOnlyEnciphered)
{
    // Its cells are not in the file; its password opens it; a database
    // whose flag and password disagree writes nothing at all.
    struct Case
    {
        bool flagged;
        QString password;
    };
    struct Outcome
    {
        bool written;
        bool plaintextFound;
        QString cityWithPassword;
        bool operator==(const Outcome &) const = default;
    };
    const QString secret = QStringLiteral("Tegucigalpa");
    std::vector<Outcome> outcomes;
    for (const Case &c : {Case{true, QStringLiteral("garden")}, Case{false, QStringLiteral("x")},
                          Case{true, QString()}}) {
        MemoryFileSystem fs;
        Database db = databaseOf(addresses(), secret);
        db.setFlags(c.flagged ? DatabaseFlags::Encrypted : 0);
        db.setPassword(c.password);
        QString reason;
        const bool written = RecoveryFolder(fs, kFolder).write(kId, db, recordAt(1), reason);
        QByteArray everything;
        for (const QByteArray &bytes : std::as_const(fs.files))
            everything += bytes;
        Database back;
        const QByteArray file = fs.files.value(kFolder + u'/' + kId + QStringLiteral(".pdb"));
        const QString city =
            readFile(file, back, c.password).ok ? back.grid().cell(2, 2) : QString();
        outcomes.push_back(
            {written, everything.contains(secret.toLatin1()) || everything.contains("Ann"), city});
    }
    EXPECT_EQ(outcomes, (std::vector<Outcome>{
                            {true, false, secret}, {false, false, {}}, {false, false, {}}}));
}

TEST(RecoveryFolder, leftoversAreTheRecordsOfRunsThatEnded)
{
    // A live run's files stay its own; a record without its database, a
    // record that is no record of ours and a lock alone go; the rest come
    // most recent first, locked until given up.
    MemoryFileSystem fs;
    RecoveryFolder folder(fs, kFolder);
    QString reason;
    const Database db = databaseOf(addresses(), QStringLiteral("Oslo"));
    const QString ids[] = {QStringLiteral("00000000000000a1"), QStringLiteral("00000000000000a2"),
                           QStringLiteral("00000000000000a3"), QStringLiteral("00000000000000a4"),
                           QStringLiteral("00000000000000a5"), QStringLiteral("00000000000000a6")};
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(folder.write(ids[i], db, recordAt(10 + i), reason));
    fs.lockedElsewhere.insert(folder.lockPath(ids[0])); // a live run
    fs.files.remove(folder.databasePath(ids[1]));       // never written whole
    fs.files[folder.recordPath(ids[2])] = "{\"format\": \"something else\"}";
    fs.files.remove(folder.recordPath(ids[3])); // a killed first write
    fs.files[folder.lockPath(ids[3])] = {};
    fs.files[folder.recordPath(ids[4])] = QByteArray(RecoveryRecord::MaxBytes + 1, ' ');
    fs.files[kFolder + QStringLiteral("/notes.json")] = recordAt(1).toBytes();
    const std::unique_ptr<QIODevice> own = folder.lock(kId); // this run

    std::vector<RecoveryFolder::Left> left = folder.leftovers();
    QStringList found;
    for (const RecoveryFolder::Left &l : left)
        found << l.id + u' ' + l.record.written.toString(QStringLiteral("hh:mm")) +
                     (fs.held.contains(folder.lockPath(l.id)) ? QStringLiteral(" held")
                                                              : QString());
    EXPECT_EQ(found, QStringList({ids[5] + QStringLiteral(" 10:15 held")}));
    EXPECT_EQ(fs.fileNames(kFolder),
              QStringList({ids[0] + ".json", ids[0] + ".pdb", ids[5] + ".json", ids[5] + ".lock",
                           ids[5] + ".pdb", kId + ".lock", "notes.json"}));
    left.clear();
    EXPECT_FALSE(fs.held.contains(folder.lockPath(ids[5])));
}

TEST(RecoveryRecord, comesBackAsItWasWritten)
{
    RecoveryRecord r = recordAt(7);
    r.original.identity = 0xFEDCBA9876543210ull;
    r.original.size = (qint64(1) << 40) + 3;
    r.enciphered = true;
    r.alteredRecords = 2;
    r.originalPath = QStringLiteral("/palm/Caf\u00e9 \"list\".pdb");
    EXPECT_EQ(RecoveryRecord::fromBytes(r.toBytes()), r);
}

TEST(RecoveryFolder, theRecordCountsTheRecordsTheFileCouldNotKeepAsTyped)
{
    // Restored, such a record holds what the file holds; the question
    // that offers it says how many there are.
    std::vector<int> counted;
    for (const QString &city :
         {QStringLiteral("Oslo"), QStringLiteral("\u0391\u03b8\u03ae\u03bd\u03b1"),
          QString(4001, u'x')}) {
        MemoryFileSystem fs;
        RecoveryFolder folder(fs, kFolder);
        QString reason;
        ASSERT_TRUE(folder.write(kId, databaseOf(addresses(), city), recordAt(1), reason));
        counted.push_back(
            RecoveryRecord::fromBytes(fs.files.value(folder.recordPath(kId)))->alteredRecords);
    }
    EXPECT_EQ(counted, (std::vector<int>{0, 1, 1}));
}
