#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

/// The icon a message box shows beside its text.
enum class MessageIcon
{
    None,
    Information,
    Warning,
    Error,
    Question
};

/// The buttons of a message box; one of them comes back as the answer.
enum class MessageButton
{
    None = 0x00,
    Ok = 0x01,
    Cancel = 0x02,
    Yes = 0x04,
    No = 0x08,
    Retry = 0x10,
    DontShowAgain = 0x20, ///< "Don't show again": this message is not to come back
};
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

/**
 * A message or a question for the user: caption, icon, the lines of its text
 * (shown separated by a carriage return) and the buttons offered.
 */
struct Message
{
    QString caption;
    MessageIcon icon = MessageIcon::None;
    QStringList lines;
    MessageButtons buttons = MessageButton::Ok;
    /// Buttons that say what they do in words of their own ("Restore"
    /// for Yes); the others keep the usual words.
    std::vector<std::pair<MessageButton, QString>> buttonTexts = {};
    /// The button Enter chooses; None: the box's usual one.
    MessageButton defaultButton = MessageButton::None;

    /// The text as the message box shows it: the lines joined by CR.
    QString text() const { return lines.join(QLatin1Char('\r')); }

    static Message error(const QStringList &lines)
    {
        return {QStringLiteral("Error"), MessageIcon::Error, lines, MessageButton::Ok};
    }
};
