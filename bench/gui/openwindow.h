#pragma once

// The main window with the largest database open, shared by the benchmarks
// of the window: made at its first use, its questions answered by a script
// and its file dialogs by paths the benchmarks give.

#include "largefiles.h"
#include "memorysettingsstore.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "widgets/mainwindow/tmainform.h"

#include <QApplication>
#include <QTemporaryDir>

#include <memory>

class OpenWindow
{
public:
    static OpenWindow &instance()
    {
        if (!sInstance)
            sInstance.reset(new OpenWindow);
        return *sInstance;
    }
    /// The window goes before the application object does.
    static void release() { sInstance.reset(); }

    TMainForm &form() { return *mForm; }
    ScriptedMessages &messages() { return mMessages; }
    /// The file dialogs: they answer with the paths queued in fileAnswers.
    ScriptedShell &dialogs() { return mDialogs; }
    /// A path in a folder of the run's own, for files the commands write.
    QString scratchPath(const QString &name) const { return mScratch.filePath(name); }

    /// Opens the large plain file and lets the window settle; what the
    /// window held is dropped unasked.
    void open()
    {
        mForm->services().document.setChanged(false);
        mForm->OpenDatabaseFile(LargeFiles::instance().plainPath);
        QApplication::processEvents();
    }

private:
    OpenWindow()
    {
        TMainForm::Overrides overrides;
        overrides.messages = &mMessages;
        overrides.dialogs = &mDialogs;
        mForm = std::make_unique<TMainForm>(mSettings, overrides);
        mForm->resize(1280, 960);
        mForm->show();
        QApplication::processEvents();
        open();
    }

    static inline std::unique_ptr<OpenWindow> sInstance;
    MemorySettingsStore mSettings;
    ScriptedMessages mMessages;
    ScriptedShell mDialogs;
    QTemporaryDir mScratch;
    std::unique_ptr<TMainForm> mForm;
};
