#include "rules/find/replaceformrules.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/userfeedback.h"
#include "table/filter/filterengine.h"

ReplaceFormRules::ReplaceFormRules(Document &doc, const LocaleService &locale, FilterEngine &filter,
                                   UserFeedback &feedback,
                                   std::function<void(int, int)> makeCurrent,
                                   const CalculatedFields *calc)
    : mDoc(doc), mFilter(filter), mFeedback(feedback), mMakeCurrent(std::move(makeCurrent)),
      mStep(doc, locale, calc)
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
    const bool busy = mode == ReplaceStep::ReplaceAll;
    if (busy)
        mFeedback.setBusy(true);
    const ReplaceStep::Outcome outcome = mStep.run(mode, query);
    if (busy)
        mFeedback.setBusy(false);
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
    return result;
}
