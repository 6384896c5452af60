// Writes the example database that the editor opens on first try: a small
// garden register with one field of most types, a popup list, a default, a
// calculated cost, a saved sort and a saved filter.

#include "numbers/numberformat.h"
#include "numbers/numberseparators.h"
#include "pdbbuilder.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

struct Plant
{
    const char *name;
    const char *kind;
    const char *month;
    bool perennial;
    int count;
    double price;
    const char *notes;
};

const Plant kPlants[] = {
    {"Basil", "Herb", "May", false, 6, 1.20, "Sunny sill, pinch the tops"},
    {"Rosemary", "Herb", "April", true, 2, 3.50, "Well-drained soil"},
    {"Thyme", "Herb", "April", true, 4, 2.10, ""},
    {"Mint", "Herb", "March", true, 1, 2.00, "Keep in a pot\nspreads everywhere"},
    {"Chives", "Herb", "March", true, 3, 1.80, ""},
    {"Tomato 'Gardener's Delight'", "Vegetable", "February", false, 12, 0.35,
     "Sow indoors, plant out after the frosts"},
    {"Courgette", "Vegetable", "May", false, 3, 0.90, "Two plants are plenty"},
    {"Runner bean", "Vegetable", "May", false, 20, 0.15, "Canes along the fence"},
    {"Carrot 'Nantes'", "Vegetable", "April", false, 200, 0.01, "Thin to 5 cm"},
    {"Leek", "Vegetable", "March", false, 30, 0.05, ""},
    {"Potato 'Charlotte'", "Vegetable", "April", false, 25, 0.28, "Earth up in June"},
    {"Sweet pea", "Flower", "October", false, 24, 0.12, "Pick often for more flowers"},
    {"Sunflower", "Flower", "April", false, 8, 0.40, "Stake the tall ones"},
    {"Dahlia 'Bishop of Llandaff'", "Flower", "May", true, 3, 4.95, "Lift tubers in autumn"},
    {"Lavender", "Shrub", "May", true, 5, 3.99, "Trim after flowering"},
    {"Rose 'Gertrude Jekyll'", "Shrub", "November", true, 1, 18.50, "Bare root, south wall"},
    {"Blackcurrant", "Shrub", "November", true, 2, 7.25, ""},
    {"Apple 'Discovery'", "Tree", "December", true, 1, 24.00, "Needs a pollinator nearby"},
    {"Crème brûlée nasturtium", "Flower", "May", false, 10, 0.20, "Edible flowers"},
    {"Garlic", "Vegetable", "October", false, 40, 0.10, "Plant cloves pointed end up"},
};

QByteArray text(const char *utf8)
{
    // The file keeps the handheld's 8-bit code page.
    return QString::fromUtf8(utf8).toLatin1();
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeexample OUT.pdb\n");
        return 2;
    }
    NumberSeparators::setCurrent(NumberSeparators::us());

    PdbBuilder b;
    b.name = "Garden";
    b.flags = 0x0001;
    b.modificationDate = 1796083200; // 2026-12-01
    b.creationDate = b.modificationDate;
    // Cost = Count x Price, two decimals: fields 5 and 6 (positions 4 and 5).
    const qint32 costWord = (4 << 24) | (5 << 16) | 3;
    b.fields = {
        {"Plant", 0x01, 0, 70, 0, 0},          {"Kind", 0x40, 0, 50, 0, 0},
        {"Month", 0x40, 0, 55, 0, 0},          {"Perennial", 0x02, 0, 40, 0, 0},
        {"Count", 0x08, 0, 25, 0, 0},          {"Price", 0x10, 0, 30, 0, 0},
        {"Cost", 0x46, 0x80, 30, costWord, 2}, {"Notes", 0x01, 0, 90, 0, 0},
    };
    b.sortKeys[0] = 2;
    b.sortKeys[1] = 1;

    QByteArray area;
    auto add = [&](const QByteArray &s) {
        area.append(s);
        area.append('\0');
    };
    add(PdbBuilder::key("popup", 2));
    for (const char *kind : {"Herb", "Vegetable", "Flower", "Shrub", "Tree"})
        add(kind);
    add(PdbBuilder::key("popup", 3));
    for (const char *month : {"January", "February", "March", "April", "May", "June", "July",
                              "August", "September", "October", "November", "December"})
        add(month);
    add(PdbBuilder::key("deflt", 2));
    add("Herb");
    add(PdbBuilder::key("soort", 1));
    for (const char *s : {"By kind", "2", "1", "0"})
        add(s);
    add(PdbBuilder::key("flllt", 1));
    for (const char *s :
         {"Herbs only", "Herb", "-*-", "-*-", "-*-", "-*-", "31", "1", "-1", "-1", "-1", "-1"})
        add(s);
    area.append(QByteArray(3, '\0'));
    b.extension = area;

    for (const Plant &p : kPlants) {
        const QString cost = FormatNumber(2, p.count * p.price);
        b.records.push_back({text(p.name), text(p.kind), text(p.month), p.perennial ? "1" : "0",
                             QByteArray::number(p.count), FormatNumber(0, p.price).toLatin1(),
                             cost.toLatin1(), text(p.notes)});
    }

    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(b.build()) < 0 || !out.flush()) {
        std::fprintf(stderr, "makeexample: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
