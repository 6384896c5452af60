#include "table/operations/recordcommands.h"

#include "core/document/document.h"
#include "core/document/limits.h"
#include "core/platform/messageservice.h"
#include "core/platform/userfeedback.h"
#include "table/operations/confirmation.h"
#include "values/calc/calculatedfields.h"

namespace {

/// The hourglass while an edit is applied.
class BusyCursor
{
public:
    explicit BusyCursor(UserFeedback &feedback) : mFeedback(feedback) { mFeedback.setBusy(true); }
    ~BusyCursor() { mFeedback.setBusy(false); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

private:
    UserFeedback &mFeedback;
};

Message limitMessage(const QString &text)
{
    return {Limits::limitationCaption(), MessageIcon::Error, {text}, MessageButton::Ok};
}

Message informationMessage(const QString &text)
{
    return {QStringLiteral("Information"), MessageIcon::Error, {text}, MessageButton::Ok};
}

} // namespace

bool RecordCommands::refuseAtRecordLimit()
{
    if (mS.doc.database().recordCount() < Limits::MaxRecords)
        return false;
    mS.messages.show(limitMessage(Limits::tooManyRecordsMessage()));
    return true;
}

bool RecordCommands::refuseAtFieldLimit()
{
    if (mS.doc.database().fieldCount() < Limits::MaxFields)
        return false;
    mS.messages.show(limitMessage(Limits::tooManyFieldsMessage()));
    return true;
}

bool RecordCommands::insertRecordAt(int position, const QString &label)
{
    if (refuseAtRecordLimit())
        return false;
    BusyCursor busy(mS.feedback);
    CalculatedFields::NewRecord record = mS.calc.InitialiseRecord(position);
    Edit edit = Edit::change(label, EditStep::InsertRecords{position, {std::move(record.row)}});
    if (!record.counters.defs.empty())
        edit.steps.emplace_back(std::move(record.counters));
    mS.doc.apply(std::move(edit));
    return true;
}

bool RecordCommands::AppendRecord()
{
    return insertRecordAt(mS.doc.database().recordCount() + 1, QStringLiteral("append row"));
}

bool RecordCommands::InsertRecord(int row)
{
    const int n = mS.doc.database().recordCount();
    if (row < 1 || row > n)
        return false;
    return insertRecordAt(row, QStringLiteral("insert row"));
}

bool RecordCommands::DeleteRecord(int row, bool expertMode)
{
    const int n = mS.doc.database().recordCount();
    if (row < 1 || row > n)
        return false;
    if (n <= 1) {
        mS.messages.show(informationMessage(QStringLiteral("You mustn't delete the first row!")));
        return false;
    }
    if (!confirmUnlessExpert(mS.messages, QStringLiteral("Do you want to delete the selected row?"),
                             expertMode))
        return false;
    BusyCursor busy(mS.feedback);
    mS.doc.apply(Edit::change(QStringLiteral("delete row"), EditStep::RemoveRecords{row, 1}));
    return true;
}

bool RecordCommands::insertFieldAt(int position, const QString &label)
{
    if (refuseAtFieldLimit())
        return false;
    BusyCursor busy(mS.feedback);
    EditStep::InsertField step{position, {}, FieldDef(), std::nullopt};
    step.column.cells.push_back(QStringLiteral("Field ") + QString::number(position));
    step.column.width = NewFieldWidth;
    mS.doc.apply(Edit::change(label, std::move(step)));
    return true;
}

bool RecordCommands::AppendField()
{
    return insertFieldAt(mS.doc.database().fieldCount() + 1, QStringLiteral("append column"));
}

bool RecordCommands::InsertField(int column)
{
    const int f = mS.doc.database().fieldCount();
    if (column < 1 || column > f)
        return false;
    return insertFieldAt(column, QStringLiteral("insert column"));
}

bool RecordCommands::DeleteField(int column, bool expertMode)
{
    const int f = mS.doc.database().fieldCount();
    if (column < 1 || column > f)
        return false;
    if (f <= 1) {
        mS.messages.show(
            informationMessage(QStringLiteral("You mustn't delete the first column!")));
        return false;
    }
    if (!confirmUnlessExpert(
            mS.messages, QStringLiteral("Do you want to delete the selected column?"), expertMode))
        return false;
    BusyCursor busy(mS.feedback);
    mS.doc.apply(Edit::change(QStringLiteral("delete column"), EditStep::RemoveField{column, {}}));
    return true;
}
