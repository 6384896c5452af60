#pragma once

#include "rules/properties/applicationpagerules.h"
#include "rules/properties/fieldpagerules.h"
#include "rules/properties/listpagesrules.h"
#include "rules/properties/propertiescontrols.h"

class CalculatedFields;
class Document;
class FilterEngine;
class LocaleService;
class MessageService;
class PasswordPrompt;
class PropertiesShell;
class UserFeedback;
struct Preferences;

/// What the Properties dialog works on and through; all must outlive it.
struct PropertiesServices
{
    Document &doc;
    CalculatedFields &calc;
    FilterEngine &filter;
    MessageService &messages;
    PasswordPrompt &passwords;
    LocaleService &locale;
    UserFeedback &feedback;
    Preferences &preferences;
    PropertiesShell &shell;
};

/**
 * The rules of the Properties dialog without a widget: every control's
 * value and state (controls()), the opening sequence, page changes and the
 * confirmation, with the Database page here and the other pages in
 * FieldPageRules, ListPagesRules and ApplicationPageRules.
 *
 * Made once for the program's life, like the dialog: the active page, the
 * popup clipboard with the state of "&Paste", and the simple filter's
 * must-begin and Include/Exclude (held by the filter engine) last between
 * openings. Nothing is applied before OK, except the named lists the
 * load/save panel saves.
 *
 * The confirmation stores its values in order and stops at the first
 * failed check, keeping what the steps before it stored; all it stored is
 * one undoable edit of the document.
 */
class PropertiesFormRules
{
public:
    struct Controls
    {
        int activePage = PropertiesControls::FieldPage; ///< PageControl
        bool loadSaveButtonVisible = false;             ///< B_LoadSaveSetting
        PropertiesControls::DatabaseControls database;
        PropertiesControls::FieldControls field;
        PropertiesControls::PopupControls popup;
        PropertiesControls::SortControls sort;
        PropertiesControls::FilterControls filter;
        PropertiesControls::ApplicationControls application;
        PropertiesControls::LoadSaveControls loadSave; ///< shown in place of the pages
    };

    explicit PropertiesFormRules(const PropertiesServices &services);

    /// Every control; the form writes the user's input here before it
    /// calls a handler, and shows the result after.
    Controls &controls() { return mControls; }
    const Controls &controls() const { return mControls; }
    FieldPageRules &fieldPage() { return mFieldPage; }
    ListPagesRules &listPages() { return mListPages; }
    /// The filter engine whose live options the filter pages show.
    FilterEngine &filter() { return mServices.filter; }

    /// Opening for the field of grid column @p column.
    void FormShow(int column);
    /// The user switched to page @p page.
    void PageControlChange(int page);
    /// The user picked type @p index on the Field page.
    void C_FieldTypeChange(int index) { mFieldPage.C_FieldTypeChange(index); }
    /// Either "Edit Popup" button: the Popup page.
    void B_EditMultiListClick() { PageControlChange(PropertiesControls::PopupPage); }
    /// "&Load/Save setting": the panel for the active page.
    void B_LoadSaveSettingClick();

    /// OK: true when every step passed and the dialog closes; false after
    /// a failed check (its message shown), the dialog staying open.
    bool B_OKClick();

private:
    void loadDatabasePage();

    PropertiesServices mServices;
    Controls mControls;
    FieldPageRules mFieldPage;
    ListPagesRules mListPages;
    ApplicationPageRules mApplicationPage;
};
