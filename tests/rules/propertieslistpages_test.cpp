#include "propertiesdialog.h"

#include <gtest/gtest.h>

using namespace PropertiesFixture;

TEST(PropertiesFormRules, namedListsAreSavedAtOnceWithoutMarkingTheDatabaseChanged)
{
    Dialog d;
    d.open(1, SortPage);
    const SortSettings current = d.doc.database().sort();
    // Cost (field 3) ascending, Name descending.
    d.c().sort.fields[0].index = 3;
    d.c().sort.fields[1].index = 1;
    d.c().sort.reverse[1] = true;
    d.rules.B_LoadSaveSettingClick();
    ASSERT_TRUE(d.c().loadSave.visible);
    EXPECT_EQ(d.c().loadSave.names, QStringList(25, QStringLiteral("Unused")));
    d.rules.listPages().LB_LoadSaveClick(2);
    d.c().loadSave.name = QStringLiteral("ByPrice");
    ASSERT_TRUE(d.rules.listPages().B_LS_SaveClick());
    EXPECT_EQ(d.doc.database().sortList(3),
              (SavedSortList{QStringLiteral("ByPrice"), {{3, -1, 0}}}));
    EXPECT_EQ(d.doc.database().sort(), current);
    EXPECT_FALSE(d.doc.database().isChanged());
    EXPECT_FALSE(d.doc.canUndo());

    d.c().sort.fields[0].index = d.c().sort.fields[1].index = 0;
    d.c().sort.reverse = {};
    d.rules.B_LoadSaveSettingClick();
    d.rules.listPages().LB_LoadSaveClick(2);
    ASSERT_TRUE(d.rules.listPages().B_LS_LoadClick());
    EXPECT_EQ(d.rules.listPages().sortKeys(), (SortSettings{{3, -1, 0}}));
    EXPECT_FALSE(d.c().loadSave.visible);
}

TEST(PropertiesFormRules, theLoadSavePanelRefusesWhatNamesNoList)
{
    const QString load = QStringLiteral(
        "Error:You must select one of the used items in the list to perform this function.");
    const QString save = QStringLiteral("Error:You must select one of the 5 items in the list and "
                                        "enter a valid name to perform this function.");
    struct Case
    {
        const char *label;
        int selected; // -1: none clicked
        const char *name;
        bool saving;
        QString message;
    };
    const std::vector<Case> cases = {
        {"load Unused", 0, "Unused", false, load},
        {"load a name of no list", 1, "Elsewhere", false, load},
        {"load without a selection", -1, "Unused", false, load},
        {"save without a name", 0, "", true, save},
        {"save as Unused", 0, "Unused", true, save},
        {"save without a selection", -1, "Mine", true, save},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.label);
        Dialog d;
        d.open(1, AdvFilterPage);
        d.rules.B_LoadSaveSettingClick();
        d.rules.listPages().LB_LoadSaveClick(k.selected);
        d.c().loadSave.name = QString::fromLatin1(k.name);
        const bool done =
            k.saving ? d.rules.listPages().B_LS_SaveClick() : d.rules.listPages().B_LS_LoadClick();
        EXPECT_FALSE(done);
        EXPECT_TRUE(d.c().loadSave.visible);
        EXPECT_EQ(d.shownTexts(), QStringList(k.message));
    }
}

TEST(PropertiesFormRules, advancedRowsMapToTheOptionWordAndBack)
{
    Dialog d;
    d.open(1, AdvFilterPage);
    AdvancedFilterSettings &rows = d.filter.advancedRows();
    rows.options = 0;                                     // every operator "OR"
    rows.options |= AdvancedFilterSettings::andOption(2); // row 3 "AND"
    rows.options |=
        AdvancedFilterSettings::beginOption(0) | AdvancedFilterSettings::excludeOption(4);
    rows.fields = {-1, 0, 1, 2, 3};
    rows.texts = {QStringLiteral("a"), QStringLiteral("b"), {}, {}, QStringLiteral("e")};
    d.rules.B_LoadSaveSettingClick();
    d.rules.listPages().LB_LoadSaveClick(4);
    d.c().loadSave.name = QStringLiteral("Mix");
    ASSERT_TRUE(d.rules.listPages().B_LS_SaveClick());
    const SavedFilterList saved = d.doc.database().filterList(5);
    EXPECT_EQ(saved, (SavedFilterList{QStringLiteral("Mix"), rows.texts, 0x4025, rows.fields}));

    rows = {};
    d.rules.B_LoadSaveSettingClick();
    d.rules.listPages().LB_LoadSaveClick(4);
    ASSERT_TRUE(d.rules.listPages().B_LS_LoadClick());
    EXPECT_EQ(d.filter.advancedRows(), saved);

    // OK on the page stores the rows into list 1 under its own name and
    // filters by them.
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_EQ(d.doc.database().filterList(1).texts, rows.texts);
    EXPECT_EQ(d.doc.database().filterList(1).name, QStringLiteral("Unused"));
    EXPECT_EQ(d.filter.filterMode(), FilterEngine::Advanced);
}

TEST(PropertiesFormRules, popupButtonsKeepTheLimitsAndTheClipboard)
{
    Dialog d;
    d.open(6); // Kind, a Normal Popup
    ASSERT_TRUE(d.c().popup.tabVisible);
    PopupControls &p = d.c().popup;
    ListPagesRules &l = d.rules.listPages();
    p.entries = {QStringLiteral("b"), QStringLiteral("A"), QStringLiteral("c")};
    l.B_SortClick();
    EXPECT_EQ(p.entries, QStringList({"A", "b", "c"}));

    p.newEntry = QString(26, QLatin1Char('x'));
    l.B_AppendClick();
    p.newEntry = QString(25, QLatin1Char('x'));
    l.B_AppendClick();
    EXPECT_EQ(p.entries.size(), 4);
    while (p.entries.size() < 100)
        l.B_AppendClick();
    l.B_AppendClick();
    EXPECT_EQ(p.entries.size(), 100);
    const QString limit =
        QStringLiteral("Listora limitation:100 popup item maximum\r25 item text length");
    EXPECT_EQ(d.shownTexts(), QStringList({limit, limit}));

    p.entries = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    p.selected = 2;
    l.B_CutClick(); // c
    p.selected = 1;
    l.B_PasteClick();
    l.B_PasteClick(); // not again until the next Cut
    EXPECT_EQ(p.entries, QStringList({"a", "c", "b"}));
    EXPECT_FALSE(p.pasteEnabled);

    // Confirming writes the list into the field.
    ASSERT_TRUE(d.rules.B_OKClick());
    EXPECT_EQ(d.doc.database().field(6).popupItems, QStringList({"a", "c", "b"}));
}
