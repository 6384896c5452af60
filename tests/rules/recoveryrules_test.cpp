#include "core/crypto/cipherstate.h"
#include "core/document/databaseflags.h"
#include "core/document/document.h"
#include "core/files/savedatabasefile.h"
#include "core/recovery/recoverywriter.h"
#include "fixedclock.h"
#include "memoryfilesystem.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "rules/shell/filewatchrules.h"
#include "rules/shell/recoveryrules.h"
#include "scriptedfilewatcher.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"
#include "scriptedshell.h"

#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("/palm/Addresses.pdb");
const QString kFolder = QStringLiteral("/state/recovery");
const QString kId = QStringLiteral("0123456789abcdef");
const QString kDead = QStringLiteral("00000000000000d1");

QByteArray addresses(const char *city = "Rome", const QByteArray &password = {})
{
    PdbBuilder b = PdbBuilder::withFields(2);
    b.name = "Addresses";
    b.records = {{"Ann", "Paris"}, {"Bob", city}};
    if (!password.isEmpty()) {
        b.flags = DatabaseFlags::Encrypted;
        b.password = password;
    }
    return b.build();
}

/// A window's run over memory files: the document open on kPath, the
/// recovery of this run and the watch of the file.
struct WindowRun
{
    explicit WindowRun(int recoverySeconds = 60, const QByteArray &file = addresses(),
                       const QByteArray &password = {})
        : seconds(recoverySeconds)
    {
        files.addFile(kPath, file);
        passwords.answers = {QString::fromLatin1(password)};
        rules.begin(seconds > 0 ? folder.lock(kId) : nullptr);
        EXPECT_TRUE(OpenDatabaseFile(doc, kPath, open()));
    }
    ~WindowRun() { writer.waitUntilDone(); }

    OpenServices open()
    {
        return {messages, passwords, files, shell, shell, shell, cipher, &rules};
    }
    void type(const QString &city)
    {
        EditStep::Cells step;
        step.changes.push_back({2, 2, city});
        doc.apply(Edit::change(QStringLiteral("typing"), std::move(step)));
        rules.documentChanged();
    }
    QString city() const { return doc.database().grid().cell(2, 2); }
    QStringList folderNames()
    {
        writer.waitUntilDone();
        return files.fileNames(kFolder);
    }

    int seconds;
    Document doc;
    MemoryFileSystem files;
    ScriptedMessages messages;
    ScriptedPasswords passwords;
    ScriptedShell shell;
    CipherState cipher;
    FixedClock clock;
    RecoveryFolder folder{files, kFolder};
    RecoveryWriter writer{files, kFolder, kId};
    RecoveryRules rules{{doc, folder, writer, clock, open()}, kId, seconds};
};

QStringList namesOf(const QString &id, std::initializer_list<const char *> extensions)
{
    QStringList names;
    for (const char *e : extensions)
        names << id + QLatin1String(e);
    return names;
}

/// Another program writes the file anew, a minute later.
void rewrite(WindowRun &r, const char *city)
{
    r.files.files[kPath] = addresses(city);
    r.files.modifiedAt[kPath] = r.files.modified.addSecs(60);
}

} // namespace

TEST(RecoveryRules, aRecoveryFileStandsOnlyWhileChangesAreUnsaved)
{
    struct Case
    {
        const char *what;
        int seconds;
        std::function<void(WindowRun &)> after; ///< after a change and the write it calls for
        QStringList names;
    };
    const QStringList own = namesOf(kId, {".json", ".lock", ".pdb"});
    const QStringList lockOnly = namesOf(kId, {".lock"});
    const std::vector<Case> cases = {
        {"kept", 60, [](WindowRun &) {}, own},
        {"saved", 60,
         [](WindowRun &r) {
             SaveDatabaseFile(r.doc, SaveTarget::ownName(),
                              {r.messages, r.files, r.shell, r.shell, r.clock, r.cipher});
             r.rules.documentChanged();
         },
         lockOnly},
        {"undone", 60,
         [](WindowRun &r) {
             r.doc.undo();
             r.rules.documentChanged();
         },
         lockOnly},
        {"closed or discarded", 60,
         [](WindowRun &r) {
             r.doc.replace(Database());
             r.rules.documentChanged();
         },
         lockOnly},
        {"run ended", 60, [](WindowRun &r) { r.rules.finish(); }, {}},
        {"turned off", 0, [](WindowRun &) {}, {}},
    };
    for (const Case &c : cases) {
        WindowRun r(c.seconds);
        EXPECT_FALSE(r.rules.writeWanted()) << c.what; // nothing changed yet
        r.type(QStringLiteral("Oslo"));
        r.rules.writeDue();
        c.after(r);
        EXPECT_EQ(r.folderNames(), c.names) << c.what;
    }
}

TEST(RecoveryRules, whatWasLeftIsRestoredDiscardedOrKeptForLater)
{
    // A run that did not end left "Oslo" for the file; the next run's
    // answer decides. Restored changes are unsaved changes of the file
    // itself, and the files become the new run's own.
    struct Outcome
    {
        QString city;
        QString path;
        bool changed;
        QStringList names;
        bool operator==(const Outcome &) const = default;
    };
    struct Case
    {
        MessageButton answer;
        bool onOpen; ///< offered by opening the file, not at start
        QByteArray password;
        Outcome expected;
    };
    const QStringList dead = namesOf(kDead, {".json", ".lock", ".pdb"});
    const QStringList adopted = namesOf(kId, {".json", ".lock", ".pdb"});
    const std::vector<Case> cases = {
        {MessageButton::Yes, false, {}, {"Oslo", kPath, true, adopted}},
        {MessageButton::Yes, true, {}, {"Oslo", kPath, true, adopted}},
        {MessageButton::Yes, false, "garden", {"Oslo", kPath, true, adopted}},
        {MessageButton::No, false, {}, {"", "", false, namesOf(kId, {".lock"})}},
        {MessageButton::No, true, {}, {"Rome", kPath, false, namesOf(kId, {".lock"})}},
        {MessageButton::Cancel, false, {}, {"", "", false, dead + namesOf(kId, {".lock"})}},
        {MessageButton::Cancel, true, {}, {"Rome", kPath, false, dead + namesOf(kId, {".lock"})}},
    };
    for (const Case &c : cases) {
        WindowRun r(60, addresses("Rome", c.password), c.password);
        {
            // The run that died.
            Database db;
            ASSERT_TRUE(readFile(r.files.files.value(kPath), db, c.password).ok);
            db.grid().setCell(2, 2, QStringLiteral("Oslo"));
            RecoveryRecord record;
            record.originalPath = kPath;
            record.original = r.doc.fileStamp();
            record.written = r.clock.now();
            QString reason;
            ASSERT_TRUE(r.folder.write(kDead, db, record, reason));
        }
        r.doc.replace(Database());
        r.passwords.answers = {QString::fromLatin1(c.password)};
        r.messages.answers = {c.answer};
        if (c.onOpen)
            OpenDatabaseFile(r.doc, kPath, r.open());
        else
            r.rules.offerLeftovers();
        const Outcome actual{r.city(), r.doc.database().filePath(), r.doc.database().isChanged(),
                             r.folderNames()};
        EXPECT_EQ(actual, c.expected) << int(c.answer) << c.onOpen;
        ASSERT_FALSE(r.messages.shown.empty());
        EXPECT_EQ(r.messages.shown[0].caption, QStringLiteral("Recover changes"));
        EXPECT_EQ(r.messages.shown[0].defaultButton, MessageButton::Yes);
    }
}

TEST(FileWatchRules, theBarSaysWhatAnotherProgramDidAndSavingAsksFirst)
{
    // Another program rewrites or removes the file; the window has or has
    // not changes of its own. Then Save, answered as given.
    enum Outside
    {
        Nothing,
        Rewritten,
        Removed,
        RewrittenAndIgnored
    };
    struct Outcome
    {
        FileWatchRules::State state;
        qsizetype questions;
        QString savedCity; ///< in the file after Save
        bool operator==(const Outcome &) const = default;
    };
    struct Case
    {
        Outside outside;
        bool ownChanges;
        MessageButton answer;
        Outcome expected;
    };
    using S = FileWatchRules::State;
    const std::vector<Case> cases = {
        {Nothing, true, MessageButton::Cancel, {S::Quiet, 0, "Oslo"}},
        {Rewritten, false, MessageButton::Cancel, {S::ChangedOnDisk, 1, "Lima"}},
        {Rewritten, true, MessageButton::Cancel, {S::BothChanged, 1, "Lima"}},
        {Rewritten, true, MessageButton::Yes, {S::BothChanged, 1, "Oslo"}},
        {RewrittenAndIgnored, true, MessageButton::Yes, {S::Quiet, 1, "Oslo"}},
        {Removed, true, MessageButton::Cancel, {S::Removed, 0, "Oslo"}},
        {Removed, false, MessageButton::Cancel, {S::Removed, 0, "Rome"}},
    };
    for (const Case &c : cases) {
        WindowRun r;
        ScriptedFileWatcher watcher;
        FileWatchRules watch(r.doc, watcher, r.open());
        watch.follow();
        if (c.ownChanges)
            r.type(QStringLiteral("Oslo"));
        if (c.outside == Removed)
            r.files.files.remove(kPath);
        if (c.outside == Rewritten || c.outside == RewrittenAndIgnored)
            rewrite(r, "Lima");
        watcher.notice();
        if (c.outside == RewrittenAndIgnored)
            watch.ignore();
        const S state = watch.check();
        r.messages.answers = {c.answer};
        SaveDatabaseFile(r.doc, SaveTarget::ownName(),
                         {r.messages, r.files, r.shell, r.shell, r.clock, r.cipher});
        Database saved;
        readFile(r.files.files.value(kPath), saved);
        const Outcome actual{state, qsizetype(r.messages.shown.size()), saved.grid().cell(2, 2)};
        EXPECT_EQ(actual, c.expected) << int(c.outside) << c.ownChanges;
        EXPECT_EQ(watcher.watched, kPath);
        // Once written, the file is the window's again.
        EXPECT_EQ(watch.check(), actual.savedCity == QStringLiteral("Lima") ? state : S::Quiet);
    }
}

TEST(FileWatchRules, revertAndReloadReadTheFileAgainAsOneReset)
{
    struct Case
    {
        bool revert;
        bool ownChanges;
        MessageButton answer;
        QString city;
        bool changed;
        qsizetype questions;
    };
    const std::vector<Case> cases = {
        {true, true, MessageButton::Yes, "Lima", false, 1},
        {true, true, MessageButton::No, "Oslo", true, 1},
        {true, false, MessageButton::Yes, "Rome", false, 0},
        {false, false, MessageButton::Yes, "Lima", false, 0},
        {false, true, MessageButton::No, "Oslo", true, 1},
        {false, true, MessageButton::Yes, "Lima", false, 1},
    };
    for (const Case &c : cases) {
        WindowRun r;
        ScriptedFileWatcher watcher;
        FileWatchRules watch(r.doc, watcher, r.open());
        if (c.ownChanges)
            r.type(QStringLiteral("Oslo"));
        // Revert does nothing to a database without changes.
        if (c.ownChanges || !c.revert)
            rewrite(r, "Lima");
        r.messages.answers = {c.answer};
        c.revert ? watch.revert() : watch.reload();
        EXPECT_EQ(std::make_tuple(r.city(), r.doc.database().isChanged(), r.doc.canUndo(),
                                  qsizetype(r.messages.shown.size()), watch.check()),
                  std::make_tuple(c.city, c.changed, c.changed, c.questions,
                                  c.changed ? FileWatchRules::State::BothChanged
                                            : FileWatchRules::State::Quiet))
            << c.revert << c.ownChanges;
    }
}
