#pragma once

#include <QString>

#include <optional>

/// Asks for a password on the terminal that standard input is, without
/// showing what is typed.
class TerminalPassword
{
public:
    /// Whether standard input is a terminal to ask on.
    static bool available();
    /// Shows @p prompt on standard error and reads one line with the echo
    /// off; nothing when standard input ends first.
    static std::optional<QString> ask(const QString &prompt);
};
