#include "widgets/platform/qtmessageservice.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon toIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageButton QtMessageService::show(const Message &message)
{
    QMessageBox box(toIcon(message.icon), message.caption, message.lines.join(QLatin1Char('\n')),
                    QMessageBox::NoButton, mParent);
    const struct
    {
        MessageButton ours;
        QMessageBox::StandardButton qt;
    } kButtons[] = {
        {MessageButton::Ok, QMessageBox::Ok},         {MessageButton::Yes, QMessageBox::Yes},
        {MessageButton::No, QMessageBox::No},         {MessageButton::Retry, QMessageBox::Retry},
        {MessageButton::Cancel, QMessageBox::Cancel},
    };
    for (const auto &b : kButtons) {
        if (message.buttons & b.ours)
            box.addButton(b.qt);
    }
    if (message.buttons == MessageButton::None)
        box.addButton(QMessageBox::Ok);
    for (const auto &b : kButtons) {
        QAbstractButton *button = box.button(b.qt);
        for (const auto &[ours, text] : message.buttonTexts) {
            if (button && ours == b.ours)
                button->setText(text);
        }
        if (button && message.defaultButton == b.ours)
            box.setDefaultButton(b.qt);
    }
    QPushButton *dontShow = nullptr;
    if (message.buttons & MessageButton::DontShowAgain)
        dontShow = box.addButton(QStringLiteral("Don't show again"), QMessageBox::ActionRole);
    const int answer = box.exec();
    if (dontShow && box.clickedButton() == dontShow)
        return MessageButton::DontShowAgain;
    for (const auto &b : kButtons) {
        if (answer == b.qt)
            return b.ours;
    }
    // Closing the box answers as its escape button would.
    return (message.buttons & MessageButton::Cancel) ? MessageButton::Cancel : MessageButton::Ok;
}
