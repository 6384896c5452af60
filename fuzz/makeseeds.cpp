// Writes a small seed corpus for the reader fuzzer, made with the tests'
// byte-layout builder.

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

    const bool ok =
        write(dir, "plain.pdb", plain.build()) && write(dir, "empty.pdb", empty.build()) &&
        write(dir, "secret.pdb", secret.build()) && write(dir, "wide.pdb", wide.build()) &&
        write(dir, "unknown.pdb", unknown.build());
    return ok ? 0 : 1;
}
