#pragma once

#include "core/platform/passwordprompt.h"

#include <deque>

/// A PasswordPrompt that gives the scripted passwords in turn, then cancels.
class ScriptedPasswords : public PasswordPrompt
{
public:
    QString askPasswordToOpen() override { return next(); }
    QString askPasswordToEncrypt() override { return next(); }

    std::deque<QString> answers;
    int asked = 0;

private:
    QString next()
    {
        ++asked;
        if (answers.empty())
            return QString();
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};
