#include "rules/find/findformrules.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/messageservice.h"
#include "table/filter/filterengine.h"

FindFormRules::FindFormRules(Document &doc, FilterEngine &filter, MessageService &messages,
                             std::function<int()> currentRow,
                             std::function<void(int, int)> makeCurrent)
    : mDoc(doc), mFilter(filter), mMessages(messages), mCurrentRow(std::move(currentRow)),
      mMakeCurrent(std::move(makeCurrent))
{
}

QStringList FindFormRules::fieldChoices(const Database &db)
{
    QStringList choices{QStringLiteral("All Fields")};
    for (int k = 1; k <= db.fieldCount(); ++k)
        choices << db.grid().cell(k, 0);
    return choices;
}

FindFormRules::Controls FindFormRules::showFind()
{
    mSearch.clear();
    const Database &db = mDoc.database();
    const int field = db.findField();
    mControls.fieldIndex = field >= 0 && field <= db.fieldCount() ? field : 0;
    mControls.text = db.findText();
    mControls.fromStart = true;
    return mControls;
}

void FindFormRules::find(const Controls &controls)
{
    mControls = controls;
    const Database &db = mDoc.database();
    if (db.findField() != controls.fieldIndex || db.findText() != controls.text)
        mDoc.apply(Edit::view(EditStep::FindSettings{controls.fieldIndex, controls.text}));
    search();
}

bool FindFormRules::findNext()
{
    if (!mSearch.isActive())
        return true;
    search();
    return false;
}

void FindFormRules::search()
{
    const FindSearch::Query query{mControls.fieldIndex, mControls.text, mControls.mustBegin,
                                  mControls.fromStart};
    const std::optional<QPoint> match = mSearch.run(mDoc.database(), query, mCurrentRow());
    if (!match) {
        mMessages.show(FindSearch::notFoundMessage());
        return;
    }
    if (mFilter.IsRowHidden(match->y()))
        mFilter.ApplyFilter(FilterEngine::Off);
    mMakeCurrent(match->x(), match->y());
}
