// The database reader alone, run as a process: reads the file named and
// ends, for the floor of the editor's start (bench/gui/startbench.cpp). It
// links the reader's library alone, as little as a program that reads the
// file must load.

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "core/platform/qt/localfilesystem.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QCoreApplication>
#include <QIODevice>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: qg_read_alone FILE\n", stderr);
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString path = QString::fromLocal8Bit(argv[1]);
    ScriptedMessages messages;
    ScriptedPasswords passwords;
    CipherState cipher;
    LocalFileSystem files;
    Database db;
    auto file = files.openForReading(path);
    if (!file || !DatabaseReader(messages, passwords, cipher).read(*file, path, db).ok) {
        std::fputs("the file did not read\n", stderr);
        return 1;
    }
    std::printf("%d records read\n", db.recordCount());
    std::fflush(stdout);
    // As the editor's start is timed: up to the work done, not the exit.
    std::_Exit(0);
}
