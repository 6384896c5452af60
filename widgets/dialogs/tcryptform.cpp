#include "widgets/dialogs/tcryptform.h"

#include "core/platform/messageservice.h"
#include "widgets/dialogs/dialogopening.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TCryptForm::TCryptForm(MessageService &messages, QWidget *parent)
    : QDialog(parent), mMessages(messages), L_Cry1(new QLabel(this)),
      L_Cry2(new QLabel(CryptFormRules::hintLabel(), this)),
      L_Cry3(new QLabel(CryptFormRules::passwordLabel(), this)),
      L_Cry4(new QLabel(CryptFormRules::repeatLabel(), this)), E_Password1(new QLineEdit(this)),
      E_Password2(new QLineEdit(this)), B_OK(new QPushButton(QStringLiteral("&OK"), this)),
      B_Cancel(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setModal(true);
    DialogOpening::install(this);
    E_Password1->setEchoMode(QLineEdit::Password);
    E_Password2->setEchoMode(QLineEdit::Password);
    L_Cry3->setBuddy(E_Password1);
    L_Cry4->setBuddy(E_Password2);

    auto *fields = new QGridLayout;
    fields->addWidget(L_Cry3, 0, 0);
    fields->addWidget(E_Password1, 0, 1);
    fields->addWidget(L_Cry4, 1, 0);
    fields->addWidget(E_Password2, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(L_Cry1);
    layout->addWidget(L_Cry2);
    layout->addLayout(fields);
    layout->addLayout(buttons);

    B_OK->setDefault(true);
    connect(B_OK, &QPushButton::clicked, this, &TCryptForm::B_OKClick);
    connect(B_Cancel, &QPushButton::clicked, this, &TCryptForm::B_CancelClick);
    // Enter in the first entry acts like OK.
    connect(E_Password1, &QLineEdit::returnPressed, this, &TCryptForm::B_OKClick);
}

QString TCryptForm::execute(CryptFormRules::Mode mode)
{
    mRules.setMode(mode);
    FormShow();
    exec();
    return mPassword;
}

void TCryptForm::FormShow()
{
    setWindowTitle(mRules.caption());
    L_Cry1->setText(mRules.firstLabel());
    const bool repeat = mRules.showsRepeat();
    L_Cry2->setVisible(repeat);
    L_Cry4->setVisible(repeat);
    E_Password2->setVisible(repeat);
    E_Password1->clear();
    E_Password2->clear();
    mPassword.clear();
    adjustSize();
    E_Password1->setFocus();
}

void TCryptForm::B_OKClick()
{
    const CryptFormRules::Outcome outcome = mRules.ok(E_Password1->text(), E_Password2->text());
    if (!outcome.accepted) {
        mMessages.show(outcome.error);
        E_Password1->clear();
        E_Password2->clear();
        E_Password1->setFocus();
        return;
    }
    mPassword = outcome.password;
    accept();
}

void TCryptForm::B_CancelClick()
{
    mPassword = CryptFormRules::cancel();
    reject();
}

void TCryptForm::setEditFont(const QFont &font)
{
    E_Password1->setFont(font);
    E_Password2->setFont(font);
}
