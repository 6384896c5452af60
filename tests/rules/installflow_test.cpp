#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/textmeasurer.h"
#include "documentaccess.h"
#include "fakesyncsoftware.h"
#include "fixedclock.h"
#include "interchange/hotsync/tuserdata.h"
#include "memoryfilesystem.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "rules/grid/columnautosize.h"
#include "rules/shell/installflow.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"

#include <gtest/gtest.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

class FixedPitch : public TextMeasurer
{
public:
    int textWidth(const QString &text) const override { return 7 * int(text.size()); }
};

const QString kOwn = s("/palm/Addresses.PDB");
const QString kCopy = s("/sync/BobF/Install/Addresses.pdb");

/// The open database (one field 40 units wide, changed), the desktop with
/// the users Anna and Bob, and what an Install made of them.
struct Install
{
    Install()
    {
        PdbBuilder b = PdbBuilder::withFields(1);
        b.name = "Addresses";
        b.fields[0].width = 40;
        b.records = {{"A rather long street name"}};
        original = b.build();
        files.addFile(kOwn, original);
        files.folders.insert(s("/sync/BobF/Install"));
        EXPECT_TRUE(readFile(original, db).ok);
        db.setFilePath(kOwn);
        db.grid().setCell(1, 1, s("Changed street name"));
        db.setChanged(true);
        software->path = s("/sync");
        software->users =
            std::vector<SyncUser>{{3, s("Anna"), s("AnnaB")}, {7, s("Bob"), s("BobF")}};
        std::vector<std::unique_ptr<SyncSoftware>> list;
        list.emplace_back(software);
        users = std::make_unique<TUserData>(std::move(list), files);
        bool report = false;
        users->Create(messages, report);
    }

    /// Runs Install for Bob and tells what came of it in one line.
    QString run(const InstallSettings &settings)
    {
        const bool result = InstallFlow(doc, autoSize, *users, settings,
                                        {messages, files, shell, shell, clock, cipher});
        QStringList shown;
        for (const Message &m : messages.shown)
            shown << m.caption + s(": ") + m.lines.first();
        const auto width = [this](const QString &path) {
            Database back;
            if (!files.files.contains(path) || !readFile(files.files.value(path), back).ok)
                return s("-");
            return QString::number(back.field(1).readWidth);
        };
        return s("%1 own %2 copy %3 changed %4 auto %5 | %6 | %7")
            .arg(result)
            .arg(files.files.value(kOwn) == original ? s("untouched") : width(kOwn))
            .arg(width(kCopy))
            .arg(db.isChanged())
            .arg(autoSize.isOn())
            .arg(shown.join(s(" / ")))
            .arg(software->log.join(s(", ")));
    }

    Document doc;
    Database &db = DocumentAccess::database(doc);
    QByteArray original;
    MemoryFileSystem files;
    ScriptedMessages messages;
    ScriptedShell shell;
    FixedClock clock;
    CipherState cipher;
    FixedPitch measure;
    ColumnAutoSize autoSize{doc, measure};
    FakeSyncSoftware *software = new FakeSyncSoftware;
    std::unique_ptr<TUserData> users;
};

const char *const kQuestion =
    "Information: The column width is changed by auto-width and could be unsuitable for the "
    "handheld display.";
const char *const kSaved = "Quillgrid5: The Database is saved and ready for synchronizing.";
const char *const kReady = "Quillgrid5: The Database is ready for synchronizing.";

} // namespace

TEST(InstallFlow, savesAndCopiesAsTheSettingsSay)
{
    struct Case
    {
        const char *what;
        bool saveAtInstall;
        bool expertMode;
        bool autoSized;
        MessageButton answer;
        QString expected;
    };
    const QString marked = s("mark 7, installed 7 ") + kCopy;
    // The field is 40 units wide; auto-sized to "Changed street name" it becomes 127.
    const Case cases[] = {
        {"save in place, then copy", true, false, false, MessageButton::Ok,
         s("1 own 40 copy 40 changed 0 auto 0 | %1 | %2").arg(s(kSaved), marked)},
        {"copy alone leaves the own file and the changed flag", false, false, false,
         MessageButton::Ok,
         s("1 own untouched copy 40 changed 1 auto 0 | %1 | %2").arg(s(kReady), marked)},
        {"expert mode asks and says nothing", true, true, true, MessageButton::Ok,
         s("1 own 127 copy 127 changed 0 auto 1 |  | %1").arg(marked)},
        {"Yes keeps the widths from before", false, false, true, MessageButton::Yes,
         s("1 own untouched copy 40 changed 1 auto 1 | %1 / %2 | %3")
             .arg(s(kQuestion), s(kReady), marked)},
        {"No keeps the auto-sized widths", false, false, true, MessageButton::No,
         s("1 own untouched copy 127 changed 1 auto 1 | %1 / %2 | %3")
             .arg(s(kQuestion), s(kReady), marked)},
        {"Cancel writes nothing but leaves the mark", true, false, true, MessageButton::Cancel,
         s("0 own untouched copy - changed 1 auto 1 | %1 | mark 7").arg(s(kQuestion))},
    };
    for (const Case &c : cases) {
        Install install;
        if (c.autoSized)
            install.autoSize.AutoSizeColumns(true);
        install.messages.answers = {c.answer};
        EXPECT_EQ(install.run({1, c.saveAtInstall, c.expertMode}), c.expected) << c.what;
    }
}

TEST(InstallFlow, stopsWhereTheSoftwareOrTheSaveFails)
{
    struct Case
    {
        const char *what;
        SyncSoftware::Mark mark;
        bool ownFolderWritable;
        bool listWritable;
        QString expected;
    };
    const Case cases[] = {
        {"software gone", SyncSoftware::Mark::NotInstalled, true, true,
         s("0 own untouched copy - changed 1 auto 0 | Quillgrid5: The Pilot DeskTop Software "
           "is not Correctly Installed | mark 7")},
        {"no place for the mark", SyncSoftware::Mark::NoManager, true, true,
         s("0 own untouched copy - changed 1 auto 0 |  | mark 7")},
        {"a failed save in place prevents the copy", SyncSoftware::Mark::Marked, false, true,
         s("0 own untouched copy - changed 1 auto 0 | Save error: There was an error in saving "
           "the file. This may be caused by an invalid filename or a full or write protected "
           "disk. | mark 7")},
        {"a list of files that cannot be written", SyncSoftware::Mark::Marked, true, false,
         s("0 own 40 copy 40 changed 0 auto 0 | Error: The file could not be added to the list "
           "of files to install: | mark 7, installed 7 ") +
             kCopy},
    };
    for (const Case &c : cases) {
        Install install;
        install.software->mark = c.mark;
        install.software->listWritable = c.listWritable;
        if (!c.ownFolderWritable)
            install.files.readOnlyFolders.insert(s("/palm"));
        EXPECT_EQ(install.run({1, true, false}), c.expected) << c.what;
    }
}

TEST(InstallFlow, theCopyIsNamedAfterTheFile)
{
    const std::pair<const char *, const char *> cases[][2] = {
        {{"/palm/Addresses.PDB", "Addresses"}, {"Addresses.pdb", ""}},
        {{"/palm/notes", "Notes"}, {"notes.pdb", ""}},
        {{"/palm/my.list.txt", "X"}, {"my.list.pdb", ""}},
        {{"", "New/Base"}, {"New_Base.pdb", ""}},
        {{"", ""}, {"Database.pdb", ""}},
        // One line in a list of files to install, whatever the name holds.
        {{"/palm/two\nlines.pdb", "X"}, {"two_lines.pdb", ""}},
        {{"", "New\r\nBase\x7f"}, {"New__Base_.pdb", ""}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(InstallFileName(s(c[0].first), s(c[0].second)), s(c[1].first));
}
