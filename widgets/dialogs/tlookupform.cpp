#include "widgets/dialogs/tlookupform.h"

#include "widgets/dialogs/dialogopening.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TLookupForm::TLookupForm(QWidget *parent)
    : QDialog(parent), L_Lookup(new QLabel(this)), L_File(new QLabel(this)),
      L_Error(new QLabel(this)), B_Open(new QPushButton(QStringLiteral("&Open"), this)),
      B_Cancel(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setWindowTitle(QStringLiteral("Open Lookup "));
    setModal(true);
    DialogOpening::install(this);
    auto *group = new QGroupBox(this);
    auto *labels = new QVBoxLayout(group);
    for (QLabel *label : {L_Lookup, L_File, L_Error}) {
        label->setWordWrap(true);
        labels->addWidget(label);
    }
    QPalette error = L_Error->palette();
    error.setColor(QPalette::WindowText, Qt::red);
    L_Error->setPalette(error);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_Open);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    setMinimumWidth(380);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    B_Open->setDefault(true);
    connect(B_Open, &QPushButton::clicked, this, &TLookupForm::B_OpenClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TLookupForm::exec(LookupFormRules &rules)
{
    mRules = &rules;
    L_Lookup->setText(rules.lookupLabel());
    L_File->setText(rules.fileLabel());
    L_Error->setText(rules.errorLabel());
    QDialog::exec();
    mRules = nullptr;
}

void TLookupForm::B_OpenClick()
{
    if (mRules->open()) {
        accept();
        return;
    }
    L_Error->setText(mRules->errorLabel());
}
