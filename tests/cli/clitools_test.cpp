#include "clirun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

/// Name (String), Amount (Float), Day (Normal Date): dates written the
/// German way in records 1 and 3, the American way in record 2.
PdbBuilder sortable()
{
    PdbBuilder b = PdbBuilder::withFields(3);
    b.fields[0] = {"Name", 0x01, 0, 60, 0, 0};
    b.fields[1] = {"Amount", 0x10, 0, 60, 0, 0};
    b.fields[2] = {"Day", 0x04, 0, 60, 0, 0};
    b.sortKeys[0] = -2;
    b.records = {{"cat", "10", "31.12.2003"},
                 {"Cat and cat", "9", "1/2/2004"},
                 {"dog", "abc", "02.01.2004"}};
    return b;
}

} // namespace

TEST_F(Cli, sortFindAndReplace)
{
    const QString in = write("in.pdb", sortable().build());
    const QString out = dir.filePath(QStringLiteral("out.pdb"));
    const auto s = [](const char *text) { return QString::fromUtf8(text); };
    struct Case
    {
        QStringList arguments;
        int exitCode;
        QString out;
        QString err;
        /// The names of OUT's records in their order and its sort keys;
        /// empty when OUT is not written.
        QString names;
    };
    const Case cases[] = {
        {{s("copy"), in, out, s("--sort"), s("2")}, 0, {}, {}, s("dog,Cat and cat,cat 2,0,0")},
        {{s("copy"), in, out, s("--sort"), s("stored")},
         0,
         {},
         {},
         s("cat,Cat and cat,dog -2,0,0")},
        {{s("copy"), in, out, s("--sort"), s("3"), s("--locale"), s("de_DE")},
         0,
         {},
         {},
         s("Cat and cat,cat,dog 3,0,0")},
        {{s("copy"), in, out, s("--sort"), s("3"), s("--locale"), s("en_US")},
         0,
         {},
         {},
         s("cat,dog,Cat and cat 3,0,0")},
        {{s("copy"), in, out, s("--sort"), s("-1,2"), s("--locale"), s("en_US")},
         0,
         {},
         {},
         s("dog,Cat and cat,cat -1,2,0")},
        {{s("copy"), in, out, s("--sort"), s("4")}, 2, {}, {}, {}},
        {{s("copy"), in, out, s("--sort"), s("1,x")}, 2, {}, {}, {}},
        {{s("copy"), in, out, s("--locale"), s("xx_Nowhere")}, 2, {}, {}, {}},
        {{s("find"), in, s("CAT")}, 0, s("0001\tName\n0002\tName\n"), {}, {}},
        {{s("find"), in, s("a"), s("--field"), s("1"), s("--begins")},
         1,
         {},
         s("Search text not found.\n"),
         {}},
        {{s("find"), in, s("c"), s("--field"), s("0")},
         0,
         s("0001\tName\n0002\tName\n0003\tAmount\n"),
         {},
         {}},
        {{s("find"), in, s("c"), s("--field"), s("4")}, 2, {}, {}, {}},
        {{s("replace"), in, out, s("--find"), s("cat"), s("--with"), s("cats")},
         0,
         s("3\n"),
         {},
         s("cats,cats and cats,dog -2,0,0")},
        {{s("replace"), in, out, s("--find"), s("cat"), s("--with"), s("x"), s("--match-case"),
          s("--begins")},
         0,
         s("1\n"),
         {},
         s("x,Cat and cat,dog -2,0,0")},
        {{s("replace"), in, out, s("--find"), s("zebra"), s("--with"), s("x")},
         0,
         {},
         s("Find text not found.\n"),
         s("cat,Cat and cat,dog -2,0,0")},
        {{s("replace"), in, out, s("--find"), s(""), s("--with"), s("x")}, 2, {}, {}, {}},
    };
    for (const Case &c : cases) {
        QFile::remove(out);
        const CliRun run = runCli(c.arguments);
        const QString what = c.arguments.join(QLatin1Char(' '));
        EXPECT_EQ(run.exitCode, c.exitCode) << what.toStdString() << run.err.toStdString();
        if (c.exitCode == 2)
            continue;
        EXPECT_EQ(QString::fromUtf8(run.out), c.out) << what.toStdString();
        EXPECT_EQ(run.err, c.err) << what.toStdString();
        if (c.names.isEmpty())
            continue;
        const QJsonObject o =
            QJsonDocument::fromJson(runCli({QStringLiteral("dump"), out}).out).object();
        QStringList names;
        for (const QJsonValue &record : o["records"].toArray())
            names << record.toArray().at(0).toString();
        QStringList keys;
        for (const QJsonValue &key : o["sort"].toArray())
            keys << QString::number(key.toInt());
        EXPECT_EQ(names.join(QLatin1Char(',')) + QLatin1Char(' ') + keys.join(QLatin1Char(',')),
                  c.names)
            << what.toStdString();
    }
}

namespace {

/// A desktop described in the user's INI file (users Anna and Bob, Bob
/// the last) and a J-Pilot folder (user Judd, 4711), all in @p root.
QProcessEnvironment syncEnvironment(const QString &root)
{
    QDir(root).mkpath(QStringLiteral("config/QGE"));
    QDir(root).mkpath(QStringLiteral("palm"));
    QDir(root).mkpath(QStringLiteral("jp/.jpilot"));
    QDir(root).mkpath(QStringLiteral("home"));
    const auto put = [&root](const char *name, const QByteArray &bytes) {
        QFile f(root + QLatin1Char('/') + QLatin1String(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    };
    // users.dat: the count, 12 bytes not read, then ID (LE), 2 bytes, name
    // and folder with their lengths, one byte, a gap ended by 01 80.
    put("palm/users.dat", QByteArray("\x02", 1) + QByteArray(12, '\0') +
                              QByteArray("\x03\x00\x00\x00\x04"
                                         "Anna\x05"
                                         "AnnaB\x00\x01\x80",
                                         18) +
                              QByteArray("\x07\x00\x00\x00\x03"
                                         "Bob\x04"
                                         "BobF\x00",
                                         14));
    put("config/QGE/PalmDesktop.ini",
        "[Palm Computing\\Pilot Desktop\\Core]\nPath=" + root.toUtf8() +
            "/palm\n"
            "[Palm Computing\\Pilot Desktop\\Preferences]\n"
            "LastUserName=Bob\n"
            "[Palm Computing\\Pilot Desktop\\HotSync Manager]\n");
    put("jp/.jpilot/jpilot.rc", "user Judd\nuser_id 4711\n");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/config"));
    env.insert(QStringLiteral("HOME"), root + QStringLiteral("/home"));
    env.insert(QStringLiteral("JPILOT_HOME"), root + QStringLiteral("/jp"));
    return env;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

CliRun runCliIn(const QProcessEnvironment &env, const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QG_CLI_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST_F(Cli, usersAndInstallReachTheSynchronisationSoftware)
{
    const QString root = dir.path();
    const QProcessEnvironment env = syncEnvironment(root);
    const QString db = write("Addresses.PDB", sample().build());
    const QString ready = QStringLiteral("The Database is ready for synchronizing.\n");
    const QString jp = root + QStringLiteral("/jp/.jpilot");
    struct Step
    {
        QStringList arguments;
        int exitCode;
        QString out;
    };
    const Step steps[] = {
        {{QStringLiteral("users")},
         0,
         QStringLiteral("3\tAnna\t%1/palm/AnnaB/Install\n7\tBob\t%1/palm/BobF/Install\n"
                        "4711\tJudd\t%2/quillgrid-install\n")
             .arg(root, jp)},
        {{QStringLiteral("install"), db}, 0, ready},
        {{QStringLiteral("install"), db, QStringLiteral("--user"), QStringLiteral("4711")},
         0,
         ready},
        {{QStringLiteral("install"), db, QStringLiteral("--user"), QStringLiteral("Judd")},
         0,
         ready},
        {{QStringLiteral("install"), db, QStringLiteral("--user"), QStringLiteral("Zed")}, 1, {}},
    };
    for (const Step &step : steps) {
        const CliRun run = runCliIn(env, step.arguments);
        EXPECT_EQ(run.exitCode, step.exitCode) << run.err.toStdString();
        EXPECT_EQ(QString::fromUtf8(run.out).toStdString(), step.out.toStdString());
    }
    // The copy of the file under its name with ".pdb", in the last user's folder.
    EXPECT_TRUE(
        readAll(root + QStringLiteral("/palm/BobF/Install/Addresses.pdb")).startsWith("Sample\0"));
    EXPECT_TRUE(readAll(root + QStringLiteral("/config/QGE/PalmDesktop.ini"))
                    .endsWith("[Palm Computing\\Pilot Desktop\\HotSync Manager]\nInstall7=1\n"));
    EXPECT_EQ(readAll(jp + QStringLiteral("/jpilot.install")),
              (jp + QStringLiteral("/quillgrid-install/Addresses.pdb\n")).toUtf8());

    // Without any software there is nobody to install for.
    QProcessEnvironment bare = env;
    bare.insert(QStringLiteral("XDG_CONFIG_HOME"), root + QStringLiteral("/none"));
    bare.insert(QStringLiteral("JPILOT_HOME"), root + QStringLiteral("/none"));
    EXPECT_EQ(runCliIn(bare, {QStringLiteral("users")}).out, QByteArray());
    const CliRun none = runCliIn(bare, {QStringLiteral("install"), db});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.err.startsWith(
        QStringLiteral("No handheld user of the synchronisation software was found.\n")));
}

// A plain install folder set up in the editor: users lists it after the
// software, and install copies the database into it and leaves nothing else.
TEST_F(Cli, aPlainInstallFolderIsOneMoreUser)
{
    const QString root = dir.path();
    const QProcessEnvironment env = syncEnvironment(root);
    const QString card = root + QStringLiteral("/card reader");
    QDir().mkpath(card);
    QFile ini(root + QStringLiteral("/config/QGE/QGE.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Handheld]\nInstallFolder=" + card.toUtf8() + "\nInstallUser=Carla\n");
    ini.close();
    const QString db = write("Addresses.PDB", sample().build());

    const CliRun users = runCliIn(env, {QStringLiteral("users")});
    const CliRun install = runCliIn(
        env, {QStringLiteral("install"), db, QStringLiteral("--user"), QStringLiteral("Carla")});
    EXPECT_EQ(
        std::tuple(QString::fromUtf8(users.out).section(QLatin1Char('\n'), 3), install.exitCode,
                   QString::fromUtf8(install.out),
                   QDir(card).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                   readAll(card + QStringLiteral("/Addresses.pdb")).left(7)),
        std::tuple(QStringLiteral("0\tCarla\t") + card + QStringLiteral("\n"), 0,
                   QStringLiteral("The Database is ready for synchronizing.\n"),
                   QStringList{QStringLiteral("Addresses.pdb")}, QByteArray("Sample\0", 7)));
}

TEST_F(Cli, importAppendAndExportOfDelimitedText)
{
    // A spreadsheet's file: byte-order mark, LF line ends, a line break and
    // a doubled quote inside quotes.
    const QString in =
        write("in.csv", "\xEF\xBB\xBFName,Town\n\"Zo\xC3\xAB\n2\",\"Oslo \"\"N\"\"\"\n"
                        "Ann,Bergen\n");
    const QString db = dir.filePath(QStringLiteral("db.pdb"));
    const QString out = dir.filePath(QStringLiteral("out.csv"));
    const auto file = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    };
    ASSERT_EQ(runCli({"import", in, db}).exitCode, 0);
    ASSERT_EQ(runCli({"export", db, out, "--separator", "semicolon"}).exitCode, 0);
    EXPECT_EQ(file(out), QByteArray("\"Name\";\"Town\"\r\n\"Zo\xEB\n2\";\"Oslo \"\"N\"\"\"\r\n"
                                    "\"Ann\";\"Bergen\"\r\n"));

    // The simple filter of the file: Town holding "OSLO", here excluded.
    PdbBuilder b = PdbBuilder::withFields(2);
    b.filterField = 2;
    b.filterText = "OSLO";
    b.records = {{"Zoe", "Oslo"}, {"Ann", "Bergen"}};
    const QString filtered = write("filtered.pdb", b.build());
    ASSERT_EQ(runCli({"export", filtered, out, "--separator", "tab", "--filter", "simple",
                      "--exclude", "--encoding", "utf-8"})
                  .exitCode,
              0);
    EXPECT_EQ(file(out), QByteArray("\xEF\xBB\xBF"
                                    "F1\tF2\r\nAnn\tBergen\r\n"));
    EXPECT_EQ(file(dir.filePath(QStringLiteral("out.TX_"))).left(7), QByteArray("\"Name\";"));

    // Questions are answered OK, or Cancel with --strict.
    const QString wide = write("wide.csv", "a,b,c\r\nd,e,f\r\n");
    const QString appended = dir.filePath(QStringLiteral("appended.pdb"));
    const CliRun strict = runCli({"append", db, wide, appended, "--strict"});
    EXPECT_EQ(strict.exitCode, 1);
    EXPECT_TRUE(strict.err.contains(QStringLiteral("will be cut"))) << strict.err.toStdString();
    EXPECT_FALSE(QFile::exists(appended));
    ASSERT_EQ(runCli({"append", db, wide, appended}).exitCode, 0);
    ASSERT_EQ(runCli({"export", appended, out}).exitCode, 0);
    EXPECT_TRUE(file(out).endsWith("\"Ann\",\"Bergen\"\r\n\"a\",\"b\"\r\n\"d\",\"e\"\r\n"));
    const QString oneLine = write("one.csv", "a,b\r\n");
    EXPECT_EQ(runCli({"import", oneLine, db, "--strict"}).exitCode, 1);
    EXPECT_EQ(runCli({"import", wide, db, "--separator", "pipe"}).exitCode, 2);
}
