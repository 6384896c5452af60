#include "core/platform/qt/qsettingsstore.h"
#include "rules/settings/initialdirectory.h"
#include "rules/settings/preferences.h"
#include "rules/settings/recentfiles.h"

#include "memorysettingsstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

NumberSeparators separators(char16_t decimal, char16_t thousands)
{
    NumberSeparators result;
    result.decimal = QChar(decimal);
    result.thousands = QChar(thousands);
    return result;
}

const NumberSeparators usSystem = separators(u'.', u',');
const NumberSeparators germanSystem = separators(u',', u'.');

/// Every value away from its default.
Preferences unusualPreferences()
{
    Preferences p;
    p.initialDir = false;
    p.initialDirPath = s("C:\\Data, old\\Ünïcode & more");
    p.saveAtInstall = false;
    p.expertMode = true;
    p.recoverySeconds = 0;
    p.autoRightJust = true;
    p.usNumFormat = false;
    p.handheldSoftware = false;
    p.fontName = s("Courier New");
    p.fontSize = 11;
    p.fontCharSet = 238;
    p.fontStyle = Preferences::Bold | Preferences::StrikeOut;
    p.formLeft = -1200;
    p.formTop = 0;
    p.formWidth = 800;
    p.formHeight = 600;
    p.recentFiles = {s("C:\\a\\One.pdb"), s("/home/u/two.pdb"), QString(), s("x;y=z.pdb"),
                     s("Five")};
    return p;
}

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

/// The lines of @p section in INI text, without the header.
QStringList iniSection(const QString &text, const QString &section)
{
    QStringList lines;
    bool inside = false;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('[')))
            inside = trimmed == QLatin1Char('[') + section + QLatin1Char(']');
        else if (inside && !trimmed.isEmpty())
            lines << trimmed;
    }
    return lines;
}

} // namespace

// ---------------------------------------------------------------------------
// Defaults and reading

TEST(PreferencesLoad, EmptyStoreGivesEveryDefault)
{
    const MemorySettingsStore empty;
    const Preferences p = Preferences::load(empty, usSystem);
    EXPECT_TRUE(p.initialDir);
    EXPECT_EQ(p.initialDirPath, QString());
    EXPECT_TRUE(p.saveAtInstall);
    EXPECT_FALSE(p.expertMode);
    EXPECT_FALSE(p.autoRightJust);
    EXPECT_TRUE(p.usNumFormat);
    EXPECT_EQ(p.fontName, s("MS Sans Serif"));
    EXPECT_EQ(p.fontSize, 8);
    EXPECT_EQ(p.fontCharSet, 1);
    EXPECT_EQ(p.fontStyle, 0);
    EXPECT_EQ(p.formLeft, -99999);
    EXPECT_EQ(p.formTop, 30);
    EXPECT_EQ(p.formWidth, 30);
    EXPECT_EQ(p.formHeight, 30);
    EXPECT_FALSE(p.hasStoredPosition());
    for (const QString &file : p.recentFiles)
        EXPECT_TRUE(file.isEmpty());
    EXPECT_EQ(p, Preferences::defaults(usSystem));

    const RecentFiles recent(p.recentFiles);
    EXPECT_FALSE(recent.separatorVisible());
    for (int slot = 1; slot <= 5; ++slot)
        EXPECT_FALSE(recent.isVisible(slot)) << slot;
}

TEST(PreferencesLoad, UsNumberFormatDefaultsOnOnlyForDotAndComma)
{
    const MemorySettingsStore empty;
    EXPECT_TRUE(Preferences::load(empty, usSystem).usNumFormat);
    EXPECT_FALSE(Preferences::load(empty, germanSystem).usNumFormat);
    EXPECT_FALSE(Preferences::load(empty, separators(u'.', u' ')).usNumFormat);
    EXPECT_FALSE(Preferences::load(empty, separators(u',', u',')).usNumFormat);
    EXPECT_FALSE(Preferences::load(empty, separators(u'.', u'\'')).usNumFormat);

    // A stored value wins over the system's either way.
    MemorySettingsStore off;
    off.preset(s("Settings"), s("USNumFormat"), s("0"));
    EXPECT_FALSE(Preferences::load(off, usSystem).usNumFormat);
    MemorySettingsStore on;
    on.preset(s("Settings"), s("USNumFormat"), s("1"));
    EXPECT_TRUE(Preferences::load(on, germanSystem).usNumFormat);
    // Unreadable: the default computed from the system.
    MemorySettingsStore bad;
    bad.preset(s("Settings"), s("USNumFormat"), s("yes"));
    EXPECT_TRUE(Preferences::load(bad, usSystem).usNumFormat);
    EXPECT_FALSE(Preferences::load(bad, germanSystem).usNumFormat);
}

TEST(PreferencesLoad, SeparatorsInForceFollowUsNumberFormat)
{
    Preferences p;
    p.usNumFormat = true;
    EXPECT_EQ(p.separatorsInForce(germanSystem), usSystem);
    p.usNumFormat = false;
    EXPECT_EQ(p.separatorsInForce(germanSystem), germanSystem);
    EXPECT_EQ(p.separatorsInForce(separators(u'.', u' ')), separators(u'.', u' '));
}

TEST(PreferencesLoad, BooleansAreNonZeroIntegersElseDefault)
{
    struct Case
    {
        const char *text;
        bool whenDefaultTrue;  // InitialDir (default on)
        bool whenDefaultFalse; // ExpertMode (default off)
    };
    const Case cases[] = {
        {"1", true, true},     {"0", false, false},  {"2", true, true}, {"-1", true, true},
        {"00", false, false},  {"x", true, false},   {"", true, false}, {"1.0", true, false},
        {"true", true, false}, {"0x1", true, false},
    };
    for (const Case &c : cases) {
        MemorySettingsStore store;
        store.preset(s("Settings"), s("InitialDir"), s(c.text));
        store.preset(s("Settings"), s("ExpertMode"), s(c.text));
        const Preferences p = Preferences::load(store, usSystem);
        EXPECT_EQ(p.initialDir, c.whenDefaultTrue) << c.text;
        EXPECT_EQ(p.expertMode, c.whenDefaultFalse) << c.text;
    }
}

TEST(PreferencesLoad, IntegersThatDoNotParseGiveTheirDefault)
{
    MemorySettingsStore store;
    store.preset(s("Font"), s("Size"), s("abc"));
    store.preset(s("Font"), s("Style"), s("3.5"));
    store.preset(s("FormPos"), s("Top"), s(""));
    store.preset(s("FormPos"), s("Width"), s("12px"));
    store.preset(s("FormPos"), s("Height"), s("99999999999"));
    const Preferences p = Preferences::load(store, usSystem);
    EXPECT_EQ(p.fontSize, 8);
    EXPECT_EQ(p.fontStyle, 0);
    EXPECT_EQ(p.formTop, 30);
    EXPECT_EQ(p.formWidth, 30);
    EXPECT_EQ(p.formHeight, 30);

    MemorySettingsStore good;
    good.preset(s("Font"), s("Size"), s("-5"));
    good.preset(s("Font"), s("Style"), s("15"));
    good.preset(s("FormPos"), s("Top"), s("-20"));
    good.preset(s("FormPos"), s("Width"), s("1920"));
    const Preferences q = Preferences::load(good, usSystem);
    EXPECT_EQ(q.fontSize, -5);
    EXPECT_EQ(q.fontStyle, 15);
    EXPECT_EQ(q.formTop, -20);
    EXPECT_EQ(q.formWidth, 1920);
    EXPECT_EQ(q.formHeight, 30);
}

TEST(PreferencesLoad, TextsAreTakenAsStoredAndOnlyMissingGivesTheDefault)
{
    MemorySettingsStore store;
    store.preset(s("Font"), s("Name"), s(""));
    store.preset(s("Settings"), s("InitialDirPath"), s("  D:\\Backup "));
    store.preset(s("Files"), s("File3"), s("E:\\x.pdb"));
    const Preferences p = Preferences::load(store, usSystem);
    EXPECT_EQ(p.fontName, QString());
    EXPECT_EQ(p.initialDirPath, s("  D:\\Backup "));
    EXPECT_EQ(p.recentFiles[0], QString());
    EXPECT_EQ(p.recentFiles[2], s("E:\\x.pdb"));
}

TEST(PreferencesLoad, StoredPositionIsAnyLeftButTheMarker)
{
    const char *const centred[] = {"-99999", "abc", ""};
    for (const char *text : centred) {
        MemorySettingsStore store;
        store.preset(s("FormPos"), s("Left"), s(text));
        EXPECT_FALSE(Preferences::load(store, usSystem).hasStoredPosition()) << text;
    }
    const char *const stored[] = {"0", "-99998", "-100000", "250"};
    for (const char *text : stored) {
        MemorySettingsStore store;
        store.preset(s("FormPos"), s("Left"), s(text));
        const Preferences p = Preferences::load(store, usSystem);
        EXPECT_TRUE(p.hasStoredPosition()) << text;
        EXPECT_EQ(QString::number(p.formLeft), s(text));
    }
}

TEST(PreferencesLoad, CharacterSetKeepsItsLowEightBits)
{
    MemorySettingsStore store;
    store.preset(s("Font"), s("CharSet"), s("300"));
    EXPECT_EQ(Preferences::load(store, usSystem).fontCharSet, 44);

    Preferences p;
    p.fontCharSet = 0x1CC;
    MemorySettingsStore written;
    p.save(written);
    EXPECT_EQ(written.values.value(s("Font/CharSet")), s("204"));
}

// ---------------------------------------------------------------------------
// Writing

TEST(PreferencesSave, WritesEveryValueAsTextInCloseOrder)
{
    MemorySettingsStore store;
    Preferences::defaults(germanSystem).save(store);
    const QStringList expected = {
        s("Settings/InitialDir=1"),
        s("Settings/InitialDirPath="),
        s("Settings/SaveAtInstall=1"),
        s("Settings/ExpertMode=0"),
        s("Settings/USNumFormat=0"),
        s("Settings/AutoRightJust=0"),
        s("Settings/HandheldSoftware=1"),
        s("Settings/RecoverySeconds=60"),
        s("Font/Name=MS Sans Serif"),
        s("Font/Size=8"),
        s("Font/CharSet=1"),
        s("Font/Style=0"),
        s("FormPos/Left=-99999"),
        s("FormPos/Top=30"),
        s("FormPos/Width=30"),
        s("FormPos/Height=30"),
        s("Files/File1="),
        s("Files/File2="),
        s("Files/File3="),
        s("Files/File4="),
        s("Files/File5="),
    };
    EXPECT_EQ(store.writes, expected);
}

TEST(PreferencesSave, EncodesChangedValuesAsDecimalAndOneOrZero)
{
    MemorySettingsStore store;
    unusualPreferences().save(store);
    const QStringList expected = {
        s("Settings/InitialDir=0"),
        s("Settings/InitialDirPath=C:\\Data, old\\Ünïcode & more"),
        s("Settings/SaveAtInstall=0"),
        s("Settings/ExpertMode=1"),
        s("Settings/USNumFormat=0"),
        s("Settings/AutoRightJust=1"),
        s("Settings/HandheldSoftware=0"),
        s("Settings/RecoverySeconds=0"),
        s("Font/Name=Courier New"),
        s("Font/Size=11"),
        s("Font/CharSet=238"),
        s("Font/Style=9"),
        s("FormPos/Left=-1200"),
        s("FormPos/Top=0"),
        s("FormPos/Width=800"),
        s("FormPos/Height=600"),
        s("Files/File1=C:\\a\\One.pdb"),
        s("Files/File2=/home/u/two.pdb"),
        s("Files/File3="),
        s("Files/File4=x;y=z.pdb"),
        s("Files/File5=Five"),
    };
    EXPECT_EQ(store.writes, expected);
}

TEST(PreferencesSave, SecondStartRestoresWhatTheFirstWrote)
{
    for (const NumberSeparators &system : {usSystem, germanSystem}) {
        MemorySettingsStore store;
        const Preferences written = unusualPreferences();
        written.save(store);
        EXPECT_EQ(Preferences::load(store, system), written);

        Preferences flipped = written;
        flipped.usNumFormat = true;
        flipped.formLeft = Preferences::noStoredPosition;
        flipped.save(store);
        const Preferences again = Preferences::load(store, system);
        EXPECT_EQ(again, flipped);
        EXPECT_FALSE(again.hasStoredPosition());
    }
}

// ---------------------------------------------------------------------------
// Recent files

TEST(RecentFiles, NewPathEntersAtOneAndPushesFiveOut)
{
    RecentFiles recent;
    EXPECT_TRUE(recent.AddRecentFile(s("a")));
    EXPECT_EQ(recent.entries(), (RecentFiles::Entries{s("a"), {}, {}, {}, {}}));
    for (const char *path : {"b", "c", "d", "e"})
        recent.AddRecentFile(s(path));
    EXPECT_EQ(recent.entries(), (RecentFiles::Entries{s("e"), s("d"), s("c"), s("b"), s("a")}));
    EXPECT_TRUE(recent.AddRecentFile(s("f")));
    EXPECT_EQ(recent.entries(), (RecentFiles::Entries{s("f"), s("e"), s("d"), s("c"), s("b")}));
}

TEST(RecentFiles, PathAlreadyListedLeavesEvenTheOrder)
{
    const RecentFiles::Entries start{s("C:\\e.pdb"), s("C:\\d.pdb"), s("C:\\c.pdb"), s("C:\\b.pdb"),
                                     s("C:\\a.pdb")};
    for (const QString &path : start) {
        RecentFiles recent(start);
        EXPECT_FALSE(recent.AddRecentFile(path));
        EXPECT_EQ(recent.entries(), start);
    }
    // The comparison is exact: another case or spelling is another file.
    RecentFiles recent(start);
    EXPECT_TRUE(recent.AddRecentFile(s("C:\\A.pdb")));
    EXPECT_EQ(recent.entries(),
              (RecentFiles::Entries{s("C:\\A.pdb"), s("C:\\e.pdb"), s("C:\\d.pdb"), s("C:\\c.pdb"),
                                    s("C:\\b.pdb")}));
    EXPECT_TRUE(recent.AddRecentFile(s("C:/e.pdb")));
    EXPECT_EQ(recent.entry(1), s("C:/e.pdb"));
    EXPECT_EQ(recent.entry(2), s("C:\\A.pdb"));
}

TEST(RecentFiles, GapsMoveDownWithTheList)
{
    RecentFiles recent(RecentFiles::Entries{s("one"), QString(), s("three"), QString(), QString()});
    recent.AddRecentFile(s("new"));
    EXPECT_EQ(recent.entries(),
              (RecentFiles::Entries{s("new"), s("one"), QString(), s("three"), QString()}));
}

TEST(RecentFiles, CaptionsShowSlotPrefixAndBareFileName)
{
    RecentFiles recent(
        RecentFiles::Entries{s("C:\\My Files\\Addresses.pdb"), s("/home/anna/db/Stock list.PDB"),
                             s("C:\\mixed/dir\\inner/Notes.backup.pdb"),
                             s("D:\\folder.with.dots\\NoExtension"), s("plain.pdb")});
    EXPECT_EQ(recent.caption(1), s("&1  Addresses"));
    EXPECT_EQ(recent.caption(2), s("&2  Stock list"));
    EXPECT_EQ(recent.caption(3), s("&3  Notes.backup"));
    EXPECT_EQ(recent.caption(4), s("&4  NoExtension"));
    EXPECT_EQ(recent.caption(5), s("&5  plain"));
    EXPECT_EQ(recent.caption(0), QString());
    EXPECT_EQ(recent.caption(6), QString());
}

TEST(RecentFiles, AmpersandsInTheNameAreDoubled)
{
    RecentFiles recent(RecentFiles::Entries{s("C:\\R&D\\Tom & Jerry.pdb"), s("/x/&&.pdb"),
                                            s("a&b&c"), QString(), QString()});
    EXPECT_EQ(recent.caption(1), s("&1  Tom && Jerry"));
    EXPECT_EQ(recent.caption(2), s("&2  &&&&"));
    EXPECT_EQ(recent.caption(3), s("&3  a&&b&&c"));
}

TEST(RecentFiles, ItemsAndSeparatorShowOnlyForFilledSlots)
{
    RecentFiles recent(
        RecentFiles::Entries{QString(), s("b.pdb"), QString(), s("d.pdb"), QString()});
    EXPECT_FALSE(recent.separatorVisible());
    EXPECT_FALSE(recent.isVisible(1));
    EXPECT_TRUE(recent.isVisible(2));
    EXPECT_FALSE(recent.isVisible(3));
    EXPECT_TRUE(recent.isVisible(4));
    EXPECT_FALSE(recent.isVisible(5));
    EXPECT_FALSE(recent.isVisible(0));
    EXPECT_FALSE(recent.isVisible(6));

    recent.AddRecentFile(s("z.pdb"));
    EXPECT_TRUE(recent.separatorVisible());
    EXPECT_TRUE(recent.isVisible(1));
    EXPECT_FALSE(recent.isVisible(2));
    EXPECT_TRUE(recent.isVisible(3));
}

// ---------------------------------------------------------------------------
// Initial directory

TEST(InitialDirectory, BackupFolderOfTheSyncUserWhenOnAndKnown)
{
    Preferences p;
    p.initialDirPath = s("D:\\Last");

    p.initialDir = true;
    EXPECT_EQ(InitialDirectory::UpdateInitialDirectory(p, s("C:\\Sync"), s("AnnaB")),
              s("C:\\Sync/AnnaB/backup"));
    EXPECT_EQ(InitialDirectory::UpdateInitialDirectory(p, s("/opt/sync"), s("Anna B")),
              s("/opt/sync/Anna B/backup"));
    // No folder for the selected user: the stored path.
    EXPECT_EQ(InitialDirectory::UpdateInitialDirectory(p, s("C:\\Sync"), QString()), s("D:\\Last"));

    p.initialDir = false;
    EXPECT_EQ(InitialDirectory::UpdateInitialDirectory(p, s("C:\\Sync"), s("AnnaB")),
              s("D:\\Last"));
    p.initialDirPath.clear();
    EXPECT_EQ(InitialDirectory::UpdateInitialDirectory(p, s("C:\\Sync"), s("AnnaB")), QString());
}

// ---------------------------------------------------------------------------
// The INI file store

TEST(SettingsStoreIni, RoundTripThroughARealFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // The folder does not exist yet, as on a first start.
    const QString path = dir.filePath(s("QGE/QGE.ini"));
    const Preferences written = unusualPreferences();
    {
        QSettingsStore store(path);
        written.save(store);
        EXPECT_TRUE(store.sync());
    }
    ASSERT_TRUE(QFile::exists(path));

    const QString text = readText(path);
    const QStringList settings = iniSection(text, s("Settings"));
    EXPECT_TRUE(settings.contains(s("ExpertMode=1"))) << settings.join(u'|').toStdString();
    EXPECT_TRUE(settings.contains(s("InitialDir=0")));
    const QStringList formPos = iniSection(text, s("FormPos"));
    EXPECT_TRUE(formPos.contains(s("Left=-1200"))) << formPos.join(u'|').toStdString();
    EXPECT_TRUE(formPos.contains(s("Width=800")));
    EXPECT_TRUE(iniSection(text, s("Files")).contains(s("File3=")));

    const QSettingsStore reread(path);
    EXPECT_EQ(Preferences::load(reread, usSystem), written);
    EXPECT_EQ(reread.value(s("Files"), s("File3")), std::optional<QString>(QString()));
    EXPECT_EQ(reread.value(s("Files"), s("File6")), std::nullopt);
    EXPECT_EQ(reread.value(s("Nothing"), s("File1")), std::nullopt);
}

TEST(SettingsStoreIni, DefaultsAreWrittenAsPlainText)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(s("QGE.ini"));
    {
        QSettingsStore store(path);
        Preferences::defaults(usSystem).save(store);
        ASSERT_TRUE(store.sync());
    }
    const QString text = readText(path);
    const QStringList settings = iniSection(text, s("Settings"));
    EXPECT_TRUE(settings.contains(s("ExpertMode=0"))) << text.toStdString();
    EXPECT_TRUE(settings.contains(s("USNumFormat=1")));
    EXPECT_TRUE(iniSection(text, s("FormPos")).contains(s("Left=-99999")));
    EXPECT_TRUE(iniSection(text, s("Font")).contains(s("Name=MS Sans Serif")));
}

TEST(SettingsStoreIni, ReadsAFileWrittenByHand)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(s("QGE.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\n"
                   "ExpertMode=2\n"
                   "InitialDir=off\n"
                   "[Font]\n"
                   "Name=Arial\n"
                   "Size=abc\n"
                   "Style=3\n"
                   "[FormPos]\n"
                   "Left=10\n"
                   "[Files]\n"
                   "File1=/data/Addresses.pdb\n"
                   "File2=/data/Smith, Jones.pdb\n");
    }
    const QSettingsStore store(path);
    const Preferences p = Preferences::load(store, germanSystem);
    EXPECT_TRUE(p.expertMode);
    EXPECT_TRUE(p.initialDir);
    EXPECT_FALSE(p.usNumFormat);
    EXPECT_EQ(p.fontName, s("Arial"));
    EXPECT_EQ(p.fontSize, 8);
    EXPECT_EQ(p.fontStyle, Preferences::Bold | Preferences::Italic);
    EXPECT_TRUE(p.hasStoredPosition());
    EXPECT_EQ(p.formLeft, 10);
    EXPECT_EQ(p.formTop, 30);
    EXPECT_EQ(p.recentFiles[0], s("/data/Addresses.pdb"));
    EXPECT_EQ(RecentFiles(p.recentFiles).caption(1), s("&1  Addresses"));
    // An unquoted comma would otherwise split the text into a list.
    EXPECT_EQ(p.recentFiles[1], s("/data/Smith, Jones.pdb"));
}

TEST(SettingsStoreIni, ReportsAFileThatCannotBeWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A plain file where the folder should be.
    const QString blocker = dir.filePath(s("QGE"));
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QSettingsStore store(blocker + s("/QGE.ini"));
    Preferences().save(store);
    EXPECT_FALSE(store.sync());
}
