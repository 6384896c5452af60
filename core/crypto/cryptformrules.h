#pragma once

#include "core/platform/message.h"

#include <QString>

/**
 * The rules of the password dialog, without its widgets. The dialog shows
 * what caption(), firstLabel() and showsRepeat() say, passes the two entries
 * to ok() and does what the outcome says. Nothing here touches a database:
 * the caller of the dialog decides where the password goes.
 */
class CryptFormRules
{
public:
    enum class Mode
    {
        Decryption,
        Encryption
    };

    static constexpr int MinimumLength = 6;

    /// What OK leads to.
    struct Outcome
    {
        bool accepted = false; ///< the dialog closes with password
        QString password;
        Message error; ///< shown when not accepted; the entries are then emptied
    };

    explicit CryptFormRules(Mode mode = Mode::Decryption) : mMode(mode) {}

    Mode mode() const { return mMode; }
    void setMode(Mode mode) { mMode = mode; }

    QString caption() const;
    QString firstLabel() const;
    static QString passwordLabel() { return QStringLiteral("Password:"); }
    static QString hintLabel()
    {
        return QStringLiteral("(6 alphanumerical characters minimum, case-sensitive)");
    }
    static QString repeatLabel() { return QStringLiteral("Repeat Password:"); }
    /// Whether the hint, the repeat label and the second entry are shown.
    bool showsRepeat() const { return mMode == Mode::Encryption; }

    /// OK with the two entries (the second is ignored in decryption mode).
    Outcome ok(const QString &first, const QString &second) const;
    /// Cancel: the password becomes empty.
    static QString cancel() { return QString(); }

private:
    static Message passwordError(const QString &firstLine);

    Mode mMode;
};
