// Install into a plain folder on a real disk: the copy lands in the folder
// the user chose, under the database's own name, and nowhere else.

#include "core/crypto/cipherstate.h"
#include "core/document/document.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/platform/qt/plaininstallfolder.h"
#include "core/platform/textmeasurer.h"
#include "documentaccess.h"
#include "fixedclock.h"
#include "interchange/hotsync/tuserdata.h"
#include "memorysettingsstore.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "rules/grid/columnautosize.h"
#include "rules/shell/installflow.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "tmpfsmount.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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

QStringList everythingBelow(const QString &folder)
{
    QStringList found;
    QDir dir(folder);
    for (const QString &name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        const QFileInfo info(dir.filePath(name));
        found << name + (info.isSymLink() ? s("@") : QString());
        if (info.isDir() && !info.isSymLink()) {
            for (const QString &inner : everythingBelow(dir.filePath(name)))
                found << name + QLatin1Char('/') + inner;
        }
    }
    return found;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

/**
 * Installs the database "Addresses" (@p records records), opened from
 * @p openedAs, for the plain folder @p folder, copy only and no notices;
 * tells in one line what came of it: the result, the database's name in the
 * copy where the folder has one, and the first line of each message.
 */
QString install(const QString &folder, const QString &openedAs, int records = 1)
{
    PdbBuilder b = PdbBuilder::withFields(2);
    b.name = "Addresses";
    for (int r = 0; r < records; ++r)
        b.records.push_back({QByteArray(900, char('a' + r % 26)), "Paris"});
    Document doc;
    Database &db = DocumentAccess::database(doc);
    EXPECT_TRUE(readFile(b.build(), db).ok);
    db.setFilePath(openedAs);

    MemorySettingsStore settings;
    PlainInstallFolder::save(settings, {folder, s("Carla")});
    LocalFileSystem files;
    std::vector<std::unique_ptr<SyncSoftware>> list;
    list.push_back(std::make_unique<PlainInstallFolder>(settings));
    TUserData users(std::move(list), files);
    users.Create();
    ScriptedMessages messages;
    ScriptedShell shell;
    FixedClock clock;
    CipherState cipher;
    FixedPitch measure;
    ColumnAutoSize autoSize{doc, measure};
    const bool result = InstallFlow(doc, autoSize, users, {0, false, true},
                                    {messages, files, shell, shell, clock, cipher});
    QStringList shown;
    for (const Message &m : messages.shown)
        shown << m.lines.first();
    Database copy;
    const QString target = folder + QLatin1Char('/') + InstallFileName(openedAs, db.name());
    const QString name =
        readFile(contents(target), copy).ok ? copy.name() : QStringLiteral("no copy");
    return s("%1 %2 | %3").arg(result).arg(name, shown.join(s(" / ")));
}

const char *const kSaveError = "There was an error in saving the file. This may be caused by an "
                               "invalid filename or a full or write protected disk.";

} // namespace

// Odd names, a link for the folder, a link of the database's name left in
// a shared folder, a folder gone: what is written stays in the folder.
TEST(PlainInstallFolder, theCopyLandsInTheChosenFolderAndNowhereElse)
{
    struct Case
    {
        const char *what;
        const char *folder;   ///< below the temporary folder
        const char *openedAs; ///< the database's file name
        QString expected;
        QStringList made; ///< below the temporary folder, beside "card" and "outside.pdb"
    };
    const QString copied = s("1 Addresses | ");
    const Case cases[] = {
        {"a folder", "card", "Addresses.PDB", copied, {s("card/Addresses.pdb")}},
        {"odd names",
         "shared folder/\u00e9mu\nlator -x",
         "two\nlines.pdb",
         copied,
         {s("shared folder"), s("shared folder/\u00e9mu\nlator -x"),
          s("shared folder/\u00e9mu\nlator -x/two_lines.pdb")}},
        {"a link for the folder",
         "link",
         "Addresses.pdb",
         copied,
         {s("card/Addresses.pdb"), s("link@")}},
        {"a link of the database's name",
         "trap",
         "Addresses.pdb",
         s("0 no copy | The install folder holds a link of the database's name, so nothing was "
           "installed:"),
         {s("trap"), s("trap/Addresses.pdb@")}},
        {"a folder gone",
         "gone",
         "Addresses.pdb",
         s("0 no copy | The install folder of the handheld user \"Carla\" is not there, so "
           "nothing was installed:"),
         {}},
    };
    QStringList results;
    QStringList expected;
    for (const Case &c : cases) {
        QTemporaryDir dir;
        const auto at = [&dir](const QString &name) { return dir.filePath(name); };
        ASSERT_TRUE(QDir().mkpath(at(s("card"))));
        ASSERT_TRUE(QDir().mkpath(at(s("trap"))));
        ASSERT_TRUE(QDir().mkpath(at(s("shared folder/\u00e9mu\nlator -x"))));
        ASSERT_TRUE(QFile::link(at(s("card")), at(s("link"))));
        QFile outside(at(s("outside.pdb")));
        ASSERT_TRUE(outside.open(QIODevice::WriteOnly));
        outside.write("someone else's file");
        outside.close();
        ASSERT_TRUE(QFile::link(at(s("outside.pdb")), at(s("trap/Addresses.pdb"))));
        const QStringList before = everythingBelow(dir.path());

        const QString outcome = install(at(s(c.folder)), at(s("src/")) + s(c.openedAs));
        const bool untouched = contents(at(s("outside.pdb"))) == "someone else's file";
        results << s(c.what) + s(": ") + outcome + s(" | ") + QString::number(untouched);
        QStringList made = before + c.made;
        made.removeDuplicates();
        made.sort();
        QStringList after = everythingBelow(dir.path());
        after.sort();
        results << after;
        expected << s(c.what) + s(": ") + c.expected + s(" | 1");
        expected << made;
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}

// A full disk and a read-only one, for real: the failure is reported and
// the folder holds nothing afterwards, not even a piece.
TEST(PlainInstallFolder, aDiskThatCannotTakeTheCopyKeepsNothing)
{
    QStringList results;
    QStringList expected;
    for (const bool full : {true, false}) {
        TmpfsMount disk(64 * 1024);
        if (!disk.mounted())
            GTEST_SKIP() << disk.why().toStdString();
        if (!full) {
            ASSERT_TRUE(disk.makeReadOnly());
        }
        results << install(disk.folder(), s("/data/Addresses.pdb"), full ? 200 : 1) + s(" | ") +
                       everythingBelow(disk.folder()).join(QLatin1Char(','));
        expected << s("0 no copy | ") + s(kSaveError) + s(" | ");
    }
    EXPECT_EQ(results, expected);
}
