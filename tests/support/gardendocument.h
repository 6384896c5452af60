#pragma once

#include "core/crypto/cipherstate.h"
#include "core/document/document.h"
#include "core/format/databasewriter.h"
#include "fixedclock.h"
#include "fixedlocale.h"
#include "numbers/numberseparators.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "values/calc/calculatedfields.h"

#include <gtest/gtest.h>

/// A document holding a small garden database, with the services that work
/// on it and the bytes the writer makes of it.
inline const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 30, 15), Qt::UTC);

inline qint32 calcWord(int op, int first, int second, bool secondPrevious = false)
{
    return qint32((quint32(first) << 24) | (quint32(second | (secondPrevious ? 0x80 : 0)) << 16) |
                  quint32(op));
}

/// Four records of Name (String), Count and Cost (Float), Total = Count x
/// Cost, Done (Boolean), Kind (popup), Changed (modification date).
inline QByteArray gardenFile()
{
    using namespace FieldType;
    PdbBuilder b;
    const auto field = [](const char *name, int type, qint32 s1 = 0, qint32 s2 = 0) {
        PdbBuilder::Field f;
        f.name = name;
        f.typeCode = FieldType::code(type);
        f.setting1 = s1;
        f.setting2 = s2;
        return f;
    };
    b.fields = {field("Name", String),
                field("Count", Float),
                field("Cost", Float),
                field("Total", CalcFieldOpField, calcWord(3, 1, 2), 2),
                field("Done", Boolean),
                field("Kind", NormalPopup),
                field("Changed", ModificationDate)};
    b.records = {{"Rose", "3", "4.00", "12.00", "1", "Shrub", ""},
                 {"Tulip", "10", "0.50", "5.00", "0", "Bulb", ""},
                 {"Fern", "", "2.25", "???", "0", "", ""},
                 {"Oak", "1", "90", "90.00", "1", "Tree", ""}};
    return b.build();
}

struct GardenDocument
{
    GardenDocument()
    {
        saved = NumberSeparators::current();
        NumberSeparators::setCurrent(NumberSeparators::us());
        Database db;
        EXPECT_TRUE(readFile(gardenFile(), db).ok);
        doc.replace(std::move(db));
    }
    ~GardenDocument() { NumberSeparators::setCurrent(saved); }

    QByteArray bytes()
    {
        const WriteResult r = DatabaseWriter(messages, cipher).build(doc.database(), kNow);
        EXPECT_TRUE(r.ok);
        return r.bytes;
    }
    QString cell(int c, int r) const { return doc.database().grid().cell(c, r); }

    NumberSeparators saved;
    Document doc;
    ScriptedMessages messages;
    ScriptedShell shell;
    CipherState cipher;
    FixedLocale locale{QStringLiteral("d.M.yyyy")};
    FixedClock clock{kNow};
    CalculatedFields calc{doc.database(), locale, clock, shell};
};
