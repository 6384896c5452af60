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

/// A String, a Boolean, a Float and a Modification Date field over four
/// records, shown in a GridView.
class GridViewTest : public QObject
{
    Q_OBJECT

private:
    using Fixture = GridViewFixture;

private slots:
    void aCellMadeCurrentByTheProgramIsSelectedAloneWhateverKeysAreHeld()
    {
        // Ctrl+Z takes back a field's removal and brings back the cell it
        // was in while Ctrl is down: that cell alone is selected after it.
        Fixture f;
        f.v().setCurrentCell(1, 2);
        f.doc.apply(Edit::change(QStringLiteral("delete column"), EditStep::RemoveField{1, {}}));
        f.v().setCurrentCell(1, 2);
        QTest::keyPress(f.v().windowHandle(), Qt::Key_Control, Qt::ControlModifier);
        f.doc.undo();
        f.v().setCurrentCell(1, 2);
        QTest::keyRelease(f.v().windowHandle(), Qt::Key_Control, Qt::NoModifier);
        QCOMPARE(f.v().selectionModel()->selectedIndexes(), QModelIndexList{f.index(1, 2)});
    }

    void rowHeightsAndColumnWidthsFollowTheGrid()
    {
        Fixture f;
        RecordGrid &g = f.db.grid();
        QHeaderView *rows = f.v().verticalHeader();
        QHeaderView *columns = f.v().horizontalHeader();
        QCOMPARE(rows->sectionSize(0), RecordGrid::VisibleRowHeight);
        QCOMPARE(columns->sectionSize(2), 63);

        // A filter: the first hidden row of a run is a one-pixel line, the
        // others take no room.
        f.heights({{2, 0}, {3, -1}});
        QCOMPARE(rows->sectionSize(1), 1);
        QVERIFY(!rows->isSectionHidden(1));
        QVERIFY(rows->isSectionHidden(2));
        f.heights({{2, RecordGrid::VisibleRowHeight}, {3, RecordGrid::VisibleRowHeight}});
        QVERIFY(!rows->isSectionHidden(2));
        QCOMPARE(rows->sectionSize(2), RecordGrid::VisibleRowHeight);

        // Widths set by the program leave the changed flag alone.
        f.widths({{1, 120}});
        QCOMPARE(columns->sectionSize(0), 120);
        QVERIFY(!f.db.isChanged());

        // No column grows beyond the widest field width.
        f.doc.apply(Edit::view(EditStep::ViewOptions{1.5, false}));
        f.v().updateWidthLimit();
        const int limit = f.db.FieldWidthToPixels(Limits::MaxFieldWidth);
        QCOMPARE(limit, 450);
        f.widths({{3, 1000}});
        QCOMPARE(g.columnWidth(3), limit);
        QCOMPARE(columns->sectionSize(2), limit);
        f.doc.apply(Edit::view(EditStep::ViewOptions{1.0, false}));
        f.v().updateWidthLimit();
        QCOMPARE(g.columnWidth(3), 300);
        QVERIFY(!f.db.isChanged());

        // The user's resize goes into the grid and marks a change.
        columns->resizeSection(3, 90);
        QCOMPARE(g.columnWidth(4), 90);
        QVERIFY(f.db.isChanged());

        // One drag is one step to undo.
        columns->resizeSection(3, 100);
        f.doc.endMerge();
        f.doc.undo();
        QCOMPARE(columns->sectionSize(3), 64);

        // A new database brings its own sizes.
        Database other;
        other.grid().resize(5, 5);
        other.grid().showAllRows();
        other.grid().setColumnWidth(1, 33);
        other.grid().setRowHeight(4, -1);
        f.doc.replace(std::move(other));
        QCOMPARE(columns->sectionSize(0), 33);
        QVERIFY(rows->isSectionHidden(3));
        QCOMPARE(columns->sectionSize(3), RecordGrid::DefaultColumnWidth);
    }

    void draggingMovesFieldsAndRecordsInTheDocument()
    {
        Fixture f;
        RecordGrid &g = f.db.grid();
        f.v().setCurrentCell(1, 2);
        f.v().horizontalHeader()->moveSection(0, 2);
        QCOMPARE(g.cell(3, 0), QStringLiteral("F1"));
        QCOMPARE(g.cell(1, 0), QStringLiteral("F2"));
        QCOMPARE(int(f.db.field(3).type), int(FieldType::String));
        QCOMPARE(int(f.db.field(1).type), int(FieldType::Boolean));
        QCOMPARE(g.columnWidth(3), 61);
        QCOMPARE(f.v().horizontalHeader()->sectionSize(2), 61);
        QVERIFY(f.db.isChanged());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(f.v().horizontalHeader()->visualIndex(i), i);
        QCOMPARE(f.v().currentGridColumn(), 3);
        QCOMPARE(f.v().currentGridRow(), 2);

        f.db.setChanged(false);
        f.v().verticalHeader()->moveSection(3, 0);
        QCOMPARE(g.cell(3, 1), QStringLiteral("s4"));
        QCOMPARE(g.cell(3, 2), QStringLiteral("s1"));
        QCOMPARE(f.v().gridModel()->headerData(0, Qt::Vertical).toString(),
                 QStringLiteral("0001")); // numbered by the place
        QVERIFY(f.db.isChanged());
        for (int i = 0; i < 4; ++i)
            QCOMPARE(f.v().verticalHeader()->visualIndex(i), i);
        QCOMPARE(f.v().verticalHeader()->sectionSize(0), RecordGrid::VisibleRowHeight);

        f.v().setReadOnly(true);
        QVERIFY(!f.v().horizontalHeader()->sectionsMovable());
        QVERIFY(!f.v().verticalHeader()->sectionsMovable());
        QCOMPARE(f.v().horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        f.v().setReadOnly(false);
        QVERIFY(f.v().verticalHeader()->sectionsMovable());
        QCOMPARE(f.v().horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    }

    void editsAndCheckBoxesFollowTheRules()
    {
        Fixture f;
        RecordGridModel &m = *f.v().gridModel();
        RecordGrid &g = f.db.grid();
        QVERIFY(m.flags(f.index(1, 1)) & Qt::ItemIsEditable);
        QVERIFY(!(m.flags(f.index(2, 1)) & Qt::ItemIsEditable));
        QVERIFY(m.flags(f.index(2, 1)) & Qt::ItemIsUserCheckable);
        QCOMPARE(m.data(f.index(2, 1), Qt::CheckStateRole).toInt(), int(Qt::Checked));
        QCOMPARE(m.data(f.index(2, 2), Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        QVERIFY(m.data(f.index(2, 1), Qt::DisplayRole).isNull());

        // An unchanged text changes nothing; a changed one restamps the row.
        QVERIFY(m.setData(f.index(1, 1), QStringLiteral("s1")));
        QVERIFY(!f.db.isChanged());
        QVERIFY(g.cell(4, 1).isEmpty());
        QVERIFY(m.setData(f.index(1, 1), QStringLiteral("new")));
        QCOMPARE(g.cell(1, 1), QStringLiteral("new"));
        QVERIFY(f.db.isChanged());
        QVERIFY(!g.cell(4, 1).isEmpty());
        QVERIFY(g.cell(4, 2).isEmpty());

        f.db.setChanged(false);
        QVERIFY(m.setData(f.index(2, 2), int(Qt::Checked), Qt::CheckStateRole));
        QCOMPARE(g.cell(2, 2), QStringLiteral("1"));
        QVERIFY(f.db.isChanged());
        QVERIFY(m.setData(f.index(2, 2), int(Qt::Unchecked), Qt::CheckStateRole));
        QCOMPARE(g.cell(2, 2), QStringLiteral("0"));

        // The short-text option cuts a long edit, once told.
        f.db.field(1).setting1 = 1;
        QVERIFY(m.setData(f.index(1, 2), QString(300, u'x')));
        QCOMPARE(g.cell(1, 2), QString(250, u'x'));
        QCOMPARE(f.messages.shown.size(), size_t(1));

        // A read-only field, then a read-only database.
        f.db.field(1).attributes = FieldDef::ReadOnlyAttribute;
        QVERIFY(!(m.flags(f.index(1, 3)) & Qt::ItemIsEditable));
        QVERIFY(!m.setData(f.index(1, 3), QStringLiteral("no")));
        QCOMPARE(g.cell(1, 3), QStringLiteral("s3"));
        f.db.field(1).attributes = 0;
        f.db.setReadOnly(true);
        QVERIFY(!(m.flags(f.index(1, 3)) & Qt::ItemIsEditable));
        QVERIFY(!(m.flags(f.index(2, 3)) & Qt::ItemIsUserCheckable));
        QVERIFY(!m.setData(f.index(2, 3), int(Qt::Unchecked), Qt::CheckStateRole));
        QCOMPARE(g.cell(2, 3), QStringLiteral("1"));
    }

    void typingIntoACellEditsItInPlace()
    {
        Fixture f;
        f.db.field(1).setting1 = 1; // kept under 250 characters
        f.v().setFocus();
        f.v().setCurrentCell(1, 2);
        QTest::keyClick(&f.v(), Qt::Key_X);
        auto *editor = f.v().viewport()->findChild<QLineEdit *>();
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("x"));
        editor->setText(QString(300, u'y'));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(f.db.grid().cell(1, 2), QString(250, u'y'));
        QCOMPARE(f.messages.shown.size(), size_t(1));
        QVERIFY(f.db.isChanged());

        // The space bar toggles a check box, unless the field is protected.
        f.v().setCurrentCell(2, 2);
        QTest::keyClick(&f.v(), Qt::Key_Space);
        QCOMPARE(f.db.grid().cell(2, 2), QStringLiteral("1"));
        f.db.field(2).attributes = FieldDef::ReadOnlyAttribute;
        QTest::keyClick(&f.v(), Qt::Key_Space);
        QCOMPARE(f.db.grid().cell(2, 2), QStringLiteral("1"));

        // A read-only database opens no editor.
        f.db.setReadOnly(true);
        f.v().setCurrentCell(1, 3);
        QTest::keyClick(&f.v(), Qt::Key_Z);
        QCOMPARE(f.db.grid().cell(1, 3), QStringLiteral("s3"));
    }

    void clickingACheckBoxTogglesItUnlessProtected()
    {
        Fixture f;
        const QModelIndex i = f.index(2, 2);
        QStyleOptionViewItem option;
        option.initFrom(f.v().viewport());
        option.rect = f.v().visualRect(i);
        option.features = QStyleOptionViewItem::HasCheckIndicator;
        const QRect box =
            f.v().style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &f.v());
        QTest::mouseClick(f.v().viewport(), Qt::LeftButton, {}, box.center());
        QCOMPARE(f.db.grid().cell(2, 2), QStringLiteral("1"));
        QVERIFY(f.db.isChanged());

        f.db.field(2).attributes = FieldDef::ReadOnlyAttribute;
        QTest::mouseClick(f.v().viewport(), Qt::LeftButton, {}, box.center());
        QCOMPARE(f.db.grid().cell(2, 2), QStringLiteral("1"));
    }

    void doubleClickBeepsWhereTheEditorMayNotOpen()
    {
        Fixture f;
        QSignalSpy editor(&f.v(), &GridView::cellEditorRequested);
        const QPoint text = f.v().visualRect(f.index(1, 3)).center();
        const QPoint check = f.v().visualRect(f.index(2, 3)).topRight() - QPoint(3, -3);
        QTest::mouseDClick(f.v().viewport(), Qt::LeftButton, {}, text);
        QCOMPARE(f.feedback.beeps, 0);
        QCOMPARE(editor.size(), 1);
        QCOMPARE(editor.at(0).at(0).toInt(), 1);
        QCOMPARE(editor.at(0).at(1).toInt(), 3);

        QTest::mouseDClick(f.v().viewport(), Qt::LeftButton, {}, check);
        QCOMPARE(f.feedback.beeps, 1);
        QCOMPARE(f.db.grid().cell(2, 3), QStringLiteral("1"));

        // Header cells, and the border between two of them, open nothing and
        // size nothing.
        QHeaderView *columns = f.v().horizontalHeader();
        const int width = columns->sectionSize(0);
        QTest::mouseDClick(columns->viewport(), Qt::LeftButton, {},
                           QPoint(columns->sectionViewportPosition(1) - 1, 5));
        QTest::mouseDClick(f.v().verticalHeader()->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(f.feedback.beeps, 3);
        QCOMPARE(columns->sectionSize(0), width);
        QCOMPARE(editor.size(), 1);

        // Below the last record: no cell, whatever is current.
        f.v().setCurrentCell(1, 3);
        QTest::mouseDClick(f.v().viewport(), Qt::LeftButton, {},
                           QPoint(5, f.v().viewport()->height() - 3));
        QCOMPARE(f.feedback.beeps, 4);
        QCOMPARE(editor.size(), 1);

        f.db.setReadOnly(true);
        QTest::mouseDClick(f.v().viewport(), Qt::LeftButton, {}, text);
        QCOMPARE(f.feedback.beeps, 5);
        QCOMPARE(editor.size(), 1);
    }

    void currentCellAndSelectedBlock()
    {
        Fixture f;
        f.v().setCurrentCell(2, 3);
        QCOMPARE(f.v().currentGridColumn(), 2);
        QCOMPARE(f.v().currentGridRow(), 3);
        QTest::mouseClick(f.v().viewport(), Qt::LeftButton, {},
                          f.v().visualRect(f.index(1, 4)).center());
        QCOMPARE(f.v().currentGridRow(), 4);
        QTest::keyClick(&f.v(), Qt::Key_Tab);
        QCOMPARE(f.v().currentGridColumn(), 2);

        // A click on a field name selects the field and keeps the row.
        QHeaderView *columns = f.v().horizontalHeader();
        const QPoint name(columns->sectionViewportPosition(2) + 10, 10);
        QTest::mouseClick(columns->viewport(), Qt::LeftButton, {}, name);
        QCOMPARE(f.v().currentGridColumn(), 3);
        QCOMPARE(f.v().currentGridRow(), 4);
        QCOMPARE(f.v().selectedBlock(), QRect(3, 1, 1, f.v().model()->rowCount()));
        f.v().setCurrentCell(9, 9); // outside: ignored
        QCOMPARE(f.v().currentGridColumn(), 3);
    }

    void hintsAndAlignment()
    {
        Fixture f;
        RecordGridModel &m = *f.v().gridModel();
        QCOMPARE(m.headerData(2, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 QStringLiteral("Float\nTotal: 15\nAverage: 3.75"));
        QCOMPARE(m.headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(),
                 QStringLiteral("Boolean\nChecked: 2   Unchecked: 2"));
        QVERIFY(m.headerData(0, Qt::Vertical, Qt::ToolTipRole).isNull());
        QCOMPARE(m.headerData(0, Qt::Vertical).toString(), QStringLiteral("0001"));

        const auto alignment = [&](int column, int row) {
            return Qt::Alignment(m.data(f.index(column, row), Qt::TextAlignmentRole).toInt());
        };
        QCOMPARE(alignment(3, 1), Qt::AlignLeft | Qt::AlignVCenter);
        f.v().setAutoRightJustify(true);
        QCOMPARE(alignment(3, 1), Qt::AlignRight | Qt::AlignVCenter);
        QCOMPARE(alignment(1, 1), Qt::AlignLeft | Qt::AlignVCenter);
    }

    void headersMarkTheCurrentRowAndColumn()
    {
        Fixture f;
        f.v().setCurrentCell(2, 3);
        QHeaderView *columns = f.v().horizontalHeader();
        QHeaderView *rows = f.v().verticalHeader();
        const QImage top = columns->viewport()->grab().toImage();
        const QImage left = rows->viewport()->grab().toImage();
        const QColor current(0x0A, 0x90, 0xA0);
        const QColor face = columns->palette().color(QPalette::Button);
        const QColor line = columns->palette().color(QPalette::Base);
        const auto at = [](const QImage &image, int x, int y) { return image.pixelColor(x, y); };
        // Far right of each face, clear of the text.
        const int x1 = columns->sectionViewportPosition(1) + columns->sectionSize(1) - 2;
        const int x2 = columns->sectionViewportPosition(2) + columns->sectionSize(2) - 2;
        QCOMPARE(at(top, x1, 10), current);
        QCOMPARE(at(top, x2, 10), face);
        QCOMPARE(at(top, columns->sectionViewportPosition(2), 10), line);
        QCOMPARE(at(top, x2, 0), line);
        QCOMPARE(at(left, rows->width() - 2, rows->sectionViewportPosition(2) + 5), current);
        QCOMPARE(at(left, rows->width() - 2, rows->sectionViewportPosition(1) + 5), face);
        QCOMPARE(columns->height(), GridView::RowHeight);
    }

    void cellsShowTheLinesThatFitWhole()
    {
        const QString notes = QStringLiteral("Keep in a pot\r\nspreads everywhere\r\nthird");
        QCOMPARE(GridCellDelegate::linesThatFit(notes, 22, 15), QStringLiteral("Keep in a pot"));
        QCOMPARE(GridCellDelegate::linesThatFit(notes, 30, 15),
                 QStringLiteral("Keep in a pot\r\nspreads everywhere"));
        QCOMPARE(GridCellDelegate::linesThatFit(notes, 45, 15), notes);
        QCOMPARE(GridCellDelegate::linesThatFit(notes, 5, 15), QStringLiteral("Keep in a pot"));
        QCOMPARE(GridCellDelegate::linesThatFit(QStringLiteral("one line"), 1, 15),
                 QStringLiteral("one line"));
        QCOMPARE(GridCellDelegate::linesThatFit(QStringLiteral("\nsecond"), 22, 15), QString());
    }

    void everyEditIsAnnouncedAndTheCurrentCellFollowsItsRecord()
    {
        Fixture f;
        QAbstractItemModelTester tester(f.v().gridModel(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        f.v().setCurrentCell(3, 4);
        const auto currentText = [&f] { return f.v().currentIndex().data().toString(); };
        QCOMPARE(currentText(), QStringLiteral("6"));
        QSignalSpy resets(f.v().gridModel(), &QAbstractItemModel::modelReset);

        RecordGrid::Row row;
        row.cells = {QString(), QStringLiteral("new")};
        const std::vector<EditStep::Step> steps = {
            EditStep::Cells{{{1, 1, QStringLiteral("x")}, {4, 3, QStringLiteral("y")}}},
            EditStep::InsertRecords{2, {row, row}},
            EditStep::RemoveRecords{1, 1},
            EditStep::MoveRecord{5, 1},
            EditStep::PermuteRecords{{5, 4, 3, 2, 1}},
            EditStep::MoveField{3, 1},
            EditStep::ColumnWidths{{{1, 99}}},
        };
        for (const EditStep::Step &step : steps) {
            f.doc.apply(Edit::change(QStringLiteral("edit"), step));
            QCOMPARE(currentText(), QStringLiteral("6"));
        }
        while (f.doc.canUndo()) {
            f.doc.undo();
            QCOMPARE(currentText(), QStringLiteral("6"));
        }
        QCOMPARE(f.v().currentGridColumn(), 3);
        QCOMPARE(f.v().currentGridRow(), 4);
        while (f.doc.canRedo())
            f.doc.redo();
        QCOMPARE(f.v().currentGridColumn(), 1);
        QCOMPARE(f.v().currentGridRow(), 5);
        QCOMPARE(currentText(), QStringLiteral("6"));
        QCOMPARE(f.v().horizontalHeader()->sectionSize(0), 99);
        QCOMPARE(resets.count(), 0);
    }

    void hiddenRecordsAreNeverCurrent()
    {
        Fixture f;
        // Records 2 and 4 hidden: 2 as the one-pixel line, 4 the last.
        f.heights({{2, 0}, {4, 0}});
        struct Step
        {
            const char *name;
            std::function<void()> act;
            int row;
        };
        const Step steps[] = {
            {"down over a hidden record", [&] { QTest::keyClick(&f.v(), Qt::Key_Down); }, 3},
            {"down past the last visible", [&] { QTest::keyClick(&f.v(), Qt::Key_Down); }, 3},
            {"up over a hidden record", [&] { QTest::keyClick(&f.v(), Qt::Key_Up); }, 1},
            {"ctrl+end", [&] { QTest::keyClick(&f.v(), Qt::Key_End, Qt::ControlModifier); }, 3},
            {"ctrl+home", [&] { QTest::keyClick(&f.v(), Qt::Key_Home, Qt::ControlModifier); }, 1},
            {"a command", [&] { f.v().setCurrentCell(1, 4); }, 3},
            {"a click on the line",
             [&] {
                 const QRect line = f.v().visualRect(f.index(1, 2));
                 QTest::mouseClick(f.v().viewport(), Qt::LeftButton, {}, line.center());
             },
             1},
            {"the filter hides the current record",
             [&] {
                 f.heights({{1, 0}});
             },
             3},
        };
        f.v().setCurrentCell(1, 1);
        f.v().setFocus();
        for (const Step &step : steps) {
            step.act();
            QVERIFY2(f.v().currentGridRow() == step.row, step.name);
        }
    }

    void aCheckBoxClickedInAnotherRecordBecomesCurrentFirst()
    {
        Fixture f;
        f.v().setCurrentCell(1, 1);
        const QRect cell = f.v().visualRect(f.index(2, 3));
        // The box sits at the left of its cell.
        const QPoint box(cell.left() + 8, cell.center().y());
        QTest::mouseClick(f.v().viewport(), Qt::LeftButton, {}, box);
        QCOMPARE(f.v().currentGridColumn(), 2);
        QCOMPARE(f.v().currentGridRow(), 3);
        QCOMPARE(f.db.grid().cell(2, 3), QStringLiteral("0"));
    }

    void aFullGridKeepsItsRowHeights()
    {
        Fixture f;
        Database full;
        full.grid().resize(5, Limits::MaxRecords + 1);
        full.grid().showAllRows();
        f.doc.replace(std::move(full));
        QCOMPARE(f.v().verticalHeader()->sectionSize(Limits::MaxRecords - 1),
                 RecordGrid::VisibleRowHeight);
    }
};

QTEST_MAIN(GridViewTest)
#include "gridview_test.moc"
