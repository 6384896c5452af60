#include "rules/find/replaceformrules.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/progress.h"
#include "core/platform/userfeedback.h"
#include "rules/find/findformrules.h"
#include "rules/shell/closingword.h"
#include "table/filter/filterengine.h"

ReplaceFormRules::ReplaceFormRules(Document &doc, const LocaleService &locale, FilterEngine &filter,
                                   UserFeedback &feedback, Progress &progress,
                                   std::function<void(int, int)> makeCurrent,
                                   const CalculatedFields *calc)
    : mDoc(doc), mFilter(filter), mFeedback(feedback), mProgress(progress),
      mMakeCurrent(std::move(makeCurrent)), mStep(doc, locale, calc)
{
}

ReplaceFormRules::Controls ReplaceFormRules::show()
{
    mStep.reset();
    if (mControls.fieldIndex < 0 || mControls.fieldIndex > mDoc.database().fieldCount())
        mControls.fieldIndex = 0;
    return mControls;
}

bool ReplaceFormRules::canReplace() const
{
    return !mDoc.database().isReadOnly();
}

ReplaceFormRules::Result ReplaceFormRules::press(ReplaceStep::Mode mode, const Controls &controls)
{
    mControls = controls;
    if (mode != ReplaceStep::FindNext && !canReplace())
        return {};
    const ReplaceStep::Query query{controls.fieldIndex, controls.findText, controls.replaceText,
                                   controls.mustBegin, controls.matchCase};
    mFeedback.setBusy(true);
    mProgress.start(FindFormRules::progressLabel(mode == ReplaceStep::ReplaceAll
                                                     ? QStringLiteral("Replacing")
                                                     : QStringLiteral("Searching for"),
                                                 query.findText));
    const ReplaceStep::Outcome outcome = mStep.run(mode, query, &mProgress);
    mProgress.finish();
    mFeedback.setBusy(false);
    if (outcome.cancelled)
        return {};
    if (outcome.inHiddenRecord)
        mFilter.ApplyFilter(FilterEngine::Off);
    if (outcome.current)
        mMakeCurrent(outcome.current->x(), outcome.current->y());
    Result result;
    result.closeDialog = outcome.closeDialog;
    if (outcome.notFound)
        result.message = ReplaceStep::notFoundMessage();
    else if (outcome.skipped > 0)
        result.message = Message{QStringLiteral("Replace"),
                                 MessageIcon::Warning,
                                 {ReplaceStep::skippedText(outcome.skipped)},
                                 MessageButton::Ok};
    if (mode == ReplaceStep::ReplaceAll && !outcome.notFound)
        result.closingWord = ClosingWord::replaced(outcome.replacements);
    return result;
}
