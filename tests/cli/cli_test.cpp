#include "clirun.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

TEST_F(Cli, dumpPrintsEveryValueOfTheFile)
{
    const CliRun run = runCli({QStringLiteral("dump"), write("s.pdb", sample().build())});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(o["name"].toString(), QStringLiteral("Sample"));
    EXPECT_EQ(o["flags"].toInt(), 0x0089);
    EXPECT_EQ(o["modified"].toInt(), -5);
    EXPECT_FALSE(o["encrypted"].toBool());
    EXPECT_EQ(o["dataWidth"].toInt(), 120);
    EXPECT_EQ(o["firstUnlockedField"].toInt(), 1);
    EXPECT_EQ(o["sort"].toArray(), QJsonArray({-2, 0, 0}));
    EXPECT_EQ(o["find"].toObject(), QJsonObject({{"field", 1}, {"text", "fi"}}));
    EXPECT_EQ(o["filter"].toObject(), QJsonObject({{"field", 3}, {"text", "fl"}}));

    const QJsonArray fields = o["fields"].toArray();
    ASSERT_EQ(fields.size(), 3);
    const QJsonObject name = fields[0].toObject();
    EXPECT_EQ(name["name"].toString(), QStringLiteral("Name"));
    EXPECT_EQ(name["type"].toInt(), 0);
    EXPECT_EQ(name["attributes"].toInt(), 0x80);
    EXPECT_TRUE(name["locked"].toBool());
    EXPECT_EQ(name["width"].toInt(), 40);
    EXPECT_EQ(name["setting1"].toInt(), 1);
    EXPECT_EQ(name["default"].toString(), QStringLiteral("dflt"));
    EXPECT_EQ(name["popup"].toArray(), QJsonArray({"p1", "p2"}));
    const QJsonObject cost = fields[2].toObject();
    EXPECT_EQ(cost["type"].toInt(), 14);
    EXPECT_EQ(cost["setting1"].toInt(), (1 << 16) | 3);
    EXPECT_EQ(cost["setting2"].toInt(), 2);
    EXPECT_EQ(cost["calcValue1"].toDouble(), 2.5);
    EXPECT_EQ(cost["calcValue2"].toDouble(), 0.0);
    EXPECT_FALSE(cost["locked"].toBool());
    EXPECT_EQ(cost["width"].toInt(), 30);

    const QJsonArray records = o["records"].toArray();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].toArray(), QJsonArray({QString::fromUtf8("caf\u00e9\r\nbar"), "1", "5"}));
    EXPECT_EQ(records[1].toArray(), QJsonArray({"", "0", ""}));

    const QJsonArray sortLists = o["sortLists"].toArray();
    ASSERT_EQ(sortLists.size(), 25);
    EXPECT_EQ(sortLists[0].toObject()["name"].toString(), QStringLiteral("Unused"));
    EXPECT_EQ(sortLists[1].toObject(),
              QJsonObject({{"name", "S2"}, {"keys", QJsonArray({1, -3, 0})}}));
    const QJsonArray filterLists = o["filterLists"].toArray();
    ASSERT_EQ(filterLists.size(), 25);
    EXPECT_EQ(filterLists[0].toObject(), QJsonObject({{"name", "F1"},
                                                      {"texts", QJsonArray({"a", "", "", "", "e"})},
                                                      {"options", 1025},
                                                      {"fields", QJsonArray({0, -1, -1, -1, 2})}}));
    EXPECT_EQ(filterLists[24].toObject()["options"].toInt(), 31);
    EXPECT_EQ(o["viewPosition"].toArray(), QJsonArray({1, 2, 3, 4}));
}

TEST_F(Cli, dumpOfAFileWithoutRecordsShowsOneEmptyRecord)
{
    const CliRun run =
        runCli({QStringLiteral("dump"), write("e.pdb", PdbBuilder::withFields(2).build())});
    ASSERT_EQ(run.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    // The inner array is made a value first: from a lone array in braces,
    // clang would copy it rather than nest it.
    EXPECT_EQ(o["records"].toArray(), QJsonArray({QJsonValue(QJsonArray({"", ""}))}));
}

TEST_F(Cli, failuresGoToStandardError)
{
    CliRun run = runCli({QStringLiteral("dump"), write("x.pdb", QByteArray(80, 'x'))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.trimmed(), QStringLiteral("Sorry, this is not a Listora database."));
    EXPECT_TRUE(run.out.isEmpty());

    PdbBuilder old = sample();
    old.type = "Lx3D";
    run = runCli({QStringLiteral("dump"), write("old.pdb", old.build())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("Sorry, this database is created by Listora 3.\n\n"
                                      "Please use Quillgrid 2.xx to access this database. \n"));

    run = runCli({QStringLiteral("dump"), dir.filePath(QStringLiteral("missing.pdb"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("There was an error opening the file.")));
}

TEST_F(Cli, passwordsOfEncipheredFiles)
{
    PdbBuilder b = sample();
    b.flags = 0x0002;
    b.password = QString::fromUtf8("pässwörd").toLatin1();
    const QString path = write("secret.pdb", b.build());

    CliRun run = runCli({QStringLiteral("dump"), path});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.trimmed(), QStringLiteral("Password required"));

    run = runCli({QStringLiteral("dump"), path, QStringLiteral("--password"),
                  QStringLiteral("wrong-password")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("Incorrect Password given.\nPlease re-enter\n"));

    run = runCli({QStringLiteral("dump"), path, QStringLiteral("--password"),
                  QString::fromUtf8("pässwörd")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(run.out).object();
    EXPECT_TRUE(o["encrypted"].toBool());
    EXPECT_EQ(o["records"].toArray()[0].toArray()[0].toString(),
              QString::fromUtf8("caf\u00e9\r\nbar"));
}

TEST_F(Cli, warningsAndQuestions)
{
    PdbBuilder b = sample();
    b.flags = 0x0004;
    CliRun run = runCli({QStringLiteral("dump"), write("palm.pdb", b.build())});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("The database is protected")));

    b.flags = 0x0001;
    b.fields[1].typeCode = 0x77;
    run = runCli({QStringLiteral("dump"), write("unknown.pdb", b.build())});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.endsWith(QStringLiteral("Error: Seek Fieldtype2\n")))
        << run.err.toStdString();
}

TEST_F(Cli, usageErrorsExitWith2)
{
    EXPECT_EQ(runCli({}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("frobnicate")}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("dump")}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("dump"), QStringLiteral("a"), QStringLiteral("b")}).exitCode,
              2);
    EXPECT_EQ(
        runCli({QStringLiteral("dump"), QStringLiteral("a"), QStringLiteral("--bogus")}).exitCode,
        2);
}

TEST_F(Cli, copyWritesAndChangesTheSecurity)
{
    const QString in = write("in.pdb", sample().build());
    const QString out = dir.filePath(QStringLiteral("out.pdb"));
    CliRun run = runCli({QStringLiteral("copy"), in, out});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("out.pd_"))));
    const QByteArray plainDump = runCli({QStringLiteral("dump"), in}).out;
    QJsonObject copied =
        QJsonDocument::fromJson(runCli({QStringLiteral("dump"), out}).out).object();
    QJsonObject original = QJsonDocument::fromJson(plainDump).object();
    copied.remove(QStringLiteral("modified"));
    original.remove(QStringLiteral("modified"));
    EXPECT_EQ(copied, original);

    // A short password is refused with the dialog's message.
    run = runCli(
        {QStringLiteral("copy"), in, out, QStringLiteral("--encrypt"), QStringLiteral("abc")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("Passwords must be a minimum of 6 characters in length.\n"
                                      "Please re-enter.\n"));

    const QString secret = dir.filePath(QStringLiteral("secret.pdb"));
    run = runCli({QStringLiteral("copy"), in, secret, QStringLiteral("--encrypt"),
                  QString::fromUtf8("sécret!")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonObject o =
        QJsonDocument::fromJson(runCli({QStringLiteral("dump"), secret,
                                        QStringLiteral("--password"), QString::fromUtf8("sécret!")})
                                    .out)
            .object();
    EXPECT_TRUE(o["encrypted"].toBool());
    EXPECT_EQ(o["flags"].toInt(), (0x0089 & ~0x0007) | 0x0002);
    EXPECT_EQ(o["records"], original["records"]);

    const QString open = dir.filePath(QStringLiteral("open.pdb"));
    run = runCli({QStringLiteral("copy"), secret, open, QStringLiteral("--password"),
                  QString::fromUtf8("sécret!"), QStringLiteral("--decrypt")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    o = QJsonDocument::fromJson(runCli({QStringLiteral("dump"), open}).out).object();
    EXPECT_FALSE(o["encrypted"].toBool());
    EXPECT_EQ(o["flags"].toInt(), (0x0089 & ~0x0007) | 0x0001);

    EXPECT_EQ(runCli({QStringLiteral("copy"), in}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("copy"), in, out, QStringLiteral("--decrypt"),
                      QStringLiteral("--encrypt"), QStringLiteral("secret")})
                  .exitCode,
              2);
}

TEST_F(Cli, copyTakesTheOutputNameAsItStands)
{
    const QString in = write("in.pdb", sample().build());
    const auto dump = [](const QString &path) {
        QJsonObject o =
            QJsonDocument::fromJson(runCli({QStringLiteral("dump"), path}).out).object();
        o.remove(QStringLiteral("modified"));
        return o;
    };
    const QJsonObject original = dump(in);

    // An empty name is no file, not even the input's own.
    CliRun run = runCli({QStringLiteral("copy"), in, QString()}, dir.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("IN and OUT must name files\nusage:")));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"in.pdb"}));

    // "?" is a name like any other.
    run = runCli({QStringLiteral("copy"), in, QStringLiteral("?")}, dir.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(dump(dir.filePath(QStringLiteral("?"))), original);
}

TEST_F(Cli, copyReportsTheHandheldLimitsAndGoesOn)
{
    PdbBuilder b = sample();
    b.records[0][0] = QByteArray(4010, 'x');
    const QString out = dir.filePath(QStringLiteral("cut.pdb"));
    const CliRun run = runCli({QStringLiteral("copy"), write("long.pdb", b.build()), out});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, QStringLiteral("Record 1 shorten by 10 bytes.\n"));
    const QJsonObject o =
        QJsonDocument::fromJson(runCli({QStringLiteral("dump"), out}).out).object();
    EXPECT_EQ(o["records"].toArray()[0].toArray()[0].toString().size(), 4000);

    const CliRun failed = runCli({QStringLiteral("copy"), write("ok.pdb", sample().build()),
                                  dir.filePath(QStringLiteral("no/such/folder/x.pdb"))});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.startsWith(QStringLiteral("There was an error in saving the file.")));
}

TEST_F(Cli, newCreatesAsTheDialogDoes)
{
    const QString out = dir.filePath(QStringLiteral("new.pdb"));
    CliRun run =
        runCli({QStringLiteral("new"), out, QStringLiteral("--name"), QStringLiteral("Tasks"),
                QStringLiteral("--fields"), QStringLiteral("3"), QStringLiteral("--records"),
                QStringLiteral("4"), QStringLiteral("--type"), QStringLiteral("Boolean"),
                QStringLiteral("--width"), QStringLiteral("160")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QJsonObject o =
        QJsonDocument::fromJson(runCli({QStringLiteral("dump"), out}).out).object();
    EXPECT_EQ(o["name"].toString(), QStringLiteral("Tasks"));
    EXPECT_EQ(o["flags"].toInt(), 0x0811);
    const QJsonArray fields = o["fields"].toArray();
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[2].toObject()["name"].toString(), QStringLiteral("Field 3"));
    EXPECT_EQ(fields[2].toObject()["type"].toInt(), 1);
    EXPECT_EQ(fields[2].toObject()["width"].toInt(), 127); // the most the handheld keeps
    EXPECT_EQ(o["records"].toArray().size(), 4);
    EXPECT_EQ(o["records"].toArray()[3].toArray()[1].toString(), QStringLiteral("0"));

    run = runCli({QStringLiteral("new"), out, QStringLiteral("--name"), QStringLiteral("T"),
                  QStringLiteral("--records"), QStringLiteral("0")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("Please use 1 - 32000 rows.\n"));
    EXPECT_EQ(runCli({QStringLiteral("new"), out}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("new"), out, QStringLiteral("--name"), QStringLiteral("T"),
                      QStringLiteral("--type"), QStringLiteral("Bogus")})
                  .exitCode,
              2);
}

TEST_F(Cli, dumpRecalcComputesTheCalculatedCells)
{
    PdbBuilder b = PdbBuilder::withFields(3);
    b.fields[0].typeCode = 0x10; // Float
    b.fields[1].typeCode = 0x10;
    b.fields[2] = {"Product", 0x46, 0, 30, (0 << 24) | (1 << 16) | 3, 2};
    b.records = {{"2", "1.25", "stale"}, {"x", "1", "stale"}};
    const QString path = write("calc.pdb", b.build());
    QJsonObject o = QJsonDocument::fromJson(runCli({QStringLiteral("dump"), path}).out).object();
    EXPECT_EQ(o["records"].toArray()[0].toArray()[2].toString(), QStringLiteral("stale"));
    const CliRun run = runCli({QStringLiteral("dump"), path, QStringLiteral("--recalc")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    o = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(o["records"].toArray()[0].toArray()[2].toString(), QStringLiteral("2.50"));
    EXPECT_EQ(o["records"].toArray()[1].toArray()[2].toString(), QStringLiteral("???"));
}

namespace {

/// Runs the tool on a terminal of its own and types @p line once the
/// @p prompt shows; returns the exit status and what the terminal showed.
CliRun runOnTerminal(const QStringList &arguments, const QString &line, const QString &prompt)
{
    std::vector<QByteArray> storage{QByteArrayLiteral(QG_CLI_PATH)};
    for (const QString &argument : arguments)
        storage.push_back(argument.toUtf8());
    std::vector<char *> argv;
    for (QByteArray &bytes : storage)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    QByteArray shown;
    char buffer[4096];
    bool typed = false;
    pollfd p = {master, POLLIN, 0};
    while (::poll(&p, 1, 20000) > 0) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0)
            break; // the terminal closed with the tool
        shown.append(buffer, n);
        if (!typed && (typed = shown.contains(prompt.toUtf8())))
            ::write(master, (line.toUtf8() + '\n').constData(), size_t(line.toUtf8().size() + 1));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(master);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, shown, QString()};
}

} // namespace

TEST_F(Cli, theTerminalIsAskedForAMissingPasswordWithoutEcho)
{
    PdbBuilder b = sample();
    b.flags = 0x0002;
    b.password = QString::fromUtf8("pässwörd").toLatin1();
    const QString secret = write("secret.pdb", b.build());
    const QString prompt = QStringLiteral("Password for ") + secret + QStringLiteral(": ");
    const CliRun run =
        runOnTerminal({QStringLiteral("dump"), secret}, QString::fromUtf8("pässwörd"), prompt);
    // What was typed never shows; the Enter does, then the dump.
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith((prompt + QStringLiteral("\r\n{\r\n")).toUtf8()))
        << run.out.left(200).toStdString();
}

TEST_F(Cli, copyRefusesWhatItMustNotReplaceAndTouchesNothing)
{
    const QString in = write("in.pdb", sample().build());
    const QString fifo = dir.filePath(QStringLiteral("fifo.pdb"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QString locked = write("locked.pdb", "mine");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.pdb")));
    const QString link = dir.filePath(QStringLiteral("link.pdb"));
    ASSERT_TRUE(QFile::link(fifo, link));
    const auto entries = [this] {
        QStringList found;
        for (const QFileInfo &info : QDir(dir.path())
                                         .entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                        QDir::System | QDir::NoDotAndDotDot))
            found << info.fileName() + (info.isFile() ? QString::number(info.size()) : "-");
        return found;
    };
    const QStringList before = entries();
    const QString cases[][2] = {
        {fifo, fifo + ": Not a regular file"},
        {link, fifo + ": Not a regular file"},
        {dir.filePath("folder.pdb"), dir.filePath("folder.pdb") + ": Is a directory"},
        {locked, locked + ": Read-only file"},
        {dir.filePath("no/x.pdb"), dir.filePath("no/x.pdb") + ": No such file or directory"},
    };
    for (const auto &[out, reason] : cases) {
        const CliRun run = runCli({QStringLiteral("copy"), in, out});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.section(QLatin1Char('\n'), 1), reason + "\n");
        EXPECT_EQ(entries(), before) << out.toStdString();
    }

    // An empty file is a file like any other; a name as long as the file
    // system allows leaves room for the hidden one beside it.
    const QString longest = dir.filePath(QString(251, QLatin1Char('n')) + QStringLiteral(".pdb"));
    for (const QString &out : {write("empty.pdb", ""), longest})
        EXPECT_EQ(runCli({QStringLiteral("copy"), in, out}).exitCode, 0);
    EXPECT_EQ(QFileInfo(longest).size(), QFileInfo(dir.filePath("empty.pdb")).size());
}

TEST_F(Cli, passwordsFromFiles)
{
    PdbBuilder b = sample();
    b.flags = 0x0002;
    b.password = QString::fromUtf8("pässwörd").toLatin1();
    const QString secret = write("secret.pdb", b.build());
    // The first line counts, without its line end.
    const QString good = write("good.txt", "p\xc3\xa4ssw\xc3\xb6rd\r\nwrong-password\n");
    const QString wrong = write("wrong.txt", "wrong-password\np\xc3\xa4ssw\xc3\xb6rd");
    const QString empty = write("empty.txt", "");
    const QString fresh = write("new.txt", "s\xc3\xa9"
                                           "cret!");
    const QString copy = dir.filePath(QStringLiteral("copy.pdb"));
    const QString missing = dir.filePath(QStringLiteral("missing.txt"));
    const QString pf = QStringLiteral("--password-file"), ef = QStringLiteral("--encrypt-file");
    const struct
    {
        QStringList arguments;
        int exitCode;
        QString err;
    } cases[] = {
        {{"dump", secret, pf, good}, 0, ""},
        {{"dump", secret, pf, wrong}, 1, "Incorrect Password given.\nPlease re-enter\n"},
        {{"dump", secret, pf, empty}, 1, "Password required\n"},
        {{"dump", secret, pf, missing}, 1, missing + ": No such file or directory\n"},
        {{"copy", secret, copy, pf, good, ef, fresh}, 0, ""},
        {{"dump", copy, "--password", QString::fromUtf8("sécret!")}, 0, ""},
        {{"copy", secret, copy, pf, good, ef, empty},
         1,
         "Passwords must be a minimum of 6 characters in length.\nPlease re-enter.\n"},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(c.arguments);
        EXPECT_EQ(QString::number(run.exitCode) + run.err, QString::number(c.exitCode) + c.err);
    }
    // A password given two ways, or a file of no name, is a usage error.
    for (const QStringList &arguments : {QStringList{"dump", secret, pf, good, "--password", "x"},
                                         {"dump", secret, pf, ""},
                                         {"copy", secret, copy, ef, fresh, "--decrypt"},
                                         {"copy", secret, copy, ef, fresh, "--encrypt", "sixsix"}})
        EXPECT_EQ(runCli(arguments).exitCode, 2) << arguments.join(' ').toStdString();
}

TEST_F(Cli, newRefusesANameTheHandheldCannotKeep)
{
    const QString out = dir.filePath(QStringLiteral("new.pdb"));
    const CliRun run =
        runCli({QStringLiteral("new"), out, QStringLiteral("--name"), QString::fromUtf8("Ωmega")});
    EXPECT_EQ(QString::number(run.exitCode) + run.err,
              QString::fromUtf8("2NAME may only hold characters of Windows-1252: \"Ωmega\" "
                                "has others\n"));
    EXPECT_FALSE(QFile::exists(out));
}
