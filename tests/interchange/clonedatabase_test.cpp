#include "core/document/database.h"
#include "interchange/newdatabase/clonedatabase.h"

#include <gtest/gtest.h>

TEST(CloneDatabase, keepsEverythingButNameDateFileAndRecords)
{
    Database db;
    db.setName(QStringLiteral("Addresses: my many friends")); // 26 characters
    db.setPassword(QStringLiteral("secret"));
    db.setFlags(0x0813);
    db.setChanged(true);
    db.grid().resize(3, 4);
    db.grid().setCell(1, 0, QStringLiteral("Name"));
    db.grid().setCell(2, 0, QStringLiteral("Town"));
    for (int r = 1; r <= 3; ++r)
        db.grid().setCell(1, r, QStringLiteral("record %1").arg(r));
    db.grid().setRowHeight(1, 0); // hidden by a filter
    db.grid().setColumnWidth(2, 77);
    db.field(2).type = FieldType::NormalPopup;
    db.field(2).popupItems = {QStringLiteral("Oslo")};
    const QDateTime now(QDate(2026, 12, 8), QTime(9, 30), Qt::UTC);

    const Database clone = CloneDatabase(db, now, QStringLiteral("/home/me"));
    const auto summary = [](const Database &d) {
        return QStringList{d.name(),
                           d.filePath(),
                           d.date().toString(Qt::ISODate),
                           d.password(),
                           QString::number(d.flags(), 16),
                           QString::number(d.isChanged()),
                           QString::number(d.recordCount()),
                           d.grid().cell(1, 0) + d.grid().cell(2, 0),
                           d.grid().cell(1, 1) + d.grid().cell(2, 1),
                           QString::number(d.grid().rowHeight(1)),
                           QString::number(d.grid().columnWidth(2)),
                           d.field(2).popupItems.join(QLatin1Char('|'))};
    };
    EXPECT_EQ(summary(clone),
              (QStringList{"Addresses: my many frie Clone",
                           "/home/me/Addresses_ my many frie Clone.pdb", "2026-12-08T09:30:00Z",
                           "secret", "813", "0", "1", "NameTown", "", "22", "77", "Oslo"}));
    EXPECT_EQ(db.recordCount(), 3); // the original stays
}
