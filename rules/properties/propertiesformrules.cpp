#include "rules/properties/propertiesformrules.h"

#include "core/document/databaseflags.h"
#include "core/document/document.h"
#include "core/platform/messageservice.h"
#include "core/platform/passwordprompt.h"
#include "core/platform/userfeedback.h"
#include "rules/properties/propertiesshell.h"
#include "rules/properties/propertiesstage.h"
#include "table/filter/filterengine.h"
#include "table/sort/recordsort.h"
#include "values/calc/calculatedfields.h"

#include <algorithm>

namespace {

using namespace PropertiesControls;

Message warning(const QString &text)
{
    return {QStringLiteral("Warning"), MessageIcon::Warning, {text}, MessageButton::Ok};
}

void setFlag(quint16 &flags, quint16 bit, bool on)
{
    flags = on ? quint16(flags | bit) : quint16(flags & ~bit);
}

} // namespace

PropertiesFormRules::PropertiesFormRules(const PropertiesServices &services)
    : mServices(services), mFieldPage(services.doc, mControls.field, mControls.popup),
      mListPages(services.doc, services.filter, services.messages, services.locale, mControls.popup,
                 mControls.sort, mControls.filter, mControls.loadSave),
      mApplicationPage(services.preferences, services.shell, mControls.application)
{
    // FormCreate: the Field page first; "&Paste" waits for a Cut.
    mControls.activePage = FieldPage;
    mControls.popup.pasteEnabled = false;
}

void PropertiesFormRules::FormShow(int column)
{
    mControls.loadSave.visible = false;
    loadDatabasePage();
    mFieldPage.open(column);
    // A Popup page left active is for popup fields with a list of their own.
    if (mControls.activePage == PopupPage && !mControls.popup.tabVisible)
        mControls.activePage = FieldPage;
    PageControlChange(mControls.activePage);
    mListPages.open();
    mApplicationPage.open();
}

void PropertiesFormRules::loadDatabasePage()
{
    const Database &db = mServices.doc.database();
    DatabaseControls &page = mControls.database;
    page.name = db.name();
    page.firstColumn.items.clear();
    for (int c = 1; c <= db.fieldCount(); ++c)
        page.firstColumn.items << db.grid().cell(c, 0);
    const int first = db.firstUnlockedField();
    page.firstColumn.index = first >= 0 && first < db.fieldCount() ? first : -1;
    page.dataWidth = QString::number(db.dataWidth());
    // The three buttons exclude each other: the last one set wins.
    const quint16 flags = db.flags();
    page.normal = page.passworded = page.encrypted = false;
    const auto setRadio = [&](bool &button, quint16 bit) {
        if (flags & bit) {
            page.normal = page.passworded = page.encrypted = false;
            button = true;
        } else {
            button = false;
        }
    };
    setRadio(page.normal, DatabaseFlags::NoSecurity);
    setRadio(page.encrypted, DatabaseFlags::Encrypted);
    setRadio(page.passworded, DatabaseFlags::PalmOsPassword);
    page.autoSort = flags & DatabaseFlags::AutoSort;
    page.isFiltering = flags & DatabaseFlags::FilterOnOpen;
    page.readOnly = flags & DatabaseFlags::ReadOnly;
}

void PropertiesFormRules::PageControlChange(int page)
{
    mControls.activePage = qBound(0, page, int(ApplicationPage));
    mControls.loadSaveButtonVisible =
        mControls.activePage == SortPage || mControls.activePage == AdvFilterPage;
}

void PropertiesFormRules::B_LoadSaveSettingClick()
{
    if (mControls.loadSaveButtonVisible)
        mListPages.B_LoadSaveSettingClick(mControls.activePage == SortPage);
}

bool PropertiesFormRules::B_OKClick()
{
    Document &doc = mServices.doc;
    MessageService &messages = mServices.messages;
    const DatabaseControls &page = mControls.database;
    PropertiesStage stage(doc, mFieldPage.column());
    DatabaseOptions &options = stage.options;
    // A failed check shows its message and keeps what was stored before it.
    const auto fail = [&](const QString &text) {
        stage.flush();
        messages.show(warning(text));
        return false;
    };

    // 1-3: name, first unlocked field, data width.
    if (page.name.isEmpty() || page.name.size() > 30) {
        messages.show(
            warning(QStringLiteral("Please use 1 - 30 characters for the database name.")));
        return false;
    }
    options.name = page.name;
    options.firstUnlockedField = page.firstColumn.index;
    bool isNumber = false;
    const int dataWidth = page.dataWidth.trimmed().toInt(&isNumber, 10);
    if (!isNumber || dataWidth < 10 || dataWidth > 150)
        return fail(QStringLiteral("Please use a Width from ") + QString::number(10) +
                    QStringLiteral(" to ") + QString::number(150));
    options.dataWidth = dataWidth;

    // 4: security.
    DatabaseControls &shown = mControls.database;
    if (stage.hasPassword() && !page.encrypted) {
        stage.password = QString();
        messages.show(warning(QStringLiteral("Database Encryption disabled.")));
    } else if (!stage.hasPassword() && page.encrypted) {
        QString password = mServices.passwords.askPasswordToEncrypt();
        if (password.isEmpty()) {
            shown.normal = true;
            shown.passworded = shown.encrypted = false;
            stage.flush();
            return false;
        }
        stage.password = std::move(password);
    }
    setFlag(options.flags, DatabaseFlags::NoSecurity, page.normal);
    setFlag(options.flags, DatabaseFlags::PalmOsPassword, page.passworded);
    setFlag(options.flags, DatabaseFlags::Encrypted, page.encrypted);

    // 5-7: read-only, auto-sort, filtering.
    options.readOnly = page.readOnly;
    setFlag(options.flags, DatabaseFlags::ReadOnly, page.readOnly);
    stage.flush();
    mServices.shell.SetupGrid(true);
    options.autoSort = page.autoSort;
    setFlag(options.flags, DatabaseFlags::AutoSort, page.autoSort);
    setFlag(options.flags, DatabaseFlags::FilterOnOpen, page.isFiltering);
    stage.flush();
    mServices.filter.ApplyFilter(page.isFiltering ? FilterEngine::Simple : FilterEngine::Off);

    // 8-15: the field.
    if (!mFieldPage.storeNameAndWidth(stage, messages) ||
        !mFieldPage.storeDefinition(stage, messages)) {
        stage.flush();
        return false;
    }
    stage.flush();

    // 16: the calculated cells follow new field settings.
    if (mControls.activePage == FieldPage) {
        EditStep::Cells cells = mServices.calc.RecalculateAll();
        if (!cells.changes.empty())
            stage.join(std::move(cells));
    }

    // 17: the Sort, Filter, Adv. Filter and Application pages.
    stage.sortKeys = mListPages.sortKeys();
    stage.flush();
    if (mControls.activePage == SortPage && stage.sortKeys->keys[0] != 0) {
        mServices.filter.ApplyFilter(FilterEngine::Off);
        mServices.feedback.setBusy(true);
        std::vector<int> order =
            RecordSort::order(doc.database(), *stage.sortKeys, mServices.locale);
        if (!std::is_sorted(order.begin(), order.end()))
            stage.join(EditStep::PermuteRecords{std::move(order)});
        mServices.feedback.setBusy(false);
    }
    const FilterControls &filterPage = mControls.filter;
    options.filter.field = qint8(qMax(0, filterPage.field.index));
    options.filter.text = filterPage.text;
    stage.filterList1 = mListPages.advancedList(doc.database().filterList(1).name);
    stage.flush();
    if (mControls.activePage == FilterPage)
        mServices.filter.ApplyFilter(FilterEngine::Simple);
    if (mControls.activePage == AdvFilterPage)
        mServices.filter.ApplyFilter(FilterEngine::Advanced);
    mApplicationPage.confirm();

    // 18: every completed confirmation marks the database changed.
    if (!stage.applied())
        doc.setChanged(true);
    return true;
}
