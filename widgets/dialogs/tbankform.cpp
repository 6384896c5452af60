#include "widgets/dialogs/tbankform.h"

#include "core/platform/qt/qtlocaleservice.h"
#include "widgets/dialogs/dialogopening.h"
#include "widgets/dialogs/memoedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

TBankForm::TBankForm(Document &doc, const CalculatedFields &calc, LocaleService &locale,
                     Clock &clock, QWidget *parent)
    : QDialog(parent), mRules(doc, calc, locale, clock), GroupBox1(new QGroupBox(this)),
      M_Editor(new MemoEdit(GroupBox1)), Label1(new QLabel(GroupBox1)),
      CB_Boolean(new QCheckBox(QStringLiteral("Boolean"), GroupBox1)),
      CB_Popup(new QComboBox(GroupBox1)), DateTimePicker1(new QDateTimeEdit(GroupBox1)),
      B_Edit_ok(new QPushButton(QStringLiteral("&OK"), this)),
      B_Edit_Cancel(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setModal(true);
    DialogOpening::install(this);
    setWindowTitle(QStringLiteral("Edit Cell"));
    // A fixed border: no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    CB_Popup->setEditable(false);
    CB_Popup->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    CB_Popup->setMinimumContentsLength(16);
    DateTimePicker1->setMinimumWidth(120);

    // The text box fills the frame; below it the label or the input aid,
    // and the buttons.
    auto *frame = new QVBoxLayout(GroupBox1);
    frame->addWidget(M_Editor, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Label1);
    bottom->addWidget(CB_Boolean);
    bottom->addWidget(CB_Popup);
    bottom->addWidget(DateTimePicker1);
    bottom->addStretch(1);
    bottom->addWidget(B_Edit_ok);
    bottom->addWidget(B_Edit_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1, 1);
    layout->addLayout(bottom);

    B_Edit_ok->setDefault(true);
    B_Edit_ok->setAutoDefault(false);
    B_Edit_Cancel->setAutoDefault(false);
    connect(B_Edit_ok, &QPushButton::clicked, this, &TBankForm::B_Edit_okClick);
    connect(B_Edit_Cancel, &QPushButton::clicked, this, &TBankForm::B_Edit_CancelClick);
    connect(M_Editor, &MemoEdit::userEdited, this,
            [this] { mRules.setEditorText(M_Editor->text()); });
    // The tick has changed by the time the mouse is released.
    connect(CB_Boolean, &QCheckBox::clicked, this, [this](bool ticked) {
        mRules.CB_BooleanMouseUp(ticked);
        showControls();
    });
    connect(CB_Popup, &QComboBox::activated, this, [this](int index) {
        mRules.CB_PopupChange(index);
        showControls();
    });
    connect(DateTimePicker1, &QDateTimeEdit::dateTimeChanged, this, [this](const QDateTime &value) {
        if (mShowing)
            return;
        mRules.DateTimePicker1Change(QDateTime(value.date(), value.time(), Qt::UTC));
        showControls();
    });
    // A click on the picker writes its value too, changed or not.
    DateTimePicker1->installEventFilter(this);
    for (QObject *child : DateTimePicker1->children()) {
        if (auto *edit = qobject_cast<QLineEdit *>(child))
            edit->installEventFilter(this);
    }
    showControls();
}

bool TBankForm::execute(int column, int row)
{
    mStored = false;
    FormShow(column, row);
    exec();
    return mStored;
}

void TBankForm::FormShow(int column, int row)
{
    mRules.FormShow(column, row);
    showControls();
    // The size the shown controls need, at least the design's.
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->invalidate();
    layout()->activate();
    const QSize size = layout()->totalSizeHint().expandedTo(DesignSize);
    setFixedSize(size);
    M_Editor->moveCursor(mRules.controls().caretAtEnd ? QTextCursor::End : QTextCursor::Start);
    M_Editor->setFocus();
}

void TBankForm::showControls()
{
    const BankFormRules::Controls &c = mRules.controls();
    mShowing = true;
    GroupBox1->setTitle(c.frameCaption);
    if (M_Editor->text() != c.editorText) {
        M_Editor->setText(c.editorText);
        M_Editor->moveCursor(c.caretAtEnd ? QTextCursor::End : QTextCursor::Start);
    }
    Label1->setText(c.labelText);
    Label1->setVisible(c.labelVisible);
    CB_Boolean->setChecked(c.booleanChecked);
    CB_Boolean->setVisible(c.booleanVisible);
    CB_Boolean->setEnabled(c.booleanEnabled);
    {
        const QSignalBlocker block(CB_Popup);
        QStringList shown;
        for (int i = 0; i < CB_Popup->count(); ++i)
            shown << CB_Popup->itemText(i);
        if (shown != c.popupItems) {
            CB_Popup->clear();
            CB_Popup->addItems(c.popupItems);
        }
        CB_Popup->setCurrentIndex(c.popupIndex);
        CB_Popup->setPlaceholderText(c.popupText);
    }
    CB_Popup->setVisible(c.popupVisible);
    CB_Popup->setEnabled(c.popupEnabled);
    const bool time = c.pickerKind == BankFormRules::PickerKind::Time;
    const QLocale locale;
    DateTimePicker1->setDisplayFormat(
        time ? QtLocaleService::withoutTimeZone(locale.timeFormat(QLocale::LongFormat))
             : QtLocaleService::withFourDigitYear(locale.dateFormat(QLocale::ShortFormat)));
    DateTimePicker1->setCalendarPopup(!time);
    if (c.pickerValue.isValid())
        DateTimePicker1->setDateTime(QDateTime(c.pickerValue.date(), c.pickerValue.time()));
    DateTimePicker1->setVisible(c.pickerVisible);
    DateTimePicker1->setEnabled(c.pickerEnabled);
    mShowing = false;
}

bool TBankForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease && DateTimePicker1->isEnabled()) {
        const QDateTime value = DateTimePicker1->dateTime();
        mRules.DateTimePicker1Change(QDateTime(value.date(), value.time(), Qt::UTC));
        showControls();
    }
    return QDialog::eventFilter(watched, event);
}

void TBankForm::B_Edit_okClick()
{
    mStored = mRules.B_Edit_okClick();
    accept();
}

void TBankForm::B_Edit_CancelClick()
{
    reject();
}

void TBankForm::done(int result)
{
    // Cancel, Escape and the close box come here as well as OK.
    FormClose();
    QDialog::done(result);
}

void TBankForm::FormClose()
{
    mRules.FormClose();
    showControls();
}

void TBankForm::setEditFont(const QFont &font)
{
    M_Editor->setFont(font);
    CB_Popup->setFont(font);
}
