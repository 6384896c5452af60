// The JSON image against the file itself: every database the tests, the
// fuzz corpus and its seeds and the example make is dumped and the dump
// loaded; what load writes must be what copy writes of the file, byte for
// byte but the two dates a save stamps.

#include "clirun.h"

#include <QDirIterator>
#include <QtEndian>

#include <iostream>

namespace {

constexpr char Password[] = "fuzzing"; // of the enciphered seeds and corpus files

/// Databases laid out byte by byte: what the other tests build, and every
/// part of the format at the edges of what the reader takes.
std::vector<std::pair<const char *, PdbBuilder>> builtDatabases()
{
    std::vector<std::pair<const char *, PdbBuilder>> all;
    all.emplace_back("sample", sample());

    PdbBuilder secret = sample();
    secret.flags = 0x0002;
    secret.password = Password;
    all.emplace_back("sample enciphered", secret);

    // Bytes nothing interprets: the rest of each name slot, the slots past
    // the last field (names, type words, widths, settings), the reserved word.
    PdbBuilder spare = sample();
    spare.reserved = 0xBEEF;
    spare.patchFixedPart = [](QByteArray &lo) {
        for (int i = 0; i < 1050; ++i) {
            if (i % 21 > 6)
                lo[i] = char(i % 251 + 1);
        }
        for (int k = 3; k < 50; ++k) {
            qToBigEndian<quint16>(quint16(0x8000 | k), lo.data() + 1050 + 2 * k);
            qToBigEndian<quint16>(quint16(0xFF00 | k), lo.data() + 1154 + 2 * k);
            qToBigEndian<quint32>(quint32(k * 77777), lo.data() + 1302 + 4 * k);
        }
        lo[1254] = char(0x7F); // the high byte of the data width
    };
    all.emplace_back("spare bytes everywhere", spare);

    PdbBuilder edges = PdbBuilder::withFields(4);
    edges.name = QByteArray(32, 'N'); // no zero byte in the header's field
    edges.flags = 0xFFFD;             // every bit but "Encrypted"
    edges.dataWidth = 0xAAFF;
    edges.sortKeys[0] = -128;
    edges.sortKeys[1] = 127;
    edges.sortKeys[2] = 0x1234;
    edges.findField = -1;
    edges.filterField = 0x7F80;
    edges.firstUnlockedField = 127;
    edges.fields[0] = {QByteArray(21, 'a'), 0x51, 0xFF, -128, -1, 0x7FFFFFFF};
    edges.fields[1] = {"", 0x02, 0x01, 127, 0, 0};
    edges.fields[2] = {"Calc", 0x48, 0, 0, 0x01000003, -1};
    edges.fields[3] = {"\x81\x8d\x8f\x90\x9d\x80\xff", 0x43, 0, -1, 100, 5};
    edges.patchFixedPart = [](QByteArray &lo) {
        lo.replace(1266, 16, QByteArray(16, 'f')); // find and filter texts without zero bytes
        lo.replace(1282, 16, QByteArray(16, 'g'));
    };
    edges.extension = PdbBuilder::strings({"before any key",
                                           PdbBuilder::key("popup", 1),
                                           "a",
                                           QByteArray(300, 'p'),
                                           PdbBuilder::key("popup", 9),
                                           "a field past the last",
                                           PdbBuilder::key("deflt", 1),
                                           QByteArray(500, 'd'),
                                           PdbBuilder::key("calv2", 3),
                                           "1e-310",
                                           PdbBuilder::key("calv1", 3),
                                           "123456789.123456789",
                                           PdbBuilder::key("calv1", 4),
                                           "-0,5",
                                           PdbBuilder::key("soort", 1),
                                           "Unused",
                                           "1",
                                           "2",
                                           "3",
                                           PdbBuilder::key("soort", 25),
                                           "Last",
                                           "300",
                                           "-129",
                                           "x",
                                           PdbBuilder::key("flllt", 25),
                                           "F",
                                           "a",
                                           "b",
                                           "c",
                                           "d",
                                           "e",
                                           "65535",
                                           "127",
                                           "-128",
                                           "0",
                                           "1",
                                           "2",
                                           PdbBuilder::key("pooos", 1),
                                           "-5",
                                           "2147483647",
                                           "-2147483648",
                                           "7"});
    edges.extension.append(QByteArray(3, '\0'));
    QByteArray controls;
    for (char c = 1; c < 32; ++c)
        controls += c;
    edges.records = {{"a\r\nb", "\r", controls, "\n\n\r\r\n"},
                     {QByteArray(4005, 'x'), QByteArray(4000, 'y'), QByteArray(3000, 'z'), "w"},
                     {"\x80\x81\xa0\xff", "1", "", "9"}};
    all.emplace_back("values at their edges", edges);

    PdbBuilder many = PdbBuilder::withFields(1);
    many.fields[0].typeCode = 0x40;
    QList<QByteArray> items;
    for (int i = 0; i < 150; ++i)
        items << "popup item longer than twenty-five characters " + QByteArray::number(i);
    many.extension = PdbBuilder::key("popup", 1) + '\0' + items.join('\0') + QByteArray(3, '\0');
    many.recordCountOverride = 0;
    all.emplace_back("a popup over the dialog's limits, no records", many);

    PdbBuilder lists = PdbBuilder::withFields(2);
    lists.records = {{"a", "b"}};
    lists.rawRecords = {QByteArray("\0\x05", 2), "no zero bytes at all",
                        QByteArray("\0\x02\0\x01x\0", 6), "past the end"};
    lists.offsetOverrides = {std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0xFFFFFF};
    all.emplace_back("short records, one past the end", lists);

    PdbBuilder shared = PdbBuilder::withFields(3);
    shared.records = {{"one", "two", "three"}};
    shared.rawRecords.assign(4, QByteArray());
    shared.offsetOverrides.assign(5, quint32(78 + 8 * 5 + 2 + 1702 + 3));
    all.emplace_back("entries sharing one record", shared);

    PdbBuilder palm = sample();
    palm.flags = 0x0004;
    palm.extension = QByteArray(3, '\0');
    all.emplace_back("handheld password, no extension", palm);
    return all;
}

/// The file with its creation and modification dates (bytes 36 to 43) cleared.
QByteArray undated(QByteArray bytes)
{
    if (bytes.size() >= 44)
        bytes.replace(36, 8, QByteArray(8, '\0'));
    return bytes;
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

TEST_F(Cli, everyDatabaseReadComesBackFromItsDumpAsCopyWritesIt)
{
    QStringList sources;
    for (const auto &[name, builder] : builtDatabases())
        sources << write(name, builder.build());
    const QString seeds = dir.filePath(QStringLiteral("seeds"));
    ASSERT_EQ(QProcess::execute(QStringLiteral(QG_MAKESEEDS_PATH), {seeds}), 0);
    for (const QString &folder : {QStringLiteral(QG_CORPUS_DIR), seeds}) {
        QDirIterator it(folder, QDir::Files);
        while (it.hasNext())
            sources << it.next();
    }
    sources << QStringLiteral(QG_EXAMPLE_DATABASE);

    const QString json = dir.filePath(QStringLiteral("dump.json"));
    const QString copied = dir.filePath(QStringLiteral("copy.pdb"));
    const QString loaded = dir.filePath(QStringLiteral("load.pdb"));
    const QStringList password{QStringLiteral("--password"), QString::fromLatin1(Password)};
    int read = 0;
    QStringList differing;
    for (const QString &source : sources) {
        const CliRun dump = runCli(QStringList{QStringLiteral("dump"), source} + password);
        if (dump.exitCode != 0)
            continue; // not a database the reader takes
        ++read;
        QFile out(json);
        out.open(QIODevice::WriteOnly);
        out.write(dump.out);
        out.close();
        QFile::remove(copied);
        QFile::remove(loaded);
        const bool enciphered = contents(source).at(35) & 0x02;
        runCli(QStringList{QStringLiteral("copy"), source, copied} + password);
        const CliRun load = runCli(QStringList{QStringLiteral("load"), json, loaded} +
                                   (enciphered ? password : QStringList()));
        const QByteArray expected = undated(contents(copied));
        if (expected.isEmpty() || undated(contents(loaded)) != expected)
            differing << QFileInfo(source).fileName() + QStringLiteral(": ") + load.err;
    }
    std::cout << "JSON round trip: " << read - differing.size() << " of " << read
              << " databases read came back byte for byte (" << sources.size() << " files tried)"
              << std::endl;
    EXPECT_EQ(differing, QStringList());
    EXPECT_GT(read, 40);
}
