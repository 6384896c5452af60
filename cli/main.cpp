#include "cli/commandline.h"
#include "cli/copycommand.h"
#include "cli/dumpcommand.h"
#include "cli/findcommand.h"
#include "cli/installcommand.h"
#include "cli/loadcommand.h"
#include "cli/newcommand.h"
#include "cli/printcommand.h"
#include "cli/replacecommand.h"
#include "cli/sharedoptions.h"
#include "cli/textcommand.h"
#include "cli/userscommand.h"
#include "core/platform/qt/commandlinebytes.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

/// The commands, in the order the help lists them.
QList<const CommandSyntax *> commands()
{
    return {
        &DumpCommand::syntax(),       &LoadCommand::syntax(),       &CopyCommand::syntax(),
        &FindCommand::syntax(),       &ReplaceCommand::syntax(),    &NewCommand::syntax(),
        &UsersCommand::syntax(),      &InstallCommand::syntax(),    &TextCommand::importSyntax(),
        &TextCommand::appendSyntax(), &TextCommand::exportSyntax(), &PrintCommand::syntax()};
}

const char Usage[] = "usage: quillgrid-cli [--locale NAME] COMMAND ARGUMENTS [OPTIONS]";

QCommandLineOption versionOption()
{
    return QCommandLineOption({QStringLiteral("v"), SharedOptions::Version},
                              QStringLiteral("show the version"));
}

QString helpText()
{
    QString text = QLatin1String(Usage) +
                   QStringLiteral("\n       quillgrid-cli COMMAND --help\n"
                                  "       quillgrid-cli --version\n\n") +
                   CommandLine::wrapped(QStringLiteral("Reads, writes and changes the databases "
                                                       "of the handheld's table-database "
                                                       "application (.pdb) as the editor does."),
                                        0) +
                   QStringLiteral("\n\nCommands:\n");
    for (const CommandSyntax *syntax : commands()) {
        // The first sentence of the summary.
        const QString summary = syntax->summary.section(QStringLiteral(". "), 0, 0);
        const QString name = QStringLiteral("  ") + QLatin1String(syntax->name);
        text += name.leftJustified(12) +
                CommandLine::wrapped(summary.endsWith(QLatin1Char('.')) ? summary : summary + u'.',
                                     12) +
                QLatin1Char('\n');
    }
    text += QStringLiteral("\nOptions:\n");
    for (const QCommandLineOption &option :
         {SharedOptions::locale(), SharedOptions::help(), versionOption()}) {
        text += (QStringLiteral("  ") + CommandLine::optionNames(option)).leftJustified(30) +
                CommandLine::wrapped(option.description(), 30) + QLatin1Char('\n');
    }
    text += QLatin1Char('\n') +
            CommandLine::wrapped(
                QStringLiteral("quillgrid-cli COMMAND --help describes a command and every "
                               "option it takes. Exit status: 0 on success, 1 when a file "
                               "cannot be read or written (the message on standard error), 2 "
                               "for a usage error."),
                0) +
            QLatin1Char('\n');
    return text;
}

int usageError(const QString &why)
{
    QTextStream(stderr) << why << '\n' << Usage << Qt::endl;
    return 2;
}

/// Whether the command is print, which paints and so needs Qt Gui: the
/// first argument that is no --locale option and its name.
bool printing(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--locale") == 0)
            ++i;
        else if (std::strncmp(argv[i], "--locale=", 9) != 0)
            return std::strcmp(argv[i], PrintCommand::Name) == 0;
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    // Printing paints on the offscreen platform: no display is needed, and
    // none is shown.
    const bool paints = printing(argc, argv);
    if (paints)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app =
        paints ? std::make_unique<QGuiApplication>(argc, argv)
               : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillgrid-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QG_VERSION));
    // The arguments as bytes: a name must reach the file system as given.
    QString error;
    std::optional<QStringList> decoded = CommandLineBytes::decode(argc, argv, &error);
    if (!decoded) {
        QTextStream(stderr) << "quillgrid-cli: " << error << Qt::endl;
        return 2;
    }

    // The options before the command; the command's own parser takes the
    // rest.
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    parser.addOptions({SharedOptions::locale(), SharedOptions::help(), versionOption()});
    if (!parser.parse(QStringList{QStringLiteral("quillgrid-cli")} + *decoded))
        return usageError(parser.errorText());
    if (parser.isSet(SharedOptions::Help)) {
        QTextStream(stdout) << helpText();
        return 0;
    }
    if (parser.isSet(SharedOptions::Version)) {
        QTextStream(stdout) << "quillgrid-cli " << QG_VERSION << Qt::endl;
        return 0;
    }
    const QStringList arguments = parser.positionalArguments();
    if (arguments.isEmpty())
        return usageError(QStringLiteral("a command is needed (quillgrid-cli --help lists them)"));
    for (const CommandSyntax *syntax : commands()) {
        if (arguments.first() != QLatin1String(syntax->name))
            continue;
        CommandLine line(*syntax, arguments.mid(1), parser.values(SharedOptions::Locale));
        if (const std::optional<int> status = line.finished())
            return *status;
        return syntax->run(line);
    }
    return usageError(QStringLiteral("unknown command: ") + arguments.first());
}
