// quillgrid-cli load as a user runs it: the password of an enciphered
// image, documents it refuses, inputs without end. Whatever is refused
// leaves the folder as it was.

#include "clirun.h"
#include "fifofeeder.h"

#include <QRegularExpression>

#include <csignal>

namespace {

QByteArray dumpOf(const QString &path, const QStringList &more = {})
{
    return runCli(QStringList{QStringLiteral("dump"), path} + more).out;
}

/// How a load ended.
struct Told
{
    int exitCode;
    QString says; ///< what standard error begins with after the JSON's name
    bool operator==(const Told &) const = default;
    friend void PrintTo(const Told &t, std::ostream *out)
    {
        *out << t.exitCode << " " << t.says.toStdString();
    }
};

/// The image without the date, which a save stamps anew.
QJsonObject undated(const QByteArray &image)
{
    QJsonObject o = QJsonDocument::fromJson(image).object();
    o.remove(QLatin1String("modified"));
    return o;
}

} // namespace

TEST_F(Cli, loadRefusesWhatItCannotWriteAndLeavesTheFolderAsItWas)
{
    std::signal(SIGPIPE, SIG_IGN); // a loader that stops reading early
    PdbBuilder enciphered = sample();
    enciphered.flags = 0x0002;
    enciphered.password = "secret7";
    const QByteArray plainDump = dumpOf(write("plain.pdb", sample().build()));
    const QByteArray secretDump = dumpOf(write("secret.pdb", enciphered.build()),
                                         {QStringLiteral("--password"), QStringLiteral("secret7")});
    ASSERT_FALSE(plainDump.isEmpty());
    ASSERT_FALSE(secretDump.isEmpty());
    QByteArray wide = plainDump;
    wide.replace("\"width\": 20", "\"width\": 200");
    ASSERT_NE(wide, plainDump);

    const QString out = dir.filePath(QStringLiteral("out.pdb"));
    const struct
    {
        const char *what;
        QByteArray json;      ///< the document, written to a file
        QString source;       ///< or a path as it is
        QByteArray fifo;      ///< or a FIFO fed this for ever
        QByteArray fifoStart; ///< after this beginning
        QStringList more;
        Told told;
    } cases[] = {
        {"an enciphered image without a password",
         secretDump,
         {},
         {},
         {},
         {},
         {1, "The database is enciphered"}},
        {"an enciphered image with a password too short",
         secretDump,
         {},
         {},
         {},
         {"--password", "short"},
         {1, "Passwords must be a minimum of 6 characters in length."}},
        {"a plain image with a password",
         plainDump,
         {},
         {},
         {},
         {"--password", "secret7"},
         {1, "The database is not enciphered"}},
        {"a width the file cannot hold", wide, {}, {}, {}, {}, {1, "$.fields[1].width"}},
        {"/dev/zero", {}, QStringLiteral("/dev/zero"), {}, {}, {}, {1, "$: "}},
        {"a folder", {}, QStringLiteral("."), {}, {}, {}, {1, "Is a directory"}},
        {"a missing file", {}, QStringLiteral("none.json"), {}, {}, {}, {1, "No such file"}},
        {"a FIFO fed [ for ever", {}, {}, "[", {}, {}, {1, "$: "}},
        {"a FIFO fed records for ever",
         {},
         {},
         "[\"\"],",
         "{\"fields\": [{}], \"records\": [",
         {},
         {1, "$.records[65535]"}},
        {"a FIFO fed one text for ever",
         {},
         {},
         "x",
         "{\"records\": [[\"",
         {},
         {1, "$.records[0][0]"}},
        {"a FIFO fed popup items for ever",
         {},
         {},
         "\"item\",",
         "{\"fields\": [{\"popup\": [",
         {},
         {1, "$.fields[0].popup[210534]"}},
    };
    const QString previous = write("out.pdb", "previous");
    const auto entries = [this] {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    for (const auto &c : cases) {
        QString source = c.source.isEmpty() ? write("in.json", c.json) : c.source;
        std::unique_ptr<FifoFeeder> feeder;
        if (!c.fifo.isEmpty()) {
            source = dir.filePath(QStringLiteral("fifo"));
            QFile::remove(source);
            feeder = std::make_unique<FifoFeeder>(source, c.fifo, c.fifoStart);
        }
        const QStringList before = entries();
        const CliRun run =
            runCli(QStringList{QStringLiteral("load"), source, out} + c.more, dir.path());
        feeder.reset();
        QString says = run.err;
        if (says.startsWith(source + QStringLiteral(": ")))
            says = says.mid(source.size() + 2);
        const Told told{run.exitCode, says.startsWith(c.told.says) ? c.told.says : says};
        EXPECT_EQ(told, c.told) << c.what;
        EXPECT_EQ(entries(), before) << c.what;
        EXPECT_EQ(QFile(previous).size(), 8) << c.what;
    }
}

TEST_F(Cli, loadEnciphersWithThePasswordGivenAndTakesItFromAFile)
{
    PdbBuilder enciphered = sample();
    enciphered.flags = 0x0002;
    enciphered.password = "secret7";
    const QString in = write("secret.pdb", enciphered.build());
    const QStringList secret{QStringLiteral("--password"), QStringLiteral("secret7")};
    const QByteArray image = dumpOf(in, secret);
    const QString json = write("secret.json", image);
    const QString viaArgument = dir.filePath(QStringLiteral("a.pdb"));
    const QString viaFile = dir.filePath(QStringLiteral("f.pdb"));
    const QString other = dir.filePath(QStringLiteral("o.pdb"));
    const QString passwordFile = write("pw.txt", "other pw\n");
    const std::vector<int> exits{
        runCli(QStringList{QStringLiteral("load"), json, viaArgument} + secret).exitCode,
        runCli({QStringLiteral("load"), json, viaFile, QStringLiteral("--password-file"),
                write("pw7.txt", "secret7\r\n")})
            .exitCode,
        runCli(
            {QStringLiteral("load"), json, other, QStringLiteral("--password-file"), passwordFile})
            .exitCode};
    // Each reads back with its password, and gives the same image.
    const std::vector<bool> same{
        undated(dumpOf(viaArgument, secret)) == undated(image),
        undated(dumpOf(viaFile, secret)) == undated(image),
        undated(dumpOf(other, {QStringLiteral("--password"), QStringLiteral("other pw")})) ==
            undated(image)};
    EXPECT_EQ(exits, std::vector<int>({0, 0, 0}));
    EXPECT_EQ(same, std::vector<bool>({true, true, true}));
}

TEST_F(Cli, loadUsageErrorsExitWithTwo)
{
    const QString json = write("in.json", "{}");
    const std::vector<QStringList> cases = {
        {QStringLiteral("load")},
        {QStringLiteral("load"), json},
        {QStringLiteral("load"), json, QStringLiteral("a.pdb"), QStringLiteral("b.pdb")},
        {QStringLiteral("load"), json, QStringLiteral("a.pdb"), QStringLiteral("--bogus")},
        {QStringLiteral("load"), json, QString()},
        {QStringLiteral("load"), json, QStringLiteral("a.pdb"), QStringLiteral("--password"),
         QStringLiteral("x"), QStringLiteral("--password-file"), json},
    };
    std::vector<int> exits;
    for (const QStringList &arguments : cases)
        exits.push_back(runCli(arguments, dir.path()).exitCode);
    EXPECT_EQ(exits, std::vector<int>(cases.size(), 2));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.pdb"))));
}
