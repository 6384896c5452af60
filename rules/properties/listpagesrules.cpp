#include "rules/properties/listpagesrules.h"

#include "core/document/document.h"
#include "core/platform/localeservice.h"
#include "core/platform/messageservice.h"
#include "table/filter/filterengine.h"

#include <algorithm>

namespace {

using namespace PropertiesControls;

const QString kUnused = QStringLiteral("Unused");

/// The operator, begin and exclude bits of the five rows.
constexpr quint16 kRowBits = 0x7FFE;

} // namespace

ListPagesRules::ListPagesRules(Document &doc, FilterEngine &filter, MessageService &messages,
                               LocaleService &locale, PopupControls &popup, SortControls &sort,
                               FilterControls &filterPage, LoadSaveControls &panel)
    : mDoc(doc), mFilter(filter), mMessages(messages), mLocale(locale), mPopup(popup), mSort(sort),
      mFilterPage(filterPage), mPanel(panel)
{
}

void ListPagesRules::B_AppendClick()
{
    if (mPopup.newEntry.isEmpty())
        return;
    if (mPopup.entries.size() < MaxPopupItems && mPopup.newEntry.size() <= MaxPopupItemLength) {
        mPopup.entries << mPopup.newEntry;
        return;
    }
    mMessages.show({QStringLiteral("Listora limitation"),
                    MessageIcon::Error,
                    {QString::number(MaxPopupItems) + QStringLiteral(" popup item maximum"),
                     QString::number(MaxPopupItemLength) + QStringLiteral(" item text length")},
                    MessageButton::Ok});
}

void ListPagesRules::B_CutClick()
{
    if (mPopup.selected < 0 || mPopup.selected >= mPopup.entries.size())
        return;
    mPopup.pasteEnabled = true;
    mPopupClipboard = mPopup.entries.takeAt(mPopup.selected);
    mPopup.selected = -1;
}

void ListPagesRules::B_PasteClick()
{
    if (!mPopup.pasteEnabled || mPopup.selected < 0 || mPopup.selected >= mPopup.entries.size() ||
        mPopupClipboard.isEmpty())
        return;
    mPopup.pasteEnabled = false;
    mPopup.entries.insert(mPopup.selected, mPopupClipboard);
}

void ListPagesRules::B_SortClick()
{
    std::stable_sort(mPopup.entries.begin(), mPopup.entries.end(),
                     [this](const QString &a, const QString &b) {
                         return mLocale.compare(mLocale.toUpper(a), mLocale.toUpper(b)) < 0;
                     });
    mPopup.selected = -1;
}

QStringList ListPagesRules::fieldNames() const
{
    const Database &db = mDoc.database();
    QStringList names;
    for (int c = 1; c <= db.fieldCount(); ++c)
        names << db.grid().cell(c, 0);
    return names;
}

void ListPagesRules::open()
{
    const Database &db = mDoc.database();
    const QStringList names = fieldNames();
    for (Choice &chooser : mSort.fields)
        chooser.items = QStringList(QStringLiteral("None")) + names;
    showSort(db.sort());

    mFilterPage.field.items = QStringList(QStringLiteral("All Fields")) + names;
    const int field = db.filter().field;
    mFilterPage.field.index = field >= 0 && field <= names.size() ? field : -1;
    mFilterPage.text = db.filter().text;

    mAdvancedItems = QStringList(QStringLiteral("All Fields")) + names;
    loadAdvanced(1);
}

void ListPagesRules::showSort(const SortSettings &keys)
{
    for (size_t n = 0; n < 3; ++n) {
        const int key = keys.keys[n];
        const int position = key < 0 ? -key : key;
        mSort.fields[n].index = position < mSort.fields[n].items.size() ? position : 0;
        mSort.reverse[n] = key < 0;
    }
}

SortSettings ListPagesRules::sortKeys() const
{
    SortSettings keys;
    for (size_t n = 0; n < 3; ++n) {
        const int position = qMax(0, mSort.fields[n].index);
        keys.keys[n] = qint8(mSort.reverse[n] ? -position : position);
    }
    return keys;
}

void ListPagesRules::loadAdvanced(int list)
{
    AdvancedFilterSettings &rows = mFilter.advancedRows();
    rows = mDoc.database().filterList(list);
}

SavedFilterList ListPagesRules::advancedList(const QString &name) const
{
    SavedFilterList list = mFilter.advancedRows();
    list.name = name;
    list.options = quint16(AdvancedFilterSettings::BaseOption | (list.options & kRowBits));
    return list;
}

void ListPagesRules::B_LoadSaveSettingClick(bool sortPage)
{
    mPanelForSort = sortPage;
    mPanel.visible = true;
    mPanel.name.clear();
    mPanel.frameCaption = sortPage ? QStringLiteral(" Load and Save Sort List ")
                                   : QStringLiteral(" Load and Save Filter List ");
    mPanel.label =
        sortPage ? QStringLiteral("Sort List Name:") : QStringLiteral("Filter List Name:");
    mPanel.names.clear();
    const Database &db = mDoc.database();
    for (int k = 1; k <= 25; ++k)
        mPanel.names << (sortPage ? db.sortList(k).name : db.filterList(k).name);
    mPanel.selected = -1;
}

void ListPagesRules::LB_LoadSaveClick(int index)
{
    if (index < 0 || index >= mPanel.names.size())
        return;
    mPanel.selected = index;
    mPanel.name = mPanel.names.at(index);
}

bool ListPagesRules::B_LS_LoadClick()
{
    if (mPanel.name == kUnused || mPanel.selected < 0 || mPanel.selected >= mPanel.names.size() ||
        !mPanel.names.contains(mPanel.name)) {
        mMessages.show(Message::error({QStringLiteral(
            "You must select one of the used items in the list to perform this function.")}));
        return false;
    }
    const int k = mPanel.selected + 1;
    if (mPanelForSort)
        showSort(mDoc.database().sortList(k).sort);
    else
        loadAdvanced(k);
    mPanel.visible = false;
    return true;
}

bool ListPagesRules::B_LS_SaveClick()
{
    if (mPanel.name.isEmpty() || mPanel.name == kUnused || mPanel.selected < 0 ||
        mPanel.selected >= mPanel.names.size()) {
        mMessages.show(Message::error({QStringLiteral("You must select one of the 5 items in the "
                                                      "list and enter a valid name to perform "
                                                      "this function.")}));
        return false;
    }
    const int k = mPanel.selected + 1;
    mPanel.names[mPanel.selected] = mPanel.name;
    EditStep::NamedLists lists;
    if (mPanelForSort)
        lists.sortLists.emplace_back(k, SavedSortList{mPanel.name, sortKeys()});
    else
        lists.filterLists.emplace_back(k, advancedList(mPanel.name));
    // Kept in the database at once, even when the dialog is cancelled; it
    // neither marks the database changed nor goes on the undo history.
    mDoc.apply(Edit::view(std::move(lists)));
    mPanel.visible = false;
    return true;
}

void ListPagesRules::B_LS_CancelClick()
{
    mPanel.visible = false;
}
