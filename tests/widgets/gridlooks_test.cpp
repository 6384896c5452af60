#include "core/document/database.h"
#include "core/document/document.h"
#include "core/document/fieldtype.h"
#include "core/document/limits.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "core/platform/userfeedback.h"
#include "documentaccess.h"
#include "fixedclock.h"
#include "gridviewfixture.h"
#include "scriptedmessages.h"
#include "values/calc/calculatedfields.h"
#include "widgets/grid/gridcelldelegate.h"
#include "widgets/grid/gridheaderview.h"
#include "widgets/grid/gridview.h"
#include "widgets/grid/recordgridmodel.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include <functional>

/// The grid's marks and sizes as the font and the edits change them.
class GridLooksTest : public QObject
{
    Q_OBJECT

    using Fixture = GridViewFixture;

private slots:
    void headerMarksFollowTheCurrentCellThroughEveryEdit()
    {
        Fixture f;
        f.v().setCurrentCell(1, 1);
        RecordGrid::Row row;
        row.cells = {QString(), QStringLiteral("new")};
        const auto change = [&f](EditStep::Step step) {
            f.doc.apply(Edit::change(QStringLiteral("edit"), std::move(step)));
        };
        struct Step
        {
            const char *name;
            std::function<void()> act;
        };
        const Step steps[] = {
            {"field 1 dragged to 3", [&] { f.v().horizontalHeader()->moveSection(0, 2); }},
            {"record 1 deleted",
             [&] {
                 change(EditStep::RemoveRecords{1, 1});
             }},
            {"a record inserted above",
             [&] {
                 change(EditStep::InsertRecords{1, {row}});
             }},
            {"its record moved",
             [&] {
                 change(EditStep::MoveRecord{2, 4});
             }},
            {"a field moved past it",
             [&] {
                 change(EditStep::MoveField{1, 3});
             }},
            {"undone", [&] { f.doc.undo(); }},
            {"undone again", [&] { f.doc.undo(); }},
            {"redone", [&] { f.doc.redo(); }},
        };
        // The faces painted in the current cell's colour, against the
        // current cell.
        const auto marked = [](QHeaderView *header) {
            const QImage image = header->viewport()->grab().toImage();
            QStringList sections;
            for (int s = 0; s < header->count(); ++s) {
                const int along = header->sectionViewportPosition(s) + header->sectionSize(s) - 2;
                const QPoint face = header->orientation() == Qt::Horizontal
                                        ? QPoint(along, header->height() / 2)
                                        : QPoint(header->width() - 2, along);
                if (image.pixelColor(face) == GridHeaderView::currentColor())
                    sections << QString::number(s + 1);
            }
            return sections.join(QLatin1Char(','));
        };
        QStringList seen, current;
        for (const Step &step : steps) {
            step.act();
            seen << QStringLiteral("%1: C%2 R%3")
                        .arg(QLatin1String(step.name), marked(f.v().horizontalHeader()),
                             marked(f.v().verticalHeader()));
            current << QStringLiteral("%1: C%2 R%3")
                           .arg(QLatin1String(step.name))
                           .arg(f.v().currentGridColumn())
                           .arg(f.v().currentGridRow());
        }
        QCOMPARE(seen, current);
    }

    void recordNumbersAndRowsFitTheFont()
    {
        // At each size the largest record number fits its column with the
        // margin "0000" has at the size, and a row's text keeps the room
        // above and below it that it has at 8 points.
        Fixture f;
        const auto fit = [&f](int points, int records) {
            Database db;
            db.grid().resize(2, records + 1);
            db.grid().showAllRows();
            f.doc.replace(std::move(db));
            QFont font = f.v().font();
            font.setPointSize(points);
            f.v().setFont(font);
            const QFontMetrics metrics(font);
            f.v().setRecordNumberWidth(metrics.horizontalAdvance(QStringLiteral("0000")) + 11);
            const int numbers = f.v().verticalHeader()->width();
            const int text = metrics.horizontalAdvance(RecordGrid::recordNumberText(records));
            return QStringLiteral("%1 pt, %2 records: margin %3, room %4 and %5")
                .arg(points)
                .arg(records)
                .arg(numbers - text >= 11 ? QStringLiteral("kept") : QStringLiteral("lost"))
                .arg(f.v().verticalHeader()->sectionSize(0) - metrics.height())
                .arg(f.v().horizontalHeader()->height() - metrics.height());
        };
        const QString room = fit(8, 4).section(QStringLiteral(", room "), 1);
        QStringList seen, expected;
        for (int points : {8, 9, 10, 12}) {
            for (int records : {4, 10000, Limits::MaxRecords}) {
                seen << fit(points, records);
                expected << QStringLiteral("%1 pt, %2 records: margin kept, room %3")
                                .arg(points)
                                .arg(records)
                                .arg(room);
            }
        }
        QCOMPARE(seen, expected);
    }
};

QTEST_MAIN(GridLooksTest)
#include "gridlooks_test.moc"
