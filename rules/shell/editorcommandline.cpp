#include "rules/shell/editorcommandline.h"

#include "rules/shell/commandline.h"

#include <QCommandLineParser>

EditorCommandLine EditorCommandLine::parse(const QStringList &argumentsAfterProgram)
{
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QString());
    QCommandLineParser parser;
    parser.addOptions({help, version});
    EditorCommandLine line;
    if (!parser.parse(
            optionsFirst(QStringLiteral("quillgrid"), argumentsAfterProgram, {help, version}))) {
        line.action = Action::UsageError;
        line.file = parser.errorText();
    } else if (parser.isSet(help)) {
        line.action = Action::Help;
    } else if (parser.isSet(version)) {
        line.action = Action::Version;
    } else {
        line.file = commandLineFile(parser.positionalArguments());
    }
    return line;
}

QString EditorCommandLine::usageLine()
{
    return QStringLiteral("usage: quillgrid [FILE]");
}

QString EditorCommandLine::helpText()
{
    return usageLine() +
           QStringLiteral(
               "\n       quillgrid --help | --version\n"
               "\n"
               "Opens the database FILE (.pdb) of the handheld's table-database application in\n"
               "the editor, its records as the rows and its fields as the columns of a grid;\n"
               "without FILE, the start page. Several arguments are one name that the shell\n"
               "split at its blanks. quillgrid-cli does the same work without a window.\n"
               "\n"
               "Options:\n"
               "  -h, --help                  show this help\n"
               "  -v, --version               show the version\n"
               "\n"
               "Qt's own options (-style NAME, -platform NAME, -reverse, ...) are taken too.\n"
               "The preferences are kept in ~/.config/QGE/QGE.ini.\n");
}
