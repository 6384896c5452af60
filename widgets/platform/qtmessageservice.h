#pragma once

#include "core/platform/messageservice.h"

class QWidget;

/// Messages and questions as modal message boxes over a parent window.
class QtMessageService : public MessageService
{
public:
    explicit QtMessageService(QWidget *parent = nullptr) : mParent(parent) {}

    void setParent(QWidget *parent) { mParent = parent; }

    MessageButton show(const Message &message) override;

private:
    QWidget *mParent;
};
