#pragma once

#include "core/platform/messageservice.h"

#include <deque>
#include <vector>

/**
 * A MessageService that records every message and answers questions from a
 * script. Without a scripted answer it gives OK when offered, else the first
 * button offered of Cancel, No, Yes and Retry.
 */
class ScriptedMessages : public MessageService
{
public:
    MessageButton show(const Message &message) override
    {
        shown.push_back(message);
        if (!answers.empty()) {
            const MessageButton answer = answers.front();
            answers.pop_front();
            return answer;
        }
        for (MessageButton b : {MessageButton::Ok, MessageButton::Cancel, MessageButton::No,
                                MessageButton::Yes, MessageButton::Retry}) {
            if (message.buttons & b)
                return b;
        }
        return MessageButton::None;
    }

    std::vector<Message> shown;
    std::deque<MessageButton> answers;
};
