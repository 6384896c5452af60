#pragma once

#include "pdbbuilder.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

/// What a run of the command-line tool gave.
struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

inline CliRun runCli(const QStringList &arguments, const QString &workingDirectory = QString())
{
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.start(QStringLiteral(QG_CLI_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(),
            QString::fromUtf8(process.readAllStandardError())};
}

class Cli : public ::testing::Test
{
protected:
    QString write(const char *name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    QTemporaryDir dir;
};

inline PdbBuilder sample()
{
    PdbBuilder b = PdbBuilder::withFields(3);
    b.name = "Sample";
    b.flags = 0x0089;
    b.modificationDate = -5;
    b.fields[0] = {"Name", 0x01, 0x80, -40, 1, 0};
    b.fields[1] = {"Done", 0x02, 0, 20, 0, 0};
    b.fields[2] = {"Cost", 0x47, 0, 30, (1 << 16) | 3, 2};
    b.dataWidth = 120;
    b.sortKeys[0] = -2;
    b.findField = 1;
    b.findText = "fi";
    b.filterField = 3;
    b.filterText = "fl";
    b.firstUnlockedField = 1;
    b.extension = PdbBuilder::strings({PdbBuilder::key("popup", 1),
                                       "p1",
                                       "p2",
                                       PdbBuilder::key("deflt", 1),
                                       "dflt",
                                       PdbBuilder::key("calv1", 3),
                                       "2.5",
                                       PdbBuilder::key("soort", 2),
                                       "S2",
                                       "1",
                                       "-3",
                                       "0",
                                       PdbBuilder::key("flllt", 1),
                                       "F1",
                                       "a",
                                       "-*-",
                                       "-*-",
                                       "-*-",
                                       "e",
                                       "1025",
                                       "0",
                                       "-1",
                                       "-1",
                                       "-1",
                                       "2",
                                       PdbBuilder::key("pooos", 1),
                                       "1",
                                       "2",
                                       "3",
                                       "4",
                                       ""});
    b.records = {{"caf\xe9\nbar", "1", "5"}, {"", "0", ""}};
    return b;
}
