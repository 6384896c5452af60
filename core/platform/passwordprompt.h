#pragma once

#include <QString>

/**
 * Asks the user for a database password (the password dialog in its two
 * modes). Both calls return the entered password, or an empty text when the
 * user cancelled. Neither touches the open database: the caller decides where
 * the password goes.
 */
class PasswordPrompt
{
public:
    virtual ~PasswordPrompt() = default;

    /// The dialog in decryption mode: one entry.
    virtual QString askPasswordToOpen() = 0;
    /// The dialog in encryption mode: two entries that must agree.
    virtual QString askPasswordToEncrypt() = 0;
};
