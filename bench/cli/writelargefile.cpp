// Writes the largest database the benchmarks use (bench/largefiles.*) to
// the files named: the plain one to the first, the enciphered one (password
// "bench-password") to the second when given. For the benchmarks that run
// the programs as processes (bench/cli/side-by-side.sh).

#include "largefiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList targets = app.arguments().mid(1);
    if (targets.isEmpty() || targets.size() > 2) {
        QTextStream(stderr) << "usage: qg_large_file PLAIN.pdb [ENCIPHERED.pdb]\n";
        return 2;
    }
    const LargeFiles &files = LargeFiles::instance();
    const QString sources[] = {files.plainPath, files.encryptedPath};
    for (qsizetype i = 0; i < targets.size(); ++i) {
        QFile::remove(targets[i]);
        if (!QFile::copy(sources[i], targets[i])) {
            QTextStream(stderr) << targets[i] << ": cannot be written\n";
            return 1;
        }
    }
    return 0;
}
