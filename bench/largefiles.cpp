#include "largefiles.h"

#include "pdbbuilder.h"

#include <QFile>

QByteArray LargeFiles::realisticText(QRandomGenerator &rng, int field)
{
    static const char *const kWords[] = {"apple",  "garden", "invoice", "Smith",   "Berlin",
                                         "paid",   "open",   "pending", "Müller",  "blue",
                                         "London", "order",  "spare",   "rosemary"};
    switch (field % 6) {
    case 0:
        return QByteArray(kWords[rng.bounded(14)]) + ' ' + kWords[rng.bounded(14)];
    case 1:
        return QByteArray::number(rng.bounded(100000));
    case 2:
        return QByteArray::number(rng.bounded(100000) / 100.0, 'f', 2);
    case 3:
        return QByteArray::number(rng.bounded(1, 29)) + '/' +
               QByteArray::number(rng.bounded(1, 13)) + "/20" +
               QByteArray::number(rng.bounded(10, 30));
    case 4:
        return rng.bounded(4) == 0 ? QByteArray() : QByteArray(rng.bounded(2) ? "1" : "0");
    default:
        if (rng.bounded(10) == 0)
            return "Call back on Monday\nabout the second delivery\nand the spare parts";
        return QByteArray(kWords[rng.bounded(14)]);
    }
}

LargeFiles::LargeFiles()
{
    PdbBuilder b = PdbBuilder::withFields(Fields);
    QRandomGenerator rng(20261208);
    b.records.reserve(Records);
    for (int r = 0; r < Records; ++r) {
        std::vector<QByteArray> texts;
        texts.reserve(Fields);
        for (int k = 0; k < Fields; ++k)
            texts.push_back(realisticText(rng, k));
        b.records.push_back(std::move(texts));
    }
    plainPath = mDir.filePath(QStringLiteral("plain.pdb"));
    write(plainPath, b.build());
    b.flags = 0x0002;
    b.password = password().toLatin1();
    encryptedPath = mDir.filePath(QStringLiteral("encrypted.pdb"));
    write(encryptedPath, b.build());
}

LargeFiles &LargeFiles::instance()
{
    static LargeFiles files;
    return files;
}

void LargeFiles::write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}
