// Writes the seed corpus for the reader fuzzer, made with the tests'
// byte-layout builder: a few small files that touch every part of the
// format, and the large ones that only the build makes (fuzz/corpus/ keeps
// small files only): full cells, records near the most one record may span,
// an extension area at its bound, 65,535 records, and record lists whose
// entries share one large record.

#include "pdbbuilder.h"

#include <QDir>
#include <QFile>

#include <cstdio>

namespace {

bool write(const QDir &dir, const char *name, const QByteArray &bytes)
{
    QFile f(dir.filePath(QString::fromLatin1(name)));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

/// Fifty cells of 4,000 characters, some with line breaks: 200,150 bytes.
std::vector<QByteArray> fullRecord(char fill)
{
    std::vector<QByteArray> texts;
    for (int k = 0; k < 50; ++k) {
        QByteArray text(4000, char(fill + k % 20));
        if (k % 7 == 0)
            for (int i = 79; i < text.size(); i += 80)
                text[i] = '\n';
        texts.push_back(text);
    }
    return texts;
}

/// Records of 4,000-character cells: one near the most a record may span,
/// one just over the handheld's 10,000 bytes, one short.
PdbBuilder fullCells()
{
    PdbBuilder b = PdbBuilder::withFields(50);
    b.fields[1].typeCode = 0x02;
    b.fields[2].typeCode = 0x10;
    b.records.push_back(fullRecord('a'));
    std::vector<QByteArray> over(50, QByteArray());
    over[0] = QByteArray(4000, 'p');
    over[3] = QByteArray(4000, 'q');
    over[4] = QByteArray(2000, 'r');
    b.records.push_back(over);
    b.records.push_back(std::vector<QByteArray>(50, "s"));
    return b;
}

/// A first text longer than a record may span: the record is cut.
PdbBuilder overlongRecord()
{
    PdbBuilder b = PdbBuilder::withFields(2);
    b.records = {{QByteArray(250000, 'h'), "tail"}, {"next", "n"}};
    return b;
}

/// An extension area of popup items that ends just below @p bound bytes,
/// or without its ending empty string runs past it.
PdbBuilder largeArea(int bound, bool ended)
{
    PdbBuilder b = PdbBuilder::withFields(5);
    b.fields[0].typeCode = 0x40;
    b.fields[1].typeCode = 0x51;
    b.records = {{"a", "b", "c", "d", "e"}};
    QByteArray area = PdbBuilder::strings({PdbBuilder::key("deflt", 1), "item 1"});
    int k = 1;
    for (int i = 0; area.size() < bound - 64; ++i) {
        if (i % 100 == 0) {
            area += PdbBuilder::key("popup", k % 5 + 1) + '\0';
            ++k;
        }
        area += "item " + QByteArray::number(i) + '\0';
    }
    if (ended)
        area += PdbBuilder::strings({PdbBuilder::key("pooos", 1), "1", "0", "0", "2", ""});
    else
        while (area.size() <= bound + 16)
            area += PdbBuilder::strings({"more"});
    b.extension = area;
    return b;
}

/// 65,535 records of one field, each its own.
PdbBuilder manyRecords()
{
    PdbBuilder b = PdbBuilder::withFields(1);
    b.fields[0].typeCode = 0x08;
    for (int i = 0; i < 65535; ++i)
        b.records.push_back({i % 10 ? QByteArray("x") : QByteArray::number(i)});
    return b;
}

/// @p entries record-list entries that all point at one record of @p texts.
PdbBuilder sharedRecord(int entries, const std::vector<QByteArray> &texts)
{
    PdbBuilder b = PdbBuilder::withFields(50);
    b.records = {texts};
    b.rawRecords.assign(size_t(entries - 1), QByteArray());
    b.offsetOverrides.assign(size_t(entries), quint32(78 + 8 * entries + 2 + 1702 + 3));
    return b;
}

PdbBuilder enciphered(PdbBuilder b)
{
    b.flags = 0x0002;
    b.password = "fuzzing";
    return b;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeseeds DIR\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    dir.mkpath(QStringLiteral("."));

    PdbBuilder plain = PdbBuilder::withFields(3);
    plain.fields[1].typeCode = 0x02;
    plain.fields[2] = {"Sum", 0x46, 0x80, -30, 0x00010001, 2};
    plain.records = {{"a\nb", "1", "3"}, {"", "0", ""}};
    plain.extension = PdbBuilder::strings({PdbBuilder::key("popup", 1),
                                           "x",
                                           "y",
                                           PdbBuilder::key("deflt", 1),
                                           "x",
                                           PdbBuilder::key("soort", 1),
                                           "S",
                                           "1",
                                           "-2",
                                           "0",
                                           PdbBuilder::key("flllt", 2),
                                           "F",
                                           "t",
                                           "-*-",
                                           "-*-",
                                           "-*-",
                                           "-*-",
                                           "1055",
                                           "0",
                                           "-1",
                                           "-1",
                                           "-1",
                                           "-1",
                                           PdbBuilder::key("calv1", 3),
                                           "2.5",
                                           PdbBuilder::key("pooos", 1),
                                           "1",
                                           "1",
                                           "0",
                                           "2",
                                           "",
                                           ""});

    PdbBuilder empty = PdbBuilder::withFields(1);

    PdbBuilder secret = plain;
    secret.flags = 0x0002;
    secret.password = "fuzzing";

    PdbBuilder wide = PdbBuilder::withFields(50);
    wide.records = {std::vector<QByteArray>(50, "cell"), std::vector<QByteArray>(50, "")};

    PdbBuilder unknown = plain;
    unknown.fields[0].typeCode = 0x7F;

    const int areaBound = 1048576; // the reader's MaxAreaSize
    const bool ok =
        write(dir, "plain.pdb", plain.build()) && write(dir, "empty.pdb", empty.build()) &&
        write(dir, "secret.pdb", secret.build()) && write(dir, "wide.pdb", wide.build()) &&
        write(dir, "unknown.pdb", unknown.build()) &&
        write(dir, "large-cells.pdb", fullCells().build()) &&
        write(dir, "large-cells-secret.pdb", enciphered(fullCells()).build()) &&
        write(dir, "large-span.pdb", overlongRecord().build()) &&
        write(dir, "large-area.pdb", largeArea(areaBound, true).build()) &&
        write(dir, "large-area-unended.pdb", largeArea(areaBound, false).build()) &&
        write(dir, "large-area-secret.pdb",
              enciphered(largeArea(areaBound - 1702, true)).build()) &&
        write(dir, "large-many.pdb", manyRecords().build()) &&
        // The most entries that one full record, or one of 50 one-character
        // texts, may have within the reader's bound, and far more.
        write(dir, "large-shared-170.pdb", sharedRecord(170, fullRecord('A')).build()) &&
        write(dir, "large-shared-small-39000.pdb",
              sharedRecord(39000, std::vector<QByteArray>(50, "x")).build()) &&
        write(dir, "large-shared-2000.pdb", sharedRecord(2000, fullRecord('A')).build()) &&
        write(dir, "large-shared-65535.pdb", sharedRecord(65535, fullRecord('A')).build());
    return ok ? 0 : 1;
}
