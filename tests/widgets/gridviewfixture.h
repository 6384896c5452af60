#pragma once

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/document/fieldtype.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "core/platform/userfeedback.h"
#include "documentaccess.h"
#include "fixedclock.h"
#include "scriptedmessages.h"
#include "values/calc/calculatedfields.h"
#include "widgets/grid/gridview.h"
#include "widgets/grid/recordgridmodel.h"

#include <QtTest>

#include <memory>

class CountingFeedback : public UserFeedback
{
public:
    void beep() override { ++beeps; }
    void setBusy(bool) override {}
    int beeps = 0;
};

/// A String, a Boolean, a Float and a Modification Date field over four
/// records, shown in a GridView of the program's 8-point font.
struct GridViewFixture
{
    Document doc;
    Database &db = DocumentAccess::database(doc);
    QtLocaleService locale{QLocale::c()};
    FixedClock clock;
    CountingFeedback feedback;
    ScriptedMessages messages;
    CalculatedFields calc{db, locale, clock, feedback};
    std::unique_ptr<GridView> view;

    GridViewFixture()
    {
        RecordGrid &g = db.grid();
        g.resize(5, 5);
        g.showAllRows();
        const int types[] = {FieldType::String, FieldType::Boolean, FieldType::Float,
                             FieldType::ModificationDate};
        for (int c = 1; c <= 4; ++c) {
            db.field(c).type = quint8(types[c - 1]);
            g.setCell(c, 0, QStringLiteral("F%1").arg(c));
            g.setColumnWidth(c, 60 + c);
        }
        for (int r = 1; r <= 4; ++r) {
            g.setCell(1, r, QStringLiteral("s%1").arg(r));
            g.setCell(2, r, r % 2 ? QStringLiteral("1") : QStringLiteral("0"));
            g.setCheckBox(2, r, true);
            g.setCell(3, r, QString::number(r * 1.5));
        }
        view = std::make_unique<GridView>(doc, calc, messages, feedback);
        // The program's font is 8 points unless the user chooses.
        QFont font = view->font();
        font.setPointSize(8);
        view->setFont(font);
        view->resize(600, 300);
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    }
    GridView &v() { return *view; }
    QModelIndex index(int column, int row) const
    {
        return view->gridModel()->index(row - 1, column - 1);
    }
    void heights(std::vector<std::pair<int, int>> rows)
    {
        doc.apply(Edit::view(EditStep::RowHeights{std::move(rows)}));
    }
    void widths(std::vector<std::pair<int, int>> columns)
    {
        doc.apply(Edit::view(EditStep::ColumnWidths{std::move(columns)}));
    }
};
