#include "cli/copycommand.h"
#include "cli/dumpcommand.h"
#include "cli/newcommand.h"
#include "cli/textcommand.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

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
           "  copy IN OUT [--password PW | --password-file PWFILE]\n"
           "              [--encrypt NEWPW | --encrypt-file NEWPWFILE | --decrypt]\n"
           "      write the database to OUT, with a new password or none\n"
           "  new OUT --name NAME [--fields 5] [--records 10] [--type String] [--width 60]\n"
           "      create a database as the new-database dialog does\n"
           "  import IN OUT.pdb [--separator comma|semicolon|tab] [--encoding auto|cp1252|utf-8]\n"
           "         [--strict]\n"
           "      make a database of a delimited text file (first line: the field names)\n"
           "  append DB IN OUT.pdb [--separator ...] [--encoding ...] [--strict]\n"
           "         [--password PW | --password-file PWFILE]\n"
           "      add the lines of a delimited text file to DB's records, written to OUT.pdb\n"
           "  export DB OUT [--separator ...] [--encoding ...] [--filter simple|advanced]\n"
           "         [--begins] [--exclude] [--password PW | --password-file PWFILE]\n"
           "      write the field names and the records (those the filter shows) as text\n"
           "\n"
           "Text is read as UTF-8 when it looks like it, else as Windows-1252 (--encoding\n"
           "auto); it is written as Windows-1252 unless --encoding utf-8. Questions about\n"
           "the file are printed and answered OK; --strict answers Cancel and exits 1.\n"
           "\n"
           "A password file gives its first line. Without a password, an enciphered file's\n"
           "is asked for when standard input is a terminal. A password given as PW can be\n"
           "seen by other users in the process list.\n";
    err.flush();
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    if (arguments.isEmpty())
        return usage();
    const QString command = arguments.takeFirst();
    if (command == QLatin1String("dump"))
        return DumpCommand::run(arguments);
    if (command == QLatin1String("copy"))
        return CopyCommand::run(arguments);
    if (command == QLatin1String("new"))
        return NewCommand::run(arguments);
    if (command == QLatin1String("import"))
        return TextCommand::runImport(arguments);
    if (command == QLatin1String("append"))
        return TextCommand::runAppend(arguments);
    if (command == QLatin1String("export"))
        return TextCommand::runExport(arguments);
    return usage();
}
