#pragma once

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/files/databaseshell.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "core/platform/qt/systemclock.h"
#include "interchange/hotsync/tuserdata.h"
#include "rules/grid/columnautosize.h"
#include "rules/settings/initialdirectory.h"
#include "rules/settings/preferences.h"
#include "rules/settings/recentfiles.h"
#include "rules/shell/command.h"
#include "rules/shell/engineservices.h"
#include "table/filter/filterengine.h"
#include "values/calc/calculatedfields.h"
#include "widgets/mainwindow/commandhost.h"
#include "widgets/mainwindow/mainformpropertiesshell.h"
#include "widgets/platform/qtclipboard.h"
#include "widgets/platform/qtfiledialogs.h"
#include "widgets/platform/qtmessageservice.h"
#include "widgets/platform/qtpasswordprompt.h"
#include "widgets/platform/qttextmeasurer.h"
#include "widgets/platform/qtuserfeedback.h"

#include <QFont>
#include <QHash>
#include <QMainWindow>
#include <QSet>
#include <QStatusBar>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class GridContextMenu;
class GridView;
class QMimeData;
class QStackedWidget;
class StartPage;
class QAction;
class QLabel;
class QMenu;
class QTimer;
class QUrl;
class SettingsStore;
class TCryptForm;

/**
 * The main window: it owns the run's one Document and the services the
 * engine works through (gathered in EngineServices), offers every command in
 * its menus, toolbar and shortcuts, keeps the caption and the status bar
 * current and guards unsaved changes. The commands' own work lives in the
 * engine; the bindings of each menu (EditingBindings, FindBindings...) tie
 * it to the widgets through the services, the grid and this window as
 * their CommandHost.
 */
class TMainForm : public QMainWindow, public DatabaseShell, public CommandHost
{
    Q_OBJECT

public:
    /// Services that replace the window's own message boxes and file
    /// dialogs (tests script them); null ones are the window's.
    struct Overrides
    {
        MessageService *messages = nullptr;
        FileDialogs *dialogs = nullptr;
        /// The font dialog: the chosen font, or none when cancelled.
        std::function<std::optional<QFont>(const QFont &)> chooseFont;
        /// The desktop's "open" of a web address or file; calls the
        /// function given, now or later, when no program took it.
        std::function<void(const QUrl &, std::function<void()>)> openUrl;
        /// The synchronisation software to ask at start; none given: the
        /// platform's.
        std::function<std::vector<std::unique_ptr<SyncSoftware>>()> syncSoftware;
        /// Whether the desktop software may be there, so that its absence
        /// is a message box at start; none given: the platform's answer.
        std::optional<bool> desktopSoftwareExpected;
    };

    /// @p settings is where the preferences are read at start and written
    /// when the window closes; the window does not own it.
    explicit TMainForm(SettingsStore &settings, QWidget *parent = nullptr);
    TMainForm(SettingsStore &settings, Overrides overrides, QWidget *parent = nullptr);
    ~TMainForm() override;

    /// Opens the file named on the command line, once the window shows.
    void setCommandLineFile(const QString &path) { mCommandLineFile = path; }

    /// The engine's services of this window's run, which it hands to the
    /// bindings of its commands.
    const EngineServices &services() const { return mServices; }
    GridView *grid() const { return mGrid; }
    /// The menu item of recent file @p slot (1..5), and the separator above them.
    QAction *recentFileAction(int slot) const { return mRecentActions.at(size_t(slot - 1)); }
    QAction *recentFilesSeparator() const { return mRecentSeparator; }
    /// The text of status panel @p panel (0..7).
    QString statusPanelText(int panel) const;

    // DatabaseShell
    bool ConfirmDiscardChanges() override;
    void AddRecentFile(const QString &path) override;
    void SetupGrid(bool open) override;
    QString initialDirectory() const override { return mInitialDirectory; }
    void clearInitialDirectory() override { mInitialDirectory.clear(); }
    void setInitialDirPath(const QString &folder) override { mPreferences.initialDirPath = folder; }
    bool expertMode() const override { return mPreferences.expertMode; }
    void applySimpleFilter() override { mFilter.ApplyFilter(FilterEngine::Simple); }
    void focusGrid() override;
    void setCurrentRow(int row) override;
    void bringCellIntoView(int column, int row) override;

    // CommandHost
    void bindCommand(Command command, std::function<void()> handler) override;
    QAction *action(Command command) const override { return mActions.value(int(command)); }
    void updateCommandStates() override;
    void UpdateStatus() override;
    void showClosingWord(const QString &text) override
    {
        statusBar()->showMessage(text, ClosingWordMs);
    }
    bool isDatabaseOpen() const override { return mDatabaseOpen; }
    const QFont &programFont() const override { return mProgramFont; }
    void ApplyProgramFont() override;
    void AutoSizeColumns(bool on) override;
    QMenu *contextMenu() override;

    void OpenDatabaseFile(const QString &path);
    void RefreshRecentFilesMenu();
    /// Makes @p font the program font, as the Font command does once its
    /// dialog is confirmed: sizes above 12 points become 12, and the
    /// columns keep their widths in width units.
    void setProgramFont(QFont font);
    /// The separators of the system, saved at start.
    const NumberSeparators &systemSeparators() const { return mSystemSeparators; }
    /// The file dialogs' initial folder from the preferences and the
    /// selected handheld user.
    void UpdateInitialDirectory()
    {
        mInitialDirectory = InitialDirectory::UpdateInitialDirectory(
            mPreferences, mUserData.BackupFolder(mSelectedSyncUser));
    }

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    /// How long the status bar says what a command did.
    static constexpr int ClosingWordMs = 6000;

    const Database &database() const { return mDocument.database(); }
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void loadPreferences();
    void savePreferences();
    void createContextMenu();
    void OpenCommandLineFile();
    bool saveFlow(bool saveAs);

    void Close1Click();
    void ColSum1Click();
    void updateUndoActions();
    void Font1Click();

    SettingsStore &mSettings;
    Preferences mPreferences;
    RecentFiles mRecentFiles;
    NumberSeparators mSystemSeparators;
    QFont mProgramFont;

    Document mDocument;
    QtMessageService mQtMessages;
    MessageService &mMessages;
    TCryptForm *mCryptForm;
    QtPasswordPrompt mPasswords;
    QtFileDialogs mQtDialogs;
    FileDialogs &mDialogs;
    QtUserFeedback mFeedback;
    QtClipboard mClipboard;
    LocalFileSystem mFiles;
    SystemClock mClock;
    CipherState mCipher;
    QtLocaleService mLocale;
    FilterEngine mFilter;
    CalculatedFields mCalc;
    QtTextMeasurer mMeasurer;
    ColumnAutoSize mAutoSize;
    std::function<std::optional<QFont>(const QFont &)> mChooseFont;
    /// The handheld users, and the one Install serves (not kept between runs).
    TUserData mUserData;
    int mSelectedSyncUser = 0;
    EngineServices mServices;
    std::unique_ptr<MainFormPropertiesShell> mPropertiesShell;

    GridView *mGrid;
    StartPage *mStartPage = nullptr;
    QStackedWidget *mCentral = nullptr;
    QHash<int, QAction *> mActions;
    QSet<int> mBoundCommands;
    std::array<QAction *, 5> mRecentActions{};
    QAction *mRecentSeparator = nullptr;
    std::array<QLabel *, 8> mPanels{};
    std::array<QString, 8> mPanelTexts;
    QTimer *mStatusTimer;
    GridContextMenu *mContextMenu = nullptr;
    QString mInitialDirectory;
    QString mCommandLineFile;
    bool mDatabaseOpen = false;
    bool mFirstShow = true;
    bool mClipboardText = false;
};
