#include "widgets/platform/qtpasswordprompt.h"

#include "widgets/dialogs/tcryptform.h"

QString QtPasswordPrompt::askPasswordToOpen()
{
    return mForm.execute(CryptFormRules::Mode::Decryption);
}

QString QtPasswordPrompt::askPasswordToEncrypt()
{
    return mForm.execute(CryptFormRules::Mode::Encryption);
}
