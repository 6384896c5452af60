#pragma once

class CalculatedFields;
class Clipboard;
class Document;
class MessageService;
class UserFeedback;

/// What the row, column and cell commands work through. Each must outlive
/// the commands that use it.
struct TableServices
{
    Document &doc;
    const CalculatedFields &calc;
    MessageService &messages;
    UserFeedback &feedback;
    Clipboard &clipboard;
};
