// The print command: the pages of a database as a PDF file, read back by
// the poppler utilities (the page count, the paper and the page labels);
// what it refuses to write, and that it then leaves nothing behind.

#include "clirun.h"

#include <QRegularExpression>
#include <QStandardPaths>

#include <sys/stat.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

/// The output of a poppler utility; nothing when it is not installed.
QString poppler(const char *tool, const QStringList &arguments)
{
    const QString path = QStandardPaths::findExecutable(QLatin1String(tool));
    if (path.isEmpty())
        return {};
    QProcess p;
    p.start(path, arguments);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

/// What a reader of @p pdf sees: its pages, its paper and its page labels.
QString readBack(const QString &pdf)
{
    const QString info = poppler("pdfinfo", {pdf});
    const QString pages = QRegularExpression(s("Pages:\\s+(\\d+)")).match(info).captured(1);
    const QString paper = QRegularExpression(s("Page size:.*\\((\\w+)\\)")).match(info).captured(1);
    QStringList labels;
    auto it =
        QRegularExpression(s("Page \\d+\\.\\d+")).globalMatch(poppler("pdftotext", {pdf, s("-")}));
    while (it.hasNext())
        labels << it.next().captured(0);
    return s("%1 pages, %2, %3").arg(pages, paper, labels.join(s(" ")));
}

} // namespace

TEST_F(Cli, printWritesEveryPageAndSaysHowMany)
{
    if (QStandardPaths::findExecutable(s("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    // 100 records: A4 takes 51 a page, Letter 48 (5 mm a line below the
    // title and the field names, 10 mm kept free at the foot).
    PdbBuilder b = PdbBuilder::withFields(3);
    b.name = "Plants";
    for (int r = 1; r <= 100; ++r)
        b.records.push_back({"Rosemary " + QByteArray::number(r), "1.5", "a note"});
    const QString in = write("plants.pdb", b.build());
    const QString out = dir.filePath(s("plants.pdf"));
    const struct
    {
        QStringList options;
        QString printed;
    } cases[] = {
        {{}, s("2\n/2 pages, A4, Page 1.1 Page 2.1")},
        {{s("--page-size"), s("a4")}, s("2\n/2 pages, A4, Page 1.1 Page 2.1")},
        {{s("--page-size"), s("letter")}, s("3\n/3 pages, letter, Page 1.1 Page 2.1 Page 3.1")},
    };
    for (const auto &c : cases) {
        const CliRun run = runCli(QStringList{s("print"), in, out} + c.options);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(QString::fromUtf8(run.out) + s("/") + readBack(out), c.printed);
    }
}

TEST_F(Cli, printRefusesWhatItCannotWriteAndLeavesNothing)
{
    const QString in = write("in.pdb", sample().build());
    const QString locked = write("locked.pdf", "mine");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup));
    ASSERT_TRUE(QDir(dir.path()).mkdir(s("folder.pdf")));
    const QString fifo = dir.filePath(s("fifo.pdf"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const auto entries = [this] {
        QStringList found;
        for (const QFileInfo &info : QDir(dir.path())
                                         .entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                        QDir::System | QDir::NoDotAndDotDot))
            found << info.fileName() + (info.isFile() ? QString::number(info.size()) : s("-"));
        return found;
    };
    const QStringList before = entries();
    const QString cases[][2] = {
        {dir.filePath(s("no/x.pdf")), s(": No such file or directory")},
        {dir.filePath(s("folder.pdf")), s(": Is a directory")},
        {fifo, s(": Not a regular file")},
        {locked, s(": Read-only file")},
    };
    QStringList results;
    QStringList expected;
    for (const auto &[out, reason] : cases) {
        const CliRun run = runCli({s("print"), in, out});
        // The last line: Qt may warn about the platform before it.
        results
            << s("%1 %2").arg(run.exitCode).arg(run.err.trimmed().section(QLatin1Char('\n'), -1));
        expected << s("1 ") + out + reason;
    }
    EXPECT_EQ(results, expected);
    EXPECT_EQ(entries(), before);
}

TEST_F(Cli, printUsageErrorsExitWith2)
{
    const QString in = write("in.pdb", sample().build());
    const QList<QStringList> cases = {
        {s("print")},
        {s("print"), in},
        {s("print"), in, s("a.pdf"), s("b.pdf")},
        {s("print"), in, s("a.pdf"), s("--page-size"), s("a3")},
        {s("print"), in, s("a.pdf"), s("--page-size")},
        {s("print"), in, s(""), s("--bogus")},
    };
    QList<int> codes;
    for (const QStringList &arguments : cases)
        codes << runCli(arguments, dir.path()).exitCode;
    EXPECT_EQ(codes, QList<int>(cases.size(), 2));
    EXPECT_FALSE(QFile::exists(dir.filePath(s("a.pdf"))));
}
