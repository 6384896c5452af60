#pragma once

#include "core/platform/passwordprompt.h"

class TCryptForm;

/// The password prompt through the one password dialog of the run.
class QtPasswordPrompt : public PasswordPrompt
{
public:
    explicit QtPasswordPrompt(TCryptForm &form) : mForm(form) {}

    QString askPasswordToOpen() override;
    QString askPasswordToEncrypt() override;

private:
    TCryptForm &mForm;
};
