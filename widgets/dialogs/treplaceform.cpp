#include "widgets/dialogs/treplaceform.h"

#include "core/platform/messageservice.h"
#include "widgets/dialogs/dialogopening.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TReplaceForm::TReplaceForm(ReplaceFormRules &rules, MessageService &messages, QWidget *parent)
    : QDialog(parent), mRules(rules), mMessages(messages), E_Find(new QLineEdit(this)),
      E_Replace(new QLineEdit(this)), C_FindFields(new QComboBox(this)),
      CB_BeginWithString(new QCheckBox(QStringLiteral("Field must begin with String"), this)),
      CB_MatchCase(new QCheckBox(QStringLiteral("Case must match"), this)),
      B_Replace(new QPushButton(QStringLiteral("&Replace"), this)),
      B_ReplaceAll(new QPushButton(QStringLiteral("Replace &All"), this)),
      B_FindNext(new QPushButton(QStringLiteral("&Find Next"), this)),
      B_Close(new QPushButton(QStringLiteral("&Close"), this))
{
    setModal(true);
    DialogOpening::install(this);
    setWindowTitle(QStringLiteral("Replace"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    const std::pair<const char *, QWidget *> labels[] = {
        {"Find what", E_Find}, {"Replace with:", E_Replace}, {"In Field:", C_FindFields}};
    auto *controls = new QGridLayout;
    int row = 0;
    for (const auto &[text, buddy] : labels) {
        auto *label = new QLabel(QString::fromLatin1(text), this);
        label->setBuddy(buddy);
        controls->addWidget(label, row, 0);
        controls->addWidget(buddy, row++, 1);
    }
    controls->addWidget(CB_BeginWithString, row++, 1);
    controls->addWidget(CB_MatchCase, row, 1);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {B_Replace, B_ReplaceAll, B_FindNext, B_Close})
        buttons->addWidget(button);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(controls, 1);
    layout->addLayout(buttons);
    E_Find->setMinimumWidth(220);

    B_Replace->setDefault(true);
    connect(B_Replace, &QPushButton::clicked, this, [this] { press(ReplaceStep::Replace); });
    connect(B_ReplaceAll, &QPushButton::clicked, this, [this] { press(ReplaceStep::ReplaceAll); });
    connect(B_FindNext, &QPushButton::clicked, this, [this] { press(ReplaceStep::FindNext); });
    connect(B_Close, &QPushButton::clicked, this, &TReplaceForm::reject);
}

void TReplaceForm::execute(const QStringList &fields, const QFont &editFont)
{
    const ReplaceFormRules::Controls shown = mRules.show();
    for (QWidget *edit : {static_cast<QWidget *>(E_Find), static_cast<QWidget *>(E_Replace),
                          static_cast<QWidget *>(C_FindFields)})
        edit->setFont(editFont);
    C_FindFields->clear();
    C_FindFields->addItems(fields);
    C_FindFields->setCurrentIndex(shown.fieldIndex);
    E_Find->setText(shown.findText);
    E_Replace->setText(shown.replaceText);
    CB_BeginWithString->setChecked(shown.mustBegin);
    CB_MatchCase->setChecked(shown.matchCase);
    const bool replace = mRules.canReplace();
    B_Replace->setEnabled(replace);
    B_ReplaceAll->setEnabled(replace);
    B_Replace->setDefault(replace);
    B_FindNext->setDefault(!replace);
    E_Find->setFocus();
    exec();
}

ReplaceFormRules::Controls TReplaceForm::controls() const
{
    return {qMax(0, C_FindFields->currentIndex()), E_Find->text(), E_Replace->text(),
            CB_BeginWithString->isChecked(), CB_MatchCase->isChecked()};
}

void TReplaceForm::press(ReplaceStep::Mode mode)
{
    const ReplaceFormRules::Result result = mRules.press(mode, controls());
    if (result.closeDialog)
        accept();
    if (result.message)
        mMessages.show(*result.message);
    if (!result.closingWord.isEmpty())
        emit closingWord(result.closingWord);
}
