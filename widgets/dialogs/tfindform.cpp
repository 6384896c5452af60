#include "widgets/dialogs/tfindform.h"

#include "widgets/dialogs/dialogopening.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFindForm::TFindForm(FindFormRules &rules, QWidget *parent)
    : QDialog(parent), mRules(rules), E_Find(new QLineEdit(this)),
      C_FindFields(new QComboBox(this)),
      CB_FmbwS(new QCheckBox(QStringLiteral("Field must begin with String"), this)),
      CB_FindFromStart(new QCheckBox(QStringLiteral("Find from the start"), this)),
      B_Find(new QPushButton(QStringLiteral("&Find"), this)),
      B_Close(new QPushButton(QStringLiteral("&Close"), this))
{
    setModal(true);
    DialogOpening::install(this);
    setWindowTitle(QStringLiteral("Find"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *findLabel = new QLabel(QStringLiteral("Find  what:"), this);
    findLabel->setBuddy(E_Find);
    auto *fieldLabel = new QLabel(QStringLiteral("in Field"), this);
    fieldLabel->setBuddy(C_FindFields);

    auto *controls = new QGridLayout;
    controls->addWidget(findLabel, 0, 0);
    controls->addWidget(E_Find, 0, 1);
    controls->addWidget(fieldLabel, 1, 0);
    controls->addWidget(C_FindFields, 1, 1);
    controls->addWidget(CB_FmbwS, 2, 1);
    controls->addWidget(CB_FindFromStart, 3, 1);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(B_Find);
    buttons->addWidget(B_Close);
    buttons->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(controls, 1);
    layout->addLayout(buttons);
    E_Find->setMinimumWidth(220);

    B_Find->setDefault(true);
    connect(B_Find, &QPushButton::clicked, this, &TFindForm::B_FindClick);
    connect(B_Close, &QPushButton::clicked, this, &TFindForm::reject);
}

void TFindForm::execute(const QStringList &fields, const QFont &editFont)
{
    const FindFormRules::Controls shown = mRules.showFind();
    E_Find->setFont(editFont);
    C_FindFields->setFont(editFont);
    C_FindFields->clear();
    C_FindFields->addItems(fields);
    C_FindFields->setCurrentIndex(shown.fieldIndex);
    E_Find->setText(shown.text);
    E_Find->selectAll();
    CB_FmbwS->setChecked(shown.mustBegin);
    CB_FindFromStart->setChecked(shown.fromStart);
    E_Find->setFocus();
    exec();
}

void TFindForm::reject()
{
    mRules.close();
    QDialog::reject();
}

FindFormRules::Controls TFindForm::controls() const
{
    return {qMax(0, C_FindFields->currentIndex()), E_Find->text(), CB_FmbwS->isChecked(),
            CB_FindFromStart->isChecked()};
}

void TFindForm::B_FindClick()
{
    const FindFormRules::Controls values = controls();
    accept();
    mRules.find(values);
}
