// The command line as a user meets it: the help of every command, its man
// page and its completion name the same options; every command reports a
// wrong option the same way; an option's two spellings do the same.

#include "clirun.h"

#include <QRegularExpression>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QString readAll(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

/// The names of the lines of a help's section @p title ("Commands:",
/// "Options:"): the command, or the option's long name.
QStringList helpSection(const QString &help, const QString &title)
{
    const QString section = help.section(title + u'\n', 1).section(s("\n\n"), 0, 0);
    QStringList names;
    QRegularExpression line(s("^  (?:-\\w, )?(?:--)?([a-z-]+)"),
                            QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(section); it.hasNext();)
        names << it.next().captured(1);
    names.sort();
    return names;
}

/// The long options the man page names in @p command's section.
QStringList manOptions(const QString &page, const QString &command)
{
    const QString section = page.section(s(".SS ") + command + u'\n', 1).section(s("\n.S"), 0, 0);
    QStringList names{s("help"), s("locale")}; // every command's, told once
    QRegularExpression option(s("\\\\-\\\\-((?:[a-z]|\\\\-)+)"));
    for (auto it = option.globalMatch(section); it.hasNext();) {
        const QString name = it.next().captured(1).replace(s("\\-"), s("-"));
        if (!names.contains(name))
            names << name;
    }
    names.sort();
    return names;
}

/// The man page's command sections.
QStringList manCommands(const QString &page)
{
    QStringList names;
    QRegularExpression section(s("^\\.SS (\\w+)$"), QRegularExpression::MultilineOption);
    for (auto it = section.globalMatch(page); it.hasNext();)
        names << it.next().captured(1);
    names.sort();
    return names;
}

/// What bash completion offers for the last of @p words.
QStringList completion(const QStringList &words)
{
    QProcess bash;
    bash.start(s("bash"),
               QStringList{s("-c"),
                           s("source \"$0\"; COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); "
                             "_quillgrid_cli; printf '%s\\n' \"${COMPREPLY[@]}\""),
                           s(QG_SOURCE_DIR "/cli/completion/quillgrid-cli"), s("quillgrid-cli")} +
                   words);
    bash.waitForFinished();
    QStringList offered = QString::fromUtf8(bash.readAllStandardOutput())
                              .split(u'\n', Qt::SkipEmptyParts)
                              .replaceInStrings(QRegularExpression(s("^--")), QString());
    offered.sort();
    return offered;
}

} // namespace

TEST_F(Cli, theHelpTheManPageAndTheCompletionNameTheSameCommandsAndOptions)
{
    const QString page = readAll(s(QG_SOURCE_DIR "/cli/man/quillgrid-cli.1.in"));
    const CliRun top = runCli({s("--help")});
    const QStringList commands = helpSection(QString::fromUtf8(top.out), s("Commands:"));
    QStringList expected{s("exit %1, commands %2").arg(0).arg(commands.join(u' '))};
    QStringList found{s("exit %1, commands %2").arg(top.exitCode).arg(commands.join(u' '))};
    found << s("man %1, completion %2")
                 .arg(manCommands(page).join(u' '), completion({QString()}).join(u' '));
    expected << s("man %1, completion %1").arg(commands.join(u' '));
    for (const QString &command : commands) {
        const CliRun help = runCli({command, s("--help")});
        const QStringList options = helpSection(QString::fromUtf8(help.out), s("Options:"));
        expected << s("%1: exit 0, man %2, completion %2").arg(command, options.join(u' '));
        found << s("%1: exit %2, man %3, completion %4")
                     .arg(command)
                     .arg(help.exitCode)
                     .arg(manOptions(page, command).join(u' '),
                          completion({command, s("--")}).join(u' '));
    }
    EXPECT_EQ(found.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
}

TEST_F(Cli, everyCommandReportsAWrongOptionWithItsUsageLine)
{
    const QStringList commands =
        helpSection(QString::fromUtf8(runCli({s("--help")}).out), s("Commands:"));
    QStringList expected;
    QStringList found;
    for (const QString &command : commands) {
        for (const QStringList &wrong :
             {QStringList{s("--bogus")}, {s("--locale")}, {s("--help=yes")}, {s("-h"), s("-x")}}) {
            const CliRun run = runCli(QStringList{command} + wrong);
            // Qt Gui's note of a missing run-time folder on some machines
            // is no line of ours.
            const QStringList lines = run.err.split(u'\n', Qt::SkipEmptyParts)
                                          .filter(QRegularExpression(s("^(?!QStandardPaths: )")));
            const QString usage = s("usage: quillgrid-cli ") + command;
            // -h wins over anything else on the line.
            const bool help = wrong.first() == s("-h");
            expected << s("%1 %2: exit %3, %4 lines, %5")
                            .arg(command, wrong.join(u' '))
                            .arg(help ? 0 : 2)
                            .arg(help ? 0 : 2)
                            .arg(help ? QString() : usage);
            found << s("%1 %2: exit %3, %4 lines, %5")
                         .arg(command, wrong.join(u' '))
                         .arg(run.exitCode)
                         .arg(lines.size())
                         .arg(lines.isEmpty() ? QString() : lines.last().left(usage.size()));
        }
    }
    EXPECT_EQ(found.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
}

TEST_F(Cli, anOptionsTwoSpellingsAndItsPlaceDoTheSame)
{
    PdbBuilder b = PdbBuilder::withFields(2);
    b.flags = 0x0002;
    b.password = "sixsix";
    b.records = {{"cat", "-5"}, {"-dog", "1"}, {"Cat", "-"}};
    const QString in = write("in.pdb", b.build());
    const QString pw = write("pw.txt", "sixsix\n");
    const QString out = dir.filePath(s("out.pdb"));
    const QString p = s("--password"), pf = s("--password-file");
    const QList<std::pair<QStringList, QStringList>> spellings = {
        {{"find", in, "cat", "--field=1", p, "sixsix"},
         {"find", in, "cat", "--field", "1", p + "=sixsix"}},
        {{"find", in, "-5", pf, pw}, {"find", "--password-file=" + pw, in, "--", "-5"}},
        {{"find", in, "-dog", "--begins", pf, pw}, {"find", pf, pw, "--begins", in, "-dog"}},
        {{"--locale", "de_DE", "copy", in, out, "--sort=-2,1", p, "sixsix"},
         {"copy", in, out, "--sort", "-2,1", "--locale=de_DE", p, "sixsix"}},
    };
    QStringList expected;
    QStringList found;
    for (const auto &[first, second] : spellings) {
        QStringList outcomes;
        for (const QStringList &arguments : {first, second}) {
            QFile::remove(out);
            const CliRun run = runCli(arguments);
            const CliRun dump = runCli({s("dump"), out, p, s("sixsix")});
            QJsonObject o = QJsonDocument::fromJson(dump.out).object();
            outcomes
                << s("%1 %2 %3 %4")
                       .arg(run.exitCode)
                       .arg(QString::fromUtf8(run.out), run.err)
                       .arg(QJsonDocument(o["records"].toArray()).toJson(QJsonDocument::Compact));
        }
        // The first spelling succeeds, and the second does the same.
        expected << s("0 ") + outcomes.first().section(u' ', 1) << outcomes.first();
        found << outcomes.first() << outcomes.last();
    }
    EXPECT_EQ(found.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
}

TEST_F(Cli, theProgramsAndTheirManPagesBearTheProjectsVersion)
{
    const QString version = s(QG_PROJECT_VERSION);
    QStringList pages{s("quillgrid-cli.1")};
    QStringList found{QString::fromUtf8(runCli({s("--version")}).out)};
    QStringList expected{s("quillgrid-cli ") + version + u'\n'};
#ifdef QG_EDITOR_PATH
    // The editor answers without a display.
    QProcess editor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(s("DISPLAY"));
    environment.remove(s("QT_QPA_PLATFORM"));
    editor.setProcessEnvironment(environment);
    editor.start(s(QG_EDITOR_PATH), {s("--version")});
    editor.waitForFinished();
    found << QString::fromUtf8(editor.readAllStandardOutput());
    expected << s("quillgrid ") + version + u'\n';
    pages << s("quillgrid.1");
#endif
    for (const QString &page : pages) {
        // .TH NAME 1 "" "Quillgrid VERSION" "User Commands"
        found << page + u' ' +
                     readAll(s(QG_BINARY_DIR "/man/") + page)
                         .section(u'\n', 0, 0)
                         .section(s("\" \""), 1, 1);
        expected << page + s(" Quillgrid ") + version;
    }
    EXPECT_EQ(found.join(u'\n').toStdString(), expected.join(u'\n').toStdString());
}
