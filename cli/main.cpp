#include "cli/copycommand.h"
#include "cli/dumpcommand.h"
#include "cli/findcommand.h"
#include "cli/installcommand.h"
#include "cli/loadcommand.h"
#include "cli/localeoption.h"
#include "cli/newcommand.h"
#include "cli/printcommand.h"
#include "cli/replacecommand.h"
#include "cli/textcommand.h"
#include "cli/userscommand.h"
#include "core/platform/qt/commandlinebytes.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

int usage()
{
    QTextStream err(stderr);
    err << "usage: quillgrid-cli COMMAND ...\n"
           "\n"
           "commands:\n"
           "  dump FILE [--password PW | --password-file PWFILE] [--recalc]\n"
           "      print the database as one JSON object (--recalc: calculated cells computed "
           "anew)\n"
           "  load JSON OUT [--password PW | --password-file PWFILE]\n"
           "      write the database that a dump's JSON describes to OUT, as copy would; an\n"
           "      enciphered one with the password given\n"
           "  copy IN OUT [--password PW | --password-file PWFILE]\n"
           "              [--encrypt NEWPW | --encrypt-file NEWPWFILE | --decrypt] [--sort KEYS]\n"
           "      write the database to OUT, with a new password or none; KEYS sorts the\n"
           "      records first: one to three field numbers (from 1) separated by commas, a\n"
           "      minus for descending (-3,1), or stored for the file's own sort keys\n"
           "  find FILE TEXT [--field N] [--begins] [--password PW | --password-file PWFILE]\n"
           "      list the cells the Find dialog would find, in its order: record TAB field\n"
           "  replace IN OUT --find TEXT --with TEXT [--field N] [--begins] [--match-case]\n"
           "              [--password PW | --password-file PWFILE]\n"
           "      Replace All as the Replace dialog does it; prints how many were replaced\n"
           "      (and on standard error how many were skipped: cells past 4000 characters)\n"
           "  new OUT --name NAME [--fields 5] [--records 10] [--type String] [--width 60]\n"
           "      create a database as the new-database dialog does\n"
           "  users\n"
           "      list the handheld users of the synchronisation software: ID, name, install "
           "folder\n"
           "  install FILE [--user NAME|ID] [--password PW | --password-file PWFILE]\n"
           "      copy the database into a handheld user's install folder (by default the user\n"
           "      who synchronised last) and mark it for the next synchronisation\n"
           "  import IN OUT.pdb [--separator comma|semicolon|tab] [--encoding auto|cp1252|utf-8]\n"
           "         [--strict]\n"
           "      make a database of a delimited text file (first line: the field names)\n"
           "  append DB IN OUT.pdb [--separator ...] [--encoding ...] [--strict]\n"
           "         [--password PW | --password-file PWFILE]\n"
           "      add the lines of a delimited text file to DB's records, written to OUT.pdb\n"
           "  export DB OUT [--separator ...] [--encoding ...] [--filter simple|advanced]\n"
           "         [--begins] [--exclude] [--password PW | --password-file PWFILE]\n"
           "      write the field names and the records (those the filter shows) as text\n"
           "  print DB OUT.pdf [--page-size a4|letter] [--password PW | --password-file PWFILE]\n"
           "      write the pages the editor prints as a PDF file; prints the number of pages\n"
           "\n"
           "Text is read as UTF-8 when it looks like it, else as Windows-1252 (--encoding\n"
           "auto); it is written as Windows-1252 unless --encoding utf-8. Questions about\n"
           "the file are printed and answered OK; --strict answers Cancel and exits 1.\n"
           "\n"
           "Every command takes --locale NAME (en_US, de_DE, ...): the collation, date and\n"
           "time formats and number separators of that locale instead of the system's.\n"
           "--field N counts fields from 1; 0 means all fields.\n"
           "A password file (a regular file or a pipe) gives its first line, at most 64\n"
           "characters. Without a password, an enciphered file's\n"
           "is asked for when standard input is a terminal. A password given as PW can be\n"
           "seen by other users in the process list.\n";
    err.flush();
    return 2;
}

/// Whether the command is print, which paints and so needs Qt Gui: the
/// first argument that is not a --locale option and its name.
bool printing(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--locale") == 0)
            ++i;
        else
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
    // The arguments as bytes: a name must reach the file system as given.
    QString error;
    std::optional<QStringList> decoded = CommandLineBytes::decode(argc, argv, &error);
    if (!decoded) {
        QTextStream(stderr) << "quillgrid-cli: " << error << Qt::endl;
        return 2;
    }
    QStringList arguments = std::move(*decoded);
    if (arguments.isEmpty())
        return usage();
    if (!LocaleOption::take(arguments, &error)) {
        QTextStream(stderr) << error << Qt::endl;
        return usage();
    }
    if (arguments.isEmpty())
        return usage();
    const QString command = arguments.takeFirst();
    if (command == QLatin1String("dump"))
        return DumpCommand::run(arguments);
    if (command == QLatin1String("load"))
        return LoadCommand::run(arguments);
    if (command == QLatin1String("copy"))
        return CopyCommand::run(arguments);
    if (command == QLatin1String("new"))
        return NewCommand::run(arguments);
    if (command == QLatin1String("find"))
        return FindCommand::run(arguments);
    if (command == QLatin1String("replace"))
        return ReplaceCommand::run(arguments);
    if (command == QLatin1String("users"))
        return UsersCommand::run(arguments);
    if (command == QLatin1String("install"))
        return InstallCommand::run(arguments);
    if (command == QLatin1String("import"))
        return TextCommand::runImport(arguments);
    if (command == QLatin1String("append"))
        return TextCommand::runAppend(arguments);
    if (command == QLatin1String("export"))
        return TextCommand::runExport(arguments);
    if (command == QLatin1String(PrintCommand::Name))
        return PrintCommand::run(arguments);
    return usage();
}
