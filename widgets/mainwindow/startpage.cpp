#include "widgets/mainwindow/startpage.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

StartPage::StartPage(const QList<QAction *> &commands, QWidget *parent)
    : QWidget(parent), mRecentLayout(nullptr), mRecentBox(new QWidget(this)),
      mDeliveryNotice(new QLabel(this))
{
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);

    auto *title = new QLabel(QStringLiteral("Quillgrid 5"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    title->setFont(big);
    auto *subtitle =
        new QLabel(QStringLiteral("Open a Listora database, or start a new one."), this);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    for (QAction *command : commands) {
        auto *button = new QToolButton(this);
        button->setDefaultAction(command);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        button->setIconSize(QSize(24, 24));
        button->setAutoRaise(false);
        button->setMinimumWidth(140);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    auto *recentTitle = new QLabel(QStringLiteral("Recent files"), mRecentBox);
    QFont bold = recentTitle->font();
    bold.setBold(true);
    recentTitle->setFont(bold);
    mRecentLayout = new QVBoxLayout(mRecentBox);
    mRecentLayout->setContentsMargins(0, 0, 0, 0);
    mRecentLayout->setSpacing(2);
    mRecentLayout->addWidget(recentTitle);

    mDeliveryNotice->setObjectName(QStringLiteral("deliveryNotice"));
    mDeliveryNotice->setText(QStringLiteral("Handheld delivery is not set up. <a "
                                            "href=\"setup\">Set up handheld delivery…</a>"));
    mDeliveryNotice->setTextInteractionFlags(Qt::LinksAccessibleByMouse |
                                             Qt::LinksAccessibleByKeyboard);
    mDeliveryNotice->setForegroundRole(QPalette::PlaceholderText);
    mDeliveryNotice->setVisible(false);
    connect(mDeliveryNotice, &QLabel::linkActivated, this, &StartPage::deliverySetupRequested);

    auto *page = new QVBoxLayout(this);
    page->setContentsMargins(48, 40, 48, 40);
    page->setSpacing(14);
    page->addWidget(title);
    page->addWidget(subtitle);
    page->addSpacing(8);
    page->addLayout(buttons);
    page->addSpacing(16);
    page->addWidget(mRecentBox);
    page->addStretch(1);
    page->addWidget(mDeliveryNotice);
}

void StartPage::setDeliveryNotice(bool shown)
{
    mDeliveryNotice->setVisible(shown);
}

void StartPage::setRecentFiles(const QList<QAction *> &actions)
{
    // Everything below the heading goes, then the visible entries come.
    while (mRecentLayout->count() > 1) {
        QLayoutItem *item = mRecentLayout->takeAt(1);
        delete item->widget();
        delete item;
    }
    int shown = 0;
    for (QAction *action : actions) {
        if (!action->isVisible())
            continue;
        auto *button = new QToolButton(mRecentBox);
        button->setDefaultAction(action);
        button->setAutoRaise(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        mRecentLayout->addWidget(button, 0, Qt::AlignLeft);
        ++shown;
    }
    mRecentBox->setVisible(shown > 0);
}
