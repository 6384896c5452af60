#pragma once

#include "core/platform/message.h"

/**
 * Shows messages and asks questions. The editor implements it with message
 * boxes, the command-line tool with standard error, and tests with a script
 * that records every message and answers every question.
 */
class MessageService
{
public:
    virtual ~MessageService() = default;

    /// Shows @p message modally and returns the button chosen. A message
    /// with only an OK button returns MessageButton::Ok.
    virtual MessageButton show(const Message &message) = 0;
};
