#include "rules/properties/propertiesstage.h"

#include "core/document/document.h"

namespace {

const QString kLabel = QStringLiteral("properties");

} // namespace

PropertiesStage::PropertiesStage(Document &doc, int column) : mDoc(doc), mColumn(column)
{
    const Database &db = doc.database();
    options = DatabaseOptions::of(db);
    fieldName = db.grid().cell(column, 0);
    columnWidth = db.grid().columnWidth(column);
    def = db.field(column);
}

bool PropertiesStage::hasPassword() const
{
    return password ? !password->isEmpty() : !mDoc.database().password().isEmpty();
}

void PropertiesStage::flush()
{
    const Database &db = mDoc.database();
    Edit edit;
    edit.label = kLabel;
    if (options != DatabaseOptions::of(db))
        edit.steps.push_back(EditStep::Options{options});
    if (password) {
        if (*password != db.password())
            edit.steps.push_back(EditStep::Password{std::move(*password)});
        password.reset();
    }
    if (sortKeys && *sortKeys != db.sort())
        edit.steps.push_back(EditStep::SortKeys{*sortKeys});
    if (filterList1 && *filterList1 != db.filterList(1))
        edit.steps.push_back(EditStep::NamedLists{{}, {{1, *filterList1}}});
    const bool field = mColumn >= 1 && mColumn <= db.fieldCount();
    if (field && fieldName != db.grid().cell(mColumn, 0))
        cells.changes.insert(cells.changes.begin(), {mColumn, 0, fieldName});
    if (!cells.changes.empty())
        edit.steps.push_back(std::exchange(cells, {}));
    if (!checkBoxes.changes.empty())
        edit.steps.push_back(std::exchange(checkBoxes, {}));
    if (field && columnWidth != db.grid().columnWidth(mColumn))
        edit.steps.push_back(EditStep::ColumnWidths{{{mColumn, columnWidth}}});
    if (field && def != db.field(mColumn))
        edit.steps.push_back(EditStep::FieldDefs{{{mColumn, def}}});
    if (!edit.steps.empty())
        applyPart(std::move(edit));
}

void PropertiesStage::join(EditStep::Step step)
{
    applyPart(Edit::change(kLabel, std::move(step)));
}

void PropertiesStage::applyPart(Edit edit)
{
    if (mApplied) {
        mDoc.applyJoined(std::move(edit));
        return;
    }
    mDoc.endMerge();
    mDoc.apply(std::move(edit));
    mApplied = true;
}
