#include "widgets/dialogs/deliverysetupform.h"

#include "rules/shell/deliverysetuprules.h"

#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

DeliverySetupForm::DeliverySetupForm(QWidget *parent)
    : QDialog(parent), L_Found(new QLabel(this)), E_Folder(new QLineEdit(this)),
      B_Browse(new QPushButton(QStringLiteral("&Browse..."), this)), E_User(new QLineEdit(this)),
      L_Error(new QLabel(this)), B_OK(new QPushButton(QStringLiteral("OK"), this)),
      B_Cancel(new QPushButton(QStringLiteral("&Cancel"), this))
{
    setWindowTitle(QStringLiteral("Handheld delivery"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto *intro = new QLabel(QStringLiteral("Install hands a database to the software that "
                                            "carries it to the handheld. On this computer:"),
                             this);
    intro->setWordWrap(true);
    L_Found->setWordWrap(true);
    L_Found->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *plain = new QGroupBox(QStringLiteral("Plain install folder"), this);
    auto *about = new QLabel(
        QStringLiteral("Any folder: the one an emulator takes .pdb files from, a card "
                       "reader, a shared folder. Install copies the database there under its "
                       "own name. Leave the folder empty to use none."),
        plain);
    about->setWordWrap(true);
    E_Folder->setObjectName(QStringLiteral("E_Folder"));
    E_User->setObjectName(QStringLiteral("E_User"));
    E_User->setMaxLength(31);
    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(E_Folder, 1);
    folderRow->addWidget(B_Browse);
    auto *folderLabel = new QLabel(QStringLiteral("&Folder:"), plain);
    folderLabel->setBuddy(E_Folder);
    auto *form = new QFormLayout;
    form->addRow(folderLabel, folderRow);
    form->addRow(QStringLiteral("&User name:"), E_User);
    auto *plainLayout = new QVBoxLayout(plain);
    plainLayout->addWidget(about);
    plainLayout->addLayout(form);

    L_Error->setWordWrap(true);
    QPalette error = L_Error->palette();
    error.setColor(QPalette::WindowText, Qt::red);
    L_Error->setPalette(error);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(L_Found);
    layout->addSpacing(6);
    layout->addWidget(plain);
    layout->addWidget(L_Error);
    layout->addLayout(buttons);
    setMinimumWidth(520);
    B_OK->setDefault(true);
    connect(B_OK, &QPushButton::clicked, this, &DeliverySetupForm::B_OKClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(B_Browse, &QPushButton::clicked, this, &DeliverySetupForm::B_BrowseClick);
}

std::optional<PlainInstallFolder::Setting> DeliverySetupForm::exec(DeliverySetupRules &rules,
                                                                   FileSystem &files)
{
    mResult.reset();
    mRules = &rules;
    mFiles = &files;
    QStringList lines;
    for (const QString &line : rules.foundLines())
        lines << QStringLiteral("\u2022 ") + line;
    L_Found->setText(lines.join(QLatin1Char('\n')));
    E_Folder->setText(QDir::toNativeSeparators(rules.folder));
    E_User->setText(rules.userName);
    L_Error->clear();
    if (QDialog::exec() != QDialog::Accepted)
        mResult.reset();
    mRules = nullptr;
    mFiles = nullptr;
    return mResult;
}

void DeliverySetupForm::B_OKClick()
{
    mRules->folder = E_Folder->text();
    mRules->userName = E_User->text();
    const DeliverySetupRules::Result result = mRules->B_OKClick(*mFiles);
    if (!result.setting) {
        L_Error->setText(result.problem);
        return;
    }
    mResult = result.setting;
    accept();
}

void DeliverySetupForm::B_BrowseClick()
{
    const QString chosen = QFileDialog::getExistingDirectory(
        this, QStringLiteral("Plain install folder"), E_Folder->text());
    if (!chosen.isEmpty())
        E_Folder->setText(QDir::toNativeSeparators(chosen));
}
