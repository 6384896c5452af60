#include "widgets/dialogs/tdateiform.h"

#include "core/platform/messageservice.h"
#include "widgets/dialogs/dialogopening.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

QComboBox *editableList(const char *const *items, const char *initial, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const char *const *item = items; *item; ++item)
        box->addItem(QString::fromLatin1(*item));
    box->setEditText(QString::fromLatin1(initial));
    return box;
}

} // namespace

TDateiForm::TDateiForm(MessageService &messages, QWidget *parent)
    : QDialog(parent), mMessages(messages), E_Name(new QLineEdit(this))
{
    setWindowTitle(QStringLiteral("New Database"));
    setModal(true);
    DialogOpening::install(this);
    static const char *const columns[] = {"1",  "2",  "3",  "5",  "10",   "15",
                                          "20", "30", "40", "50", nullptr};
    static const char *const rows[] = {"1",   "2",   "5",   "10",   "20",   "50",
                                       "100", "200", "500", "1000", nullptr};
    static const char *const widths[] = {"10", "16", "20",  "30",  "40",  "50",
                                         "60", "80", "100", "160", "300", nullptr};
    ColBox = editableList(columns, "5", this);
    RowBox = editableList(rows, "10", this);
    C_FieldWidth = editableList(widths, "60", this);
    C_FieldType = new QComboBox(this);
    C_FieldType->addItems(NewDatabaseRules::typeTexts());
    B_NewDatabase = new QPushButton(QStringLiteral("&OK"), this);
    B_Cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    for (QComboBox *digits : {ColBox, RowBox}) {
        // The combo box hands its keys to its line edit: both are watched.
        digits->installEventFilter(this);
        digits->lineEdit()->installEventFilter(this);
        digits->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), digits));
    }

    auto *database = new QGroupBox(QStringLiteral(" Database setup "), this);
    auto *databaseLayout = new QFormLayout(database);
    databaseLayout->addRow(QStringLiteral("Name"), E_Name);
    databaseLayout->addRow(QStringLiteral("Columns"), ColBox);
    databaseLayout->addRow(QStringLiteral("Rows"), RowBox);
    auto *field = new QGroupBox(QStringLiteral(" Field setup "), this);
    auto *fieldLayout = new QFormLayout(field);
    fieldLayout->addRow(QStringLiteral("Type"), C_FieldType);
    fieldLayout->addRow(QStringLiteral("Width"), C_FieldWidth);
    // The boxes of both groups start at one line.
    int labelWidth = 0;
    const std::pair<QFormLayout *, QWidget *> labelled[] = {{databaseLayout, E_Name},
                                                            {databaseLayout, ColBox},
                                                            {databaseLayout, RowBox},
                                                            {fieldLayout, C_FieldType},
                                                            {fieldLayout, C_FieldWidth}};
    for (const auto &[form, box] : labelled)
        labelWidth = qMax(labelWidth, form->labelForField(box)->sizeHint().width());
    for (const auto &[form, box] : labelled)
        form->labelForField(box)->setMinimumWidth(labelWidth);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_NewDatabase);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(database);
    layout->addWidget(field);
    layout->addLayout(buttons);
    setMinimumWidth(320);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    // Tab goes down the dialog as it is laid out.
    setTabOrder(E_Name, ColBox);
    setTabOrder(ColBox, RowBox);
    setTabOrder(RowBox, C_FieldType);
    setTabOrder(C_FieldType, C_FieldWidth);
    setTabOrder(C_FieldWidth, B_NewDatabase);
    setTabOrder(B_NewDatabase, B_Cancel);
    // Enter in Type and Width confirms with what they show; a box of the
    // list would otherwise take it to pick an entry of its own.
    const QList<QWidget *> confirming{C_FieldType, C_FieldWidth, C_FieldWidth->lineEdit()};
    for (QWidget *box : confirming)
        box->installEventFilter(this);

    B_NewDatabase->setDefault(true);
    connect(B_NewDatabase, &QPushButton::clicked, this, &TDateiForm::B_NewDatabaseClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

std::optional<NewDatabaseRules::Choices> TDateiForm::execute()
{
    FormShow();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return choices();
}

void TDateiForm::FormShow()
{
    // The name and the type start afresh; the numbers stay as last set.
    E_Name->setText(QStringLiteral("New"));
    C_FieldType->setCurrentIndex(0);
    E_Name->setFocus();
    E_Name->selectAll();
}

NewDatabaseRules::Choices TDateiForm::choices() const
{
    NewDatabaseRules::Choices c;
    c.name = E_Name->text();
    c.rows = RowBox->currentText();
    c.columns = ColBox->currentText();
    c.type = C_FieldType->currentIndex();
    c.width = C_FieldWidth->currentText();
    return c;
}

void TDateiForm::B_NewDatabaseClick()
{
    if (const std::optional<Message> failure = NewDatabaseRules::check(choices())) {
        mMessages.show(*failure);
        return;
    }
    accept();
}

bool TDateiForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool confirm = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == C_FieldType || watched == C_FieldWidth || watched == C_FieldWidth->lineEdit()) {
        if (confirm)
            B_NewDatabase->click();
        return confirm;
    }
    // Columns and Rows take the digits and Backspace; every other key that
    // types or confirms (Enter included) is dropped. Moving keys still move.
    const QString text = key->text();
    const bool digit = text.size() == 1 && text[0] >= u'0' && text[0] <= u'9';
    const bool typing = !text.isEmpty() && text[0].isPrint();
    if ((typing && !digit) || confirm || key->matches(QKeySequence::Paste))
        return true;
    return QDialog::eventFilter(watched, event);
}
