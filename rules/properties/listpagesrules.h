#pragma once

#include "core/document/savedfilterlist.h"
#include "core/document/sortsettings.h"
#include "rules/properties/propertiescontrols.h"

class Document;
class FilterEngine;
class LocaleService;
class MessageService;

/**
 * The Popup, Sort, Filter and Adv. Filter pages of the Properties dialog
 * and its load/save panel for the 25 named sort and filter lists.
 *
 * The Adv. Filter page shows the filter engine's working rows
 * (FilterEngine::advancedRows()) with a field chooser per row; its
 * operator boxes read bits 0x0002..0x0010 of their option word ("AND"
 * when set). The popup clipboard and the enabled state of "&Paste" last
 * for the program's life.
 */
class ListPagesRules
{
public:
    static constexpr int MaxPopupItems = 100;
    static constexpr int MaxPopupItemLength = 25;

    ListPagesRules(Document &doc, FilterEngine &filter, MessageService &messages,
                   LocaleService &locale, PropertiesControls::PopupControls &popup,
                   PropertiesControls::SortControls &sort,
                   PropertiesControls::FilterControls &filterPage,
                   PropertiesControls::LoadSaveControls &panel);

    /// Popup page buttons.
    void B_AppendClick();
    void B_CutClick();
    void B_PasteClick();
    void B_SortClick();
    const QString &popupClipboard() const { return mPopupClipboard; }

    /// Opening: the Sort, Filter and Adv. Filter pages from the database.
    void open();
    /// The three sort keys the Sort page shows.
    SortSettings sortKeys() const;
    /// The Adv. Filter page's rows as a filter list named @p name.
    SavedFilterList advancedList(const QString &name) const;
    /// The entries of the Adv. Filter page's field choosers.
    const QStringList &advancedFieldItems() const { return mAdvancedItems; }

    /// The load/save panel for the Sort page (@p sortPage) or the Adv.
    /// Filter page.
    void B_LoadSaveSettingClick(bool sortPage);
    void LB_LoadSaveClick(int index);
    /// Load: false, with its message, when refused; the panel stays.
    bool B_LS_LoadClick();
    /// Save: false, with its message, when refused; the panel stays. The
    /// list changes in the database at once, without marking it changed.
    bool B_LS_SaveClick();
    void B_LS_CancelClick();

private:
    void showSort(const SortSettings &keys);
    void loadAdvanced(int list);
    QStringList fieldNames() const;

    Document &mDoc;
    FilterEngine &mFilter;
    MessageService &mMessages;
    LocaleService &mLocale;
    PropertiesControls::PopupControls &mPopup;
    PropertiesControls::SortControls &mSort;
    PropertiesControls::FilterControls &mFilterPage;
    PropertiesControls::LoadSaveControls &mPanel;
    QStringList mAdvancedItems;
    QString mPopupClipboard;
    bool mPanelForSort = true;
};
