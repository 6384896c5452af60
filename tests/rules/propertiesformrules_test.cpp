#include "propertiesdialog.h"

#include <gtest/gtest.h>

#include <functional>

using namespace PropertiesFixture;

namespace {

/// What a confirmation may have stored, step by step.
struct Outcome
{
    QString name;
    int dataWidth;
    QString fieldName;
    int width; ///< in width units
    int type;
    qint32 setting1;
    QStringList messages;
    bool closed;

    bool operator==(const Outcome &) const = default;
    friend void PrintTo(const Outcome &o, std::ostream *os)
    {
        *os << o.name.toStdString() << "/" << o.dataWidth << "/" << o.fieldName.toStdString() << "/"
            << o.width << "/" << o.type << "/" << o.setting1 << "/"
            << o.messages.join(QLatin1Char('|')).toStdString() << "/" << o.closed;
    }
};

Outcome outcome(Dialog &d, bool closed)
{
    const Database &db = d.doc.database();
    return {db.name(),
            db.dataWidth(),
            db.grid().cell(1, 0),
            db.PixelsToFieldWidth(db.grid().columnWidth(1)),
            db.field(1).type,
            db.field(1).setting1,
            d.shownTexts(),
            closed};
}

QString warning(const char *text)
{
    return QStringLiteral("Warning:") + QString::fromLatin1(text);
}

} // namespace

TEST(PropertiesFormRules, aFailedCheckKeepsWhatTheStepsBeforeItStoredAsOneUndoableEdit)
{
    enum Stored
    {
        Nothing,
        Name,      // steps 1-2
        Database,  // 1-7
        FieldName, // 1-8
        Width,     // 1-9
        Definition // 1-14
    };
    struct Case
    {
        const char *label;
        int type; // picked on the Field page, -1 none
        std::function<void(Controls &)> input;
        QStringList messages;
        Stored stored;
        qint32 setting1; // of field 1 afterwards
    };
    using FieldType::AutoIncrementInteger, FieldType::CalcValueOpField, FieldType::CalcFieldOpValue;
    const QString name31(31, QLatin1Char('n')), field21(21, QLatin1Char('f'));
    const QString dbName = QStringLiteral("Please use 1 - 30 characters for the database name.");
    const QString width = QStringLiteral("Please use a Width from 10 to 150");
    const QString field = QStringLiteral("Please use 1 - 20 characters for the field name.");
    const QString fieldWidth = QStringLiteral("Please use a field width from 0 to 300");
    const auto w = [](const QString &t) { return QStringLiteral("Warning:") + t; };
    const std::vector<Case> cases = {
        {"empty name", -1, [](Controls &c) { c.database.name.clear(); }, {w(dbName)}, Nothing, 0},
        {"31 characters",
         -1,
         [&](Controls &c) { c.database.name = name31; },
         {w(dbName)},
         Nothing,
         0},
        {"width 9",
         -1,
         [](Controls &c) { c.database.dataWidth = QStringLiteral("9"); },
         {w(width)},
         Name,
         0},
        {"width 151",
         -1,
         [](Controls &c) { c.database.dataWidth = QStringLiteral("151"); },
         {w(width)},
         Name,
         0},
        {"width abc",
         -1,
         [](Controls &c) { c.database.dataWidth = QStringLiteral("abc"); },
         {w(width)},
         Name,
         0},
        {"empty field name",
         -1,
         [](Controls &c) { c.field.name.clear(); },
         {w(field)},
         Database,
         0},
        {"21 characters",
         -1,
         [&](Controls &c) { c.field.name = field21; },
         {w(field)},
         Database,
         0},
        {"field width 301",
         -1,
         [](Controls &c) { c.field.width = QStringLiteral("301"); },
         {w(fieldWidth)},
         FieldName,
         0},
        {"field width empty",
         -1,
         [](Controls &c) { c.field.width.clear(); },
         {w(fieldWidth)},
         FieldName,
         0},
        {"start not an integer",
         AutoIncrementInteger,
         [](Controls &c) { c.field.autoIncStart = QStringLiteral("x"); },
         {w(QStringLiteral("Integer input expected."))},
         Definition,
         0},
        {"increment not an integer",
         AutoIncrementInteger,
         [](Controls &c) {
             c.field.autoIncStart = QStringLiteral("7");
             c.field.autoIncIncrement = QStringLiteral("1.5");
         },
         {w(QStringLiteral("Integer input expected."))},
         Definition,
         7},
        {"value 1 not a number",
         CalcValueOpField,
         [](Controls &c) { c.field.calc.value1 = QStringLiteral("abc"); },
         {w(QStringLiteral("Numerical value expected."))},
         Definition,
         0},
        {"value 2 not a number",
         CalcFieldOpValue,
         [](Controls &c) {
             c.field.calc.value2 = QStringLiteral("abc");
             c.field.calc.op.index = 2;
         },
         {w(QStringLiteral("Numerical value expected."))},
         Definition,
         0},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.label);
        Dialog d;
        const QByteArray before = d.bytes();
        const Outcome original = outcome(d, false);
        d.open(1);
        d.c().database.name = QStringLiteral("Plot");
        d.c().database.dataWidth = QStringLiteral("80");
        d.c().field.name = QStringLiteral("Title");
        d.c().field.width = QStringLiteral("20");
        if (k.type >= 0)
            d.rules.C_FieldTypeChange(k.type);
        k.input(d.c());

        Outcome expected = original;
        expected.messages = k.messages;
        if (k.stored >= Name)
            expected.name = QStringLiteral("Plot");
        if (k.stored >= Database)
            expected.dataWidth = 80;
        if (k.stored >= FieldName)
            expected.fieldName = QStringLiteral("Title");
        if (k.stored >= Width)
            expected.width = 20;
        if (k.stored >= Definition) {
            expected.type = k.type;
            expected.setting1 = k.setting1;
        }
        EXPECT_EQ(outcome(d, d.rules.B_OKClick()), expected);

        // Whatever was stored is one step of the history.
        EXPECT_EQ(d.doc.history().size(), k.stored == Nothing ? 0 : 1);
        d.doc.undo();
        EXPECT_EQ(d.bytes(), before);
    }
}

TEST(PropertiesFormRules, theLimitsOfNameAndWidthsAreAccepted)
{
    Dialog d;
    d.open(1);
    d.c().database.name = QString(30, QLatin1Char('n'));
    d.c().field.name = QString(20, QLatin1Char('f'));
    for (const char *dataWidth : {"10", "150"}) {
        for (const char *fieldWidth : {"0", "300"}) {
            d.c().database.dataWidth = QString::fromLatin1(dataWidth);
            d.c().field.width = QString::fromLatin1(fieldWidth);
            EXPECT_TRUE(d.rules.B_OKClick()) << dataWidth << " " << fieldWidth;
        }
    }
    EXPECT_EQ(d.doc.database().dataWidth(), 150);
    EXPECT_EQ(d.doc.database().grid().columnWidth(1), d.doc.database().FieldWidthToPixels(300));
    EXPECT_TRUE(d.messages.shown.empty());
}

TEST(PropertiesFormRules, aTypeChangeToBooleanAndBackGivesCellsAndCheckBoxes)
{
    Dialog d;
    Database &db = d.db();
    db.grid().setCell(1, 1, QStringLiteral("yes"));
    db.grid().setCell(1, 2, QStringLiteral("1"));
    db.grid().setCell(1, 3, QString());
    const QByteArray before = d.bytes();
    const auto column = [&] {
        QStringList cells;
        for (int r = 1; r <= 4; ++r)
            cells << db.grid().cell(1, r) + (db.grid().hasCheckBox(1, r) ? "[x]" : "");
        return cells;
    };

    d.open(1);
    d.rules.C_FieldTypeChange(FieldType::Boolean);
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_EQ(column(), QStringList({"0[x]", "1[x]", "0[x]", "0[x]"}));

    d.open(1);
    d.rules.C_FieldTypeChange(FieldType::String);
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_EQ(column(), QStringList({"0", "1", "0", "0"}));

    d.doc.undo();
    d.doc.undo();
    EXPECT_EQ(column(), QStringList({"yes", "1", "", "Oak"}));
    EXPECT_EQ(d.bytes(), before);
}

TEST(PropertiesFormRules, encryptionChosenAndCancelledOrGivenKeepsThePasswordOutOfTheHistory)
{
    Dialog d;
    d.open(1, DatabasePage);
    d.c().database.normal = false;
    d.c().database.encrypted = true;
    EXPECT_FALSE(d.rules.B_OKClick()); // the password dialog cancelled
    EXPECT_EQ(d.passwords.asked, 1);
    EXPECT_TRUE(d.c().database.normal && !d.c().database.encrypted && !d.c().database.passworded);
    EXPECT_TRUE(d.doc.database().password().isEmpty());
    EXPECT_FALSE(d.doc.database().flags() & DatabaseFlags::Encrypted);

    const QString secret = QStringLiteral("secret77");
    const QByteArray plain = d.bytes();
    d.c().database.normal = false;
    d.c().database.encrypted = true;
    d.passwords.answers = {secret};
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_EQ(d.doc.database().password(), secret);
    EXPECT_TRUE(d.doc.database().flags() & DatabaseFlags::Encrypted);
    const QByteArray enciphered = d.bytes();

    const auto historyHoldsIt = [&] {
        const EditHistory &h = d.doc.history();
        const EditHistory::Entry &e = d.doc.canUndo() ? h.undoEntry() : h.redoEntry();
        for (const EditStep::Step &step : e.edit.steps) {
            const auto *p = std::get_if<EditStep::Password>(&step);
            if (p && p->text.contains(secret))
                return true;
        }
        return false;
    };
    EXPECT_FALSE(historyHoldsIt());
    d.doc.undo();
    EXPECT_FALSE(historyHoldsIt());
    EXPECT_EQ(d.bytes(), plain);
    d.doc.redo();
    EXPECT_EQ(d.bytes(), enciphered);

    // Deselecting "Encrypted" warns once and the database is plain again.
    d.open(1, DatabasePage);
    d.c().database.encrypted = false;
    d.c().database.normal = true;
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_EQ(d.shownTexts(), QStringList(warning("Database Encryption disabled.")));
    EXPECT_TRUE(d.doc.database().password().isEmpty());
}

TEST(PropertiesFormRules, typeChangesAndLookupListsDecideThePopupPage)
{
    Dialog d;
    d.db().field(6).popupItems = {QStringLiteral("Shrub"), QStringLiteral("Bulb")};
    d.open(6);
    ASSERT_EQ(d.c().popup.entries, d.db().field(6).popupItems);
    d.rules.C_FieldTypeChange(FieldType::String);
    d.rules.C_FieldTypeChange(FieldType::NormalPopup);
    EXPECT_TRUE(d.c().popup.entries.isEmpty());
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_TRUE(d.doc.database().field(6).popupItems.isEmpty());

    // A field with a lookup list: no Popup page, and it keeps its items.
    FieldDef &kind = d.db().field(6);
    kind.setting2 = 1;
    kind.popupItems = {QStringLiteral("Plants.pdb"), QStringLiteral("Kind")};
    d.rules.PageControlChange(PopupPage);
    d.rules.FormShow(6);
    EXPECT_EQ(d.c().activePage, FieldPage);
    EXPECT_FALSE(d.c().popup.tabVisible);
    EXPECT_EQ(d.c().field.group, TypeGroup::Lookup);
    EXPECT_EQ(QStringList({d.c().field.lookupDatabase, d.c().field.lookupField}), kind.popupItems);
    d.rules.PageControlChange(FieldPage);
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_EQ(d.doc.database().field(6).popupItems, QStringList({"Plants.pdb", "Kind"}));
}

TEST(PropertiesFormRules, decimalsAndOperandsMapBothWays)
{
    struct Case
    {
        int index;
        qint32 decimals;
    };
    for (const Case &k : std::vector<Case>{{0, 0}, {1, -1}, {2, 1}, {3, 2}, {4, 3}}) {
        EXPECT_EQ(FieldPageRules::decimalsOf(k.index), k.decimals);
        EXPECT_EQ(FieldPageRules::decimalsIndex(k.decimals), k.index);
    }
    EXPECT_EQ(FieldPageRules::decimalsIndex(7), -1);

    // Total = Count x Cost, 2 decimals: shown and stored back unchanged,
    // then with Cost of the previous record and "Var".
    Dialog d;
    d.open(4);
    const CalcControls &calc = d.c().field.calc;
    EXPECT_EQ(std::make_tuple(calc.field1.index, calc.op.index, calc.field2.index,
                              calc.decimals.index, calc.previous2),
              std::make_tuple(1, 2, 2, 3, false));
    const FieldDef before = d.doc.database().field(4);
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_EQ(d.doc.database().field(4), before);
    d.c().field.calc.previous2 = true;
    d.c().field.calc.decimals.index = 0;
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_EQ(d.doc.database().field(4).setting1, calcWord(3, 1, 2, true));
    EXPECT_EQ(d.doc.database().field(4).setting2, 0);
}

TEST(PropertiesFormRules, theActivePageDecidesWhatConfirmationRecomputesSortsAndFilters)
{
    struct Case
    {
        int page;
        bool recalculated;
        int filterMode;
        QString first; // record 1's name
    };
    const std::vector<Case> cases = {
        {DatabasePage, false, FilterEngine::Off, QStringLiteral("Rose")},
        {FieldPage, true, FilterEngine::Off, QStringLiteral("Rose")},
        {SortPage, false, FilterEngine::Off, QStringLiteral("Fern")},
        {FilterPage, false, FilterEngine::Simple, QStringLiteral("Rose")},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.page);
        Dialog d;
        d.db().grid().setCell(4, 1, QStringLiteral("stale"));
        d.db().filter().text = QStringLiteral("o");
        d.filter.ApplyFilter(FilterEngine::Simple);
        ASSERT_EQ(d.filter.filterMode(), FilterEngine::Simple);
        d.open(1, k.page);
        if (k.page == SortPage)
            d.c().sort.fields[0].index = 1; // by Name
        // Nothing else changes: OK still marks the database changed.
        ASSERT_TRUE(d.rules.B_OKClick());
        const RecordGrid &grid = d.doc.database().grid();
        int rose = 1;
        while (grid.cell(1, rose) != QStringLiteral("Rose"))
            ++rose;
        EXPECT_EQ(grid.cell(4, rose) != QStringLiteral("stale"), k.recalculated);
        EXPECT_EQ(d.filter.filterMode(), k.filterMode);
        EXPECT_EQ(grid.cell(1, 1), k.first);
        EXPECT_TRUE(d.doc.database().isChanged());
    }
}

TEST(PropertiesFormRules, theApplicationPageTakesOverThePreferencesAtOnce)
{
    Dialog d;
    d.open(1, ApplicationPage);
    const ApplicationControls none = d.c().application;
    EXPECT_FALSE(none.userEnabled || none.initialDirEnabled || none.saveAtInstallEnabled);

    d.props.users = {QStringLiteral("Ann"), QStringLiteral("Bob")};
    d.props.last = 1;
    d.open(1, ApplicationPage);
    EXPECT_EQ(d.c().application.user, (Choice{{"Ann", "Bob"}, 1}));
    EXPECT_TRUE(d.c().application.userEnabled && d.c().application.saveAtInstallEnabled);
    d.c().application.user.index = 0;
    d.c().application.expertMode = true;
    d.c().application.usNumFormat = false;
    d.c().application.autoRightJust = true;
    d.props.log.clear();
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_EQ(d.props.log, QStringList({"setup", "initial dir", "right 1", "us 0"}));
    EXPECT_EQ(d.props.selected, 0);
    EXPECT_TRUE(d.prefs.expertMode && d.prefs.autoRightJust && !d.prefs.usNumFormat);
}

TEST(PropertiesFormRules, undoOfAWholeConfirmationGivesBackTheWritersBytes)
{
    Dialog d;
    const QByteArray before = d.bytes();
    d.open(2, SortPage);
    Controls &c = d.c();
    c.database.name = QStringLiteral("Allotment");
    c.database.readOnly = true;
    c.database.isFiltering = true;
    c.database.dataWidth = QStringLiteral("120");
    c.field.name = QStringLiteral("Number");
    c.field.width = QStringLiteral("33");
    c.field.locked = true;
    c.field.defaultText = QStringLiteral("1");
    c.sort.fields[0].index = 3;
    c.sort.reverse[0] = true;
    c.filter.text = QStringLiteral("e");
    d.filter.advancedRows().texts[0] = QStringLiteral("o");
    d.rules.C_FieldTypeChange(FieldType::NormalInteger);
    ASSERT_TRUE(d.rules.B_OKClick());
    const QByteArray after = d.bytes();
    EXPECT_NE(after, before);
    EXPECT_EQ(d.doc.undoLabel(), QStringLiteral("properties"));
    d.doc.undo();
    EXPECT_EQ(d.bytes(), before);
    EXPECT_FALSE(d.doc.database().isChanged());
    d.doc.redo();
    EXPECT_EQ(d.bytes(), after);
}
