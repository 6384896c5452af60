#pragma once

#include "core/platform/filedialogs.h"

class QWidget;

/// The file dialogs of the desktop.
class QtFileDialogs : public FileDialogs
{
public:
    explicit QtFileDialogs(QWidget *parent = nullptr) : mParent(parent) {}

    QString getOpenFileName(const FileDialogRequest &request) override;
    QString getSaveFileName(const FileDialogRequest &request) override;

    /// "Description|pattern|..." as a Qt name filter ("Description;;...").
    static QString qtFilter(const QString &filter);

private:
    QString run(const FileDialogRequest &request, bool save);

    QWidget *mParent;
};
