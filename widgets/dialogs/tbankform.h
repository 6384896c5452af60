#pragma once

#include "rules/celleditor/bankformrules.h"

#include <QDialog>

class MemoEdit;
class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QGroupBox;
class QLabel;
class QPushButton;

/**
 * The cell editor, "Edit Cell": a modal dialog over the current cell with a
 * multi-line text box and one input aid by field type. Its rules live in
 * BankFormRules; the dialog shows its controls and reports what the user
 * does. Created once and reused for every edit.
 */
class TBankForm : public QDialog
{
    Q_OBJECT

public:
    /// The size of the client area as designed; a larger font may widen it.
    static constexpr QSize DesignSize{339, 175};

    TBankForm(Document &doc, const CalculatedFields &calc, LocaleService &locale, Clock &clock,
              QWidget *parent = nullptr);

    /// Shows the dialog modally for cell (@p column, @p row); returns
    /// whether OK stored a new text.
    bool execute(int column, int row);

    /// The program font, for the text box and the popup list.
    void setEditFont(const QFont &font);

    const BankFormRules &rules() const { return mRules; }

    void done(int result) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow(int column, int row);
    void B_Edit_okClick();
    void B_Edit_CancelClick();
    void FormClose();
    /// Copies the rules' controls into the widgets.
    void showControls();

    BankFormRules mRules;
    bool mStored = false;
    bool mShowing = false;

    QGroupBox *GroupBox1;
    MemoEdit *M_Editor;
    QLabel *Label1;
    QCheckBox *CB_Boolean;
    QComboBox *CB_Popup;
    QDateTimeEdit *DateTimePicker1;
    QPushButton *B_Edit_ok;
    QPushButton *B_Edit_Cancel;
};
