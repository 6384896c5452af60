#include "rules/celleditor/bankformrules.h"

#include "core/document/document.h"
#include "core/platform/clock.h"
#include "core/platform/localeservice.h"
#include "values/calc/calculatedfields.h"

#include <map>

namespace {

const QString kNoPopupItem = QStringLiteral("Select Popup Item");

/// What opening shows for each field type: the label (none for a null
/// text) and the input aid.
enum class Aid
{
    None,
    Boolean,
    Date,
    Time,
    Popup
};

struct TypeView
{
    const char *label;
    Aid aid;
};

TypeView typeView(int type)
{
    switch (type) {
    case FieldType::String:
        return {"String", Aid::None};
    case FieldType::Boolean:
        return {nullptr, Aid::Boolean};
    case FieldType::NormalDate:
        return {"Normal Date", Aid::Date};
    case FieldType::CreationDate:
        return {"Creation Date", Aid::Date};
    case FieldType::ModificationDate:
        return {"Modification Date", Aid::Date};
    case FieldType::NormalTime:
        return {"Normal Time", Aid::Time};
    case FieldType::CreationTime:
        return {"Creation Time", Aid::Time};
    case FieldType::ModificationTime:
        return {"Modification Time", Aid::Time};
    case FieldType::NormalPopup:
        return {"Popup", Aid::Popup};
    case FieldType::MultiplePopup:
        return {"Multiple Popup", Aid::Popup};
    case FieldType::NormalInteger:
        return {"Normal Integer", Aid::None};
    case FieldType::AutoIncrementInteger:
        return {"Auto-Increment Integer", Aid::None};
    case FieldType::Float:
        return {"Float", Aid::None};
    default: // the calculated types
        return {nullptr, Aid::None};
    }
}

} // namespace

BankFormRules::BankFormRules(Document &doc, const CalculatedFields &calc, LocaleService &locale,
                             Clock &clock)
    : mDoc(doc), mCalc(calc), mLocale(locale), mClock(clock)
{
    mControls.popupText = kNoPopupItem;
}

void BankFormRules::FormShow(int column, int row)
{
    const Database &db = mDoc.database();
    mColumn = column;
    mRow = row;
    const bool isCell =
        column >= 1 && column <= db.fieldCount() && row >= 1 && row <= db.recordCount();
    mControls.frameCaption = QStringLiteral(" Row:  ") + RecordGrid::recordNumberText(row) +
                             QStringLiteral("    Col:  ") + db.grid().cell(column, 0) +
                             QStringLiteral(" ");
    mControls.editorText = isCell ? db.grid().cell(column, row) : QString();
    mControls.caretAtEnd = false;
    if (!isCell)
        return;

    const FieldDef &def = db.field(column);
    mFieldType = def.type;
    mSeparatorSetting = def.setting1;
    const TypeView view = typeView(def.type);
    if (view.label) {
        mControls.labelText = QString::fromLatin1(view.label);
        if (def.type == FieldType::AutoIncrementInteger)
            mControls.labelText += QStringLiteral("  Start: ") + QString::number(def.setting1) +
                                   QStringLiteral(" Inc: ") + QString::number(def.setting2);
        mControls.labelVisible = true;
    }
    switch (view.aid) {
    case Aid::None:
        break;
    case Aid::Boolean:
        // Anything but "0" counts as ticked, an empty cell included.
        mControls.booleanChecked = mControls.editorText != QStringLiteral("0");
        mControls.booleanVisible = mControls.booleanEnabled = true;
        break;
    case Aid::Date:
    case Aid::Time:
        // The picker starts at today or now, never at the cell's value.
        mControls.pickerKind = view.aid == Aid::Date ? PickerKind::Date : PickerKind::Time;
        mControls.pickerValue = mClock.now();
        mControls.pickerVisible = mControls.pickerEnabled = true;
        break;
    case Aid::Popup:
        mControls.popupItems = def.popupItems;
        mControls.popupIndex = def.popupItems.isEmpty() ? -1 : 0;
        mControls.popupVisible = mControls.popupEnabled = true;
        mControls.caretAtEnd = def.type == FieldType::MultiplePopup;
        break;
    }
}

void BankFormRules::CB_BooleanMouseUp(bool ticked)
{
    mControls.booleanChecked = ticked;
    mControls.editorText = ticked ? QStringLiteral("1") : QStringLiteral("0");
}

void BankFormRules::CB_PopupChange(int index)
{
    if (index < 0 || index >= mControls.popupItems.size())
        return;
    mControls.popupIndex = index;
    const QString &item = mControls.popupItems.at(index);
    QString &text = mControls.editorText;
    if (mFieldType == FieldType::MultiplePopup && !text.isEmpty())
        text += popupSeparator(mSeparatorSetting) + item;
    else
        text = item;
}

void BankFormRules::DateTimePicker1Change(const QDateTime &value)
{
    mControls.pickerValue = value;
    mControls.editorText = mControls.pickerKind == PickerKind::Time
                               ? mLocale.formatTime(value.time())
                               : mLocale.formatDate(value.date());
}

bool BankFormRules::B_Edit_okClick()
{
    const Database &db = mDoc.database();
    if (db.isReadOnly() || mColumn < 1 || mColumn > db.fieldCount() || mRow < 1 ||
        mRow > db.recordCount())
        return false;
    const QString &text = mControls.editorText;
    if (text == db.grid().cell(mColumn, mRow))
        return false;

    // The record is restamped from its state before the new text, so that a
    // date or time typed into a modification stamp is what the cell keeps;
    // then its calculated cells are worked out from the texts it ends with.
    std::map<int, QString> texts;
    for (const auto &change : mCalc.RecalculateRow(mRow).changes)
        texts[change.column] = change.text;
    texts[mColumn] = text;
    EditStep::Cells stored;
    for (const auto &[column, value] : texts)
        stored.changes.push_back({column, mRow, value});
    for (const auto &change : mCalc.withRecalculation(std::move(stored), false).changes)
        texts[change.column] = change.text;
    // Typed into a calculated cell, the text is still what the cell gets.
    texts[mColumn] = text;

    EditStep::Cells cells;
    for (const auto &[column, value] : texts) {
        if (value != db.grid().cell(column, mRow))
            cells.changes.push_back({column, mRow, value});
    }
    mDoc.apply(Edit::change(QStringLiteral("Edit cell"), std::move(cells)));
    return true;
}

void BankFormRules::FormClose()
{
    mControls.pickerVisible = mControls.pickerEnabled = false;
    mControls.booleanVisible = mControls.booleanEnabled = false;
    mControls.labelVisible = false;
    mControls.popupVisible = mControls.popupEnabled = false;
    mControls.popupIndex = -1;
    mControls.popupText = kNoPopupItem;
}

QString BankFormRules::popupSeparator(int setting)
{
    switch (setting) {
    case 0:
        return QStringLiteral(" ");
    case 1:
        return QStringLiteral(",");
    case 2:
        return QStringLiteral("\r\n");
    default:
        return QString();
    }
}

QString BankFormRules::fitInsertion(int length, int selected, const QString &insert)
{
    int room = MaxLength - (length - selected);
    qsizetype end = 0;
    while (end < insert.size()) {
        const QChar c = insert.at(end);
        const bool crlf = c == QLatin1Char('\r') && end + 1 < insert.size() &&
                          insert.at(end + 1) == QLatin1Char('\n');
        // Any line break is CR LF in the cell.
        const bool lineBreak = crlf || c == QLatin1Char('\n') || c == QLatin1Char('\r') ||
                               c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
        const int cost = lineBreak ? 2 : 1;
        if (cost > room)
            break;
        room -= cost;
        end += crlf ? 2 : 1;
    }
    return insert.left(end);
}
