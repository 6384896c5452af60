#include "cli/dumpcommand.h"

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
           "  dump FILE [--password PW]   print the database as one JSON object\n";
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
    return usage();
}
