#pragma once

#include "core/files/databaseshell.h"
#include "core/platform/filedialogs.h"
#include "core/platform/userfeedback.h"

#include <QStringList>

#include <deque>

/**
 * A main window, file dialogs and feedback that record what the engine asks
 * of them, as lines of a log, and answer from a script.
 */
class ScriptedShell : public DatabaseShell, public FileDialogs, public UserFeedback
{
public:
    bool ConfirmDiscardChanges() override
    {
        log << QStringLiteral("confirm");
        return discard;
    }
    void AddRecentFile(const QString &path) override { log << QStringLiteral("recent ") + path; }
    void SetupGrid(bool open) override
    {
        log << (open ? QStringLiteral("setup open") : QStringLiteral("setup closed"));
    }
    QString initialDirectory() const override { return initialDir; }
    void clearInitialDirectory() override
    {
        initialDir.clear();
        log << QStringLiteral("clear initial dir");
    }
    void setInitialDirPath(const QString &folder) override
    {
        log << QStringLiteral("dir path ") + folder;
    }
    bool expertMode() const override { return expert; }
    void applySimpleFilter() override { log << QStringLiteral("filter"); }
    void focusGrid() override { log << QStringLiteral("focus"); }
    void setCurrentRow(int row) override { log << QStringLiteral("current %1").arg(row); }
    void bringCellIntoView(int column, int row) override
    {
        log << QStringLiteral("show %1,%2").arg(column).arg(row);
    }

    QString getOpenFileName(const FileDialogRequest &request) override
    {
        requests.push_back(request);
        choose(request);
        log << QStringLiteral("open dialog");
        return take();
    }
    QString getSaveFileName(const FileDialogRequest &request) override
    {
        requests.push_back(request);
        choose(request);
        log << QStringLiteral("save dialog");
        return take();
    }

    void beep() override { log << QStringLiteral("beep"); }
    void setBusy(bool on) override
    {
        log << (on ? QStringLiteral("busy") : QStringLiteral("idle"));
    }

    QStringList log;
    bool discard = true;
    bool expert = false;
    QString initialDir;
    std::deque<QString> fileAnswers;
    std::vector<FileDialogRequest> requests;
    int chosenFilter = 0; ///< the file type the user picks (0: the one shown)

private:
    void choose(const FileDialogRequest &request)
    {
        if (request.chosenFilter && chosenFilter > 0)
            *request.chosenFilter = chosenFilter;
    }
    QString take()
    {
        if (fileAnswers.empty())
            return QString();
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};
