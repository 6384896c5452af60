#include "rules/find/findformrules.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/messageservice.h"
#include "core/platform/progress.h"
#include "core/platform/userfeedback.h"
#include "table/filter/filterengine.h"

FindFormRules::FindFormRules(Document &doc, FilterEngine &filter, MessageService &messages,
                             UserFeedback &feedback, Progress &progress,
                             std::function<int()> currentRow,
                             std::function<void(int, int)> makeCurrent)
    : mDoc(doc), mFilter(filter), mMessages(messages), mFeedback(feedback), mProgress(progress),
      mCurrentRow(std::move(currentRow)), mMakeCurrent(std::move(makeCurrent))
{
}

QString FindFormRules::progressLabel(const QString &doing, const QString &text)
{
    constexpr qsizetype Longest = 40;
    const QString kept = text.size() > Longest ? text.left(Longest - 1) + QChar(0x2026) : text;
    return doing + QStringLiteral(" \"") + kept + QLatin1Char('"');
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
    mFeedback.setBusy(true);
    mProgress.start(progressLabel(QStringLiteral("Searching for"), mControls.text));
    const std::optional<QPoint> match =
        mSearch.run(mDoc.database(), query, mCurrentRow(), &mProgress);
    mProgress.finish();
    mFeedback.setBusy(false);
    if (mSearch.wasCancelled())
        return;
    if (!match) {
        mMessages.show(FindSearch::notFoundMessage());
        return;
    }
    if (mFilter.IsRowHidden(match->y()))
        mFilter.ApplyFilter(FilterEngine::Off);
    mMakeCurrent(match->x(), match->y());
}
