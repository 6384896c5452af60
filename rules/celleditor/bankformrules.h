#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class CalculatedFields;
class Clock;
class Document;
class LocaleService;

/**
 * The rules of the cell editor ("Edit Cell"), without a widget: the value
 * and state of each of its controls, what opening it shows for the current
 * cell's field type, what each input aid writes into the text box, and what
 * OK stores. The dialog copies controls() into its widgets and reports each
 * user action here.
 *
 * Whatever an input aid does, the text box holds the value that OK stores;
 * nothing is validated. Line breaks in the text are CR LF. Columns and rows
 * are grid positions: fields 1..f, records 1..n.
 */
class BankFormRules
{
public:
    /// The text box takes at most this many characters from the keyboard or
    /// the clipboard (a line break counts as two).
    static constexpr int MaxLength = 4001;

    enum class PickerKind
    {
        Date,
        Time
    };

    /// Every control's value and state.
    struct Controls
    {
        QString frameCaption;    ///< GroupBox1
        QString editorText;      ///< M_Editor
        bool caretAtEnd = false; ///< M_Editor's caret after its last character
        QString labelText;       ///< Label1
        bool labelVisible = false;
        bool booleanChecked = false; ///< CB_Boolean
        bool booleanVisible = false;
        bool booleanEnabled = false;
        QStringList popupItems; ///< CB_Popup
        int popupIndex = -1;    ///< the selected item, -1 for none
        QString popupText;      ///< shown while no item is selected
        bool popupVisible = false;
        bool popupEnabled = false;
        PickerKind pickerKind = PickerKind::Date; ///< DateTimePicker1
        QDateTime pickerValue;                    ///< the wall-clock value, held as UTC
        bool pickerVisible = false;
        bool pickerEnabled = false;

        bool operator==(const Controls &) const = default;
    };

    BankFormRules(Document &doc, const CalculatedFields &calc, LocaleService &locale, Clock &clock);

    const Controls &controls() const { return mControls; }
    /// The cell being edited.
    int column() const { return mColumn; }
    int row() const { return mRow; }

    /// Opening for cell (@p column, @p row): the frame caption, the cell's
    /// text, the label and the input aid of the field's type.
    void FormShow(int column, int row);

    /// The user changed the text box.
    void setEditorText(const QString &text) { mControls.editorText = text; }
    /// The check box was released with the tick @p ticked: "1" or "0".
    void CB_BooleanMouseUp(bool ticked);
    /// The user chose popup item @p index: it replaces the text, or for a
    /// Multiple Popup field is added with the field's separator.
    void CB_PopupChange(int index);
    /// The picker changed or was clicked, now showing @p value: its date in
    /// the short date format or its time in the long time format.
    void DateTimePicker1Change(const QDateTime &value);

    /// OK: stores the text when it differs from the cell's, as one undoable
    /// edit with the record restamped and its calculated cells current.
    /// Returns whether anything was stored.
    bool B_Edit_okClick();
    /// Every close (OK, Cancel, Escape, the close box): back to the design
    /// state.
    void FormClose();

    /// The separator a Multiple Popup field puts between items, by its
    /// setting 1: 0 a space, 1 a comma, 2 a line break, otherwise none.
    static QString popupSeparator(int setting);
    /// What may be inserted of @p insert into a text box of @p length
    /// characters that has @p selected of them selected (and so replaced):
    /// the part that keeps the text within MaxLength, line breaks counting
    /// as two characters. A text already longer stays as it is; it only
    /// cannot grow.
    static QString fitInsertion(int length, int selected, const QString &insert);

private:
    Document &mDoc;
    const CalculatedFields &mCalc;
    LocaleService &mLocale;
    Clock &mClock;
    Controls mControls;
    int mColumn = 0;
    int mRow = 0;
    int mFieldType = 0;
    int mSeparatorSetting = 0;
};
