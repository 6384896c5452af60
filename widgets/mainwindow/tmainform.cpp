#include "widgets/mainwindow/tmainform.h"

#include "core/files/opendatabasefile.h"
#include "core/files/savedatabasefile.h"
#include "core/platform/qt/syncsoftwareproviders.h"
#include "core/platform/settingsstore.h"
#include "rules/grid/celledit.h"
#include "rules/grid/columnrescale.h"
#include "rules/grid/popupinsertion.h"
#include "rules/shell/commandtable.h"
#include "rules/shell/readonlyundo.h"
#include "rules/shell/saveflow.h"
#include "rules/shell/shellquestions.h"
#include "rules/shell/statusbarcontent.h"
#include "widgets/dialogs/fontdialog.h"
#include "widgets/dialogs/tbankform.h"
#include "widgets/dialogs/tcryptform.h"
#include "widgets/grid/gridcontextmenu.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/celleditorbindings.h"
#include "widgets/mainwindow/deliverybindings.h"
#include "widgets/mainwindow/editingbindings.h"
#include "widgets/mainwindow/filewatchbindings.h"
#include "widgets/mainwindow/filterbindings.h"
#include "widgets/mainwindow/findbindings.h"
#include "widgets/mainwindow/helpbindings.h"
#include "widgets/mainwindow/interchangebindings.h"
#include "widgets/mainwindow/printbindings.h"
#include "widgets/mainwindow/propertiesbindings.h"
#include "widgets/mainwindow/recoverybindings.h"
#include "widgets/mainwindow/sortbindings.h"
#include "widgets/mainwindow/startpage.h"
#include "widgets/mainwindow/statuspanels.h"
#include "widgets/mainwindow/toolbaricons.h"
#include "widgets/mainwindow/windowbounds.h"
#include "widgets/platform/desktopbrowser.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QUrl>

TMainForm::TMainForm(SettingsStore &settings, QWidget *parent)
    : TMainForm(settings, Overrides(), parent)
{
}

TMainForm::TMainForm(SettingsStore &settings, Overrides overrides, QWidget *parent)
    : QMainWindow(parent), mSettings(settings), mQtMessages(this),
      mMessages(overrides.messages ? *overrides.messages : mQtMessages),
      mCryptForm(new TCryptForm(mMessages, this)), mPasswords(*mCryptForm), mQtDialogs(this),
      mDialogs(overrides.dialogs ? *overrides.dialogs : mQtDialogs),
      mFilter(mDocument, mLocale, mFeedback),
      mCalc(mDocument.database(), mLocale, mClock, mFeedback), mAutoSize(mDocument, mMeasurer),
      mChooseFont(overrides.chooseFont),
      mUserData(overrides.syncSoftware ? overrides.syncSoftware()
                                       : SyncSoftwareProviders::platform(mSettings),
                mFiles),
      mServices{mDocument,  mCalc,        mFilter,   mAutoSize,         mMessages, mFeedback,
                mClipboard, mDialogs,     mFiles,    mPasswords,        mClock,    mLocale,
                mCipher,    mPreferences, mUserData, mSelectedSyncUser, *this},
      mPropertiesShell(std::make_unique<MainFormPropertiesShell>(*this)),
      mGrid(new GridView(mDocument, mCalc, mMessages, mFeedback, this)),
      mStatusTimer(new QTimer(this))
{
    mSystemSeparators = mLocale.separators();
    // Hints show on the yellow of information tips.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);
    setWindowTitle(QStringLiteral(" Quillgrid5"));
    createActions();
    HelpBindings::bind(
        mServices, *this, *this,
        overrides.openUrl ? overrides.openUrl
                          : [this](const QUrl &url, std::function<void()> failed) {
                                DesktopBrowser::open(url, this, std::move(failed));
                            });
    EditingBindings::bind(mServices, *mGrid, *this);
    CellEditorBindings::bind(mServices, *mGrid, *this);
    SortBindings::bind(mServices, *mGrid, *this);
    FindBindings::bind(mServices, *mGrid, *this);
    PrintBindings::bind(mServices, *this, *this);
    PropertiesBindings::bind(mServices, *mGrid, *this, *mPropertiesShell);
    FilterBindings::bind(mServices, *mGrid, *this);
    // Without a database the start page stands where the grid would.
    mStartPage =
        new StartPage({action(Command::Open), action(Command::New), action(Command::Import)}, this);
    mCentral = new QStackedWidget(this);
    mCentral->addWidget(mStartPage);
    mCentral->addWidget(mGrid);
    setCentralWidget(mCentral);
    setAcceptDrops(true);
    createMenus();
    createToolBar();
    createStatusBar();
    createContextMenu();
    InterchangeBindings::bind(mServices, *mGrid, *this);
    FileWatchBindings::bind(mServices, *mGrid, *this, *this);
    RecoveryBindings::bind(mServices, *mGrid, *this, *this);
    mDocument.setCurrentCellProvider(
        [this] { return QPoint(mGrid->currentGridColumn(), mGrid->currentGridRow()); });
    connect(&mDocument, &Document::historyChanged, this, &TMainForm::updateUndoActions);
    mFilter.setModeChangedHandler([this](int mode) {
        action(Command::Filter)->setChecked(mode == FilterEngine::Simple);
        action(Command::AdvancedFilter)->setChecked(mode == FilterEngine::Advanced);
    });

    SetupGrid(false);
    loadPreferences();
    DeliveryBindings::start(mServices, *this, *mStartPage, mSettings,
                            overrides.desktopSoftwareExpected.value_or(
                                SyncSoftwareProviders::desktopSoftwareExpected()),
                            [this] { UpdateInitialDirectory(); });

    // The clipboard tells when its contents change; asking it every 100 ms
    // would mean a round trip to another program each time.
    const auto clipboardChanged = [this] {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        mClipboardText = data && data->hasText() && !data->text().isEmpty();
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, clipboardChanged);
    clipboardChanged();

    connect(mStatusTimer, &QTimer::timeout, this, &TMainForm::UpdateStatus);
    mStatusTimer->start(100);
}

TMainForm::~TMainForm()
{
    // The widgets that read the database go before it does; the base class
    // would delete them only after the members are gone.
    mStatusTimer->stop();
    delete mGrid;
    mGrid = nullptr;
}

void TMainForm::createActions()
{
    for (const CommandTable::Entry &e : CommandTable::menuEntries()) {
        if (e.command == Command::RecentFile)
            continue;
        auto *a = new QAction(QString::fromLatin1(e.caption), this);
        if (*e.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        if (*e.hint)
            a->setToolTip(QString::fromLatin1(e.hint));
        a->setIcon(ToolbarIcons::commandIcon(e.command));
        a->setCheckable(CommandTable::isToggle(e.command));
        mActions.insert(int(e.command), a);
    }
    for (int slot = 0; slot < 5; ++slot) {
        auto *a = new QAction(this);
        connect(a, &QAction::triggered, this, [this, slot] {
            // A file from the list keeps the list's order.
            mFilter.ApplyFilter(FilterEngine::Off);
            OpenDatabaseFile(mRecentFiles.entry(slot + 1));
        });
        mRecentActions[size_t(slot)] = a;
    }

    mBoundCommands.insert(int(Command::RecentFile));
    bindCommand(Command::Open, [this] { OpenDatabaseFile({}); });
    bindCommand(Command::Close, [this] { Close1Click(); });
    bindCommand(Command::Save, [this] { saveFlow(false); });
    bindCommand(Command::SaveAs, [this] { saveFlow(true); });
    bindCommand(Command::Exit, [this] { close(); });
    bindCommand(Command::ColumnSum, [this] { ColSum1Click(); });
    bindCommand(Command::Undo, [this] { mDocument.undo(); });
    bindCommand(Command::Redo, [this] { mDocument.redo(); });
    action(Command::Redo)
        ->setShortcuts(
            {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    bindCommand(Command::AutoSizing, [this] { AutoSizeColumns(!mAutoSize.isOn()); });
    bindCommand(Command::Font, [this] { Font1Click(); });
}

void TMainForm::bindCommand(Command command, std::function<void()> handler)
{
    QAction *a = action(command);
    if (!a)
        return;
    mBoundCommands.insert(int(command));
    connect(a, &QAction::triggered, this, std::move(handler));
}

void TMainForm::createMenus()
{
    QHash<QString, QMenu *> menus;
    QMenu *submenu = nullptr;
    for (const CommandTable::Entry &e : CommandTable::menuEntries()) {
        const QString title = QString::fromLatin1(e.menu);
        if (title.isEmpty())
            continue; // the grid's context menu alone
        QMenu *menu = menus.value(title);
        if (!menu) {
            menu = menuBar()->addMenu(title);
            menus.insert(title, menu);
        }
        if (e.command == Command::RecentFile) {
            for (QAction *a : mRecentActions)
                menu->addAction(a);
            menu->addSeparator();
            continue;
        }
        QAction *a = action(e.command);
        if (e.submenu && submenu) {
            submenu->addAction(a);
            continue;
        }
        if (e.command == Command::FillColumn || e.command == Command::FillRow) {
            submenu = menu->addMenu(a->text());
            submenu->menuAction()->setEnabled(false);
            mActions.insert(int(e.command), submenu->menuAction());
        } else {
            menu->addAction(a);
        }
        if (e.separatorAfter) {
            QAction *separator = menu->addSeparator();
            // The separator above the recent files shows only with them.
            if (e.command == Command::ExportPdf)
                mRecentSeparator = separator;
        }
    }
}

void TMainForm::createToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Toolbar"));
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(16, 16));
    for (Command c : CommandTable::toolbar()) {
        QAction *a = action(c);
        bar->addAction(a);
    }
}

void TMainForm::createStatusBar()
{
    for (int i = 0; i < StatusBarContent::PanelCount; ++i) {
        auto *label = new QLabel(this);
        label->setAlignment(StatusBarContent::isCentred(i) ? Qt::AlignCenter
                                                           : Qt::AlignLeft | Qt::AlignVCenter);
        if (i < StatusBarContent::PanelCount - 1) {
            // At least the panel's width; wider when its text needs it, so
            // that no text runs into the next panel.
            label->setMinimumWidth(StatusPanels::minimumWidth(i, *label, mLocale));
            statusBar()->addWidget(label);
        } else {
            // The path takes what is left, shortened in the middle.
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            label->setMinimumWidth(40);
            statusBar()->addWidget(label, 1);
        }
        mPanels[size_t(i)] = label;
    }
    StatusPanels::keepWhole(statusBar());
}

void TMainForm::loadPreferences()
{
    mPreferences = Preferences::load(mSettings, mSystemSeparators);
    NumberSeparators::setCurrent(mPreferences.separatorsInForce(mSystemSeparators));
    mGrid->setAutoRightJustify(mPreferences.autoRightJust);

    mProgramFont = QFont(mPreferences.fontName, mPreferences.fontSize);
    mProgramFont.setBold(mPreferences.fontStyle & Preferences::Bold);
    mProgramFont.setItalic(mPreferences.fontStyle & Preferences::Italic);
    mProgramFont.setUnderline(mPreferences.fontStyle & Preferences::Underline);
    mProgramFont.setStrikeOut(mPreferences.fontStyle & Preferences::StrikeOut);
    ApplyProgramFont();

    const QToolBar *bar = findChild<QToolBar *>();
    const int chrome = menuBar()->sizeHint().height() + (bar ? bar->sizeHint().height() : 0) +
                       statusBar()->sizeHint().height() + 2 * GridView::RowHeight + 16;
    const QSize firstSize(bar ? bar->sizeHint().width() + 24 : 0,
                          chrome + 25 * RecordGrid::VisibleRowHeight);
    const WindowBounds::Placement place = WindowBounds::initialPlacement(mPreferences, firstSize);
    if (place.stored) {
        setGeometry(place.rect);
    } else {
        resize(place.rect.size());
        move(place.rect.topLeft());
    }
    mRecentFiles.setEntries(mPreferences.recentFiles);
    RefreshRecentFilesMenu();
}

void TMainForm::savePreferences()
{
    const QRect bounds = normalGeometry();
    mPreferences.formLeft = bounds.x();
    mPreferences.formTop = bounds.y();
    mPreferences.formWidth = bounds.width();
    mPreferences.formHeight = bounds.height();
    mPreferences.fontName = mProgramFont.family();
    mPreferences.fontSize = mProgramFont.pointSize();
    mPreferences.fontStyle = (mProgramFont.bold() ? Preferences::Bold : 0) |
                             (mProgramFont.italic() ? Preferences::Italic : 0) |
                             (mProgramFont.underline() ? Preferences::Underline : 0) |
                             (mProgramFont.strikeOut() ? Preferences::StrikeOut : 0);
    mPreferences.recentFiles = mRecentFiles.entries();
    mPreferences.save(mSettings);
    mSettings.sync();
}

void TMainForm::ApplyProgramFont()
{
    // The headers take the grid's font.
    mGrid->setFont(mProgramFont);
    mCryptForm->setEditFont(mProgramFont);
    if (auto *bankForm = findChild<TBankForm *>())
        bankForm->setEditFont(mProgramFont);
    mMeasurer.setFont(mProgramFont);
    const int zeros = QFontMetrics(mProgramFont).horizontalAdvance(QStringLiteral("0000"));
    SetWidthScale(mDocument, zeros);
    mGrid->setRecordNumberWidth(zeros + 11);
}

bool TMainForm::ConfirmDiscardChanges()
{
    return ShellQuestions::ConfirmDiscardChanges(database().isChanged(), mMessages);
}

void TMainForm::AddRecentFile(const QString &path)
{
    if (mRecentFiles.AddRecentFile(path))
        RefreshRecentFilesMenu();
}

void TMainForm::RefreshRecentFilesMenu()
{
    for (int slot = 1; slot <= 5; ++slot) {
        QAction *a = mRecentActions[size_t(slot - 1)];
        a->setText(mRecentFiles.caption(slot));
        a->setVisible(mRecentFiles.isVisible(slot));
    }
    if (mRecentSeparator)
        mRecentSeparator->setVisible(mRecentFiles.separatorVisible());
    mStartPage->setRecentFiles({mRecentActions.begin(), mRecentActions.end()});
}

void TMainForm::SetupGrid(bool open)
{
    mFilter.ApplyFilter(FilterEngine::Off);
    statusBar()->setVisible(open);
    mCentral->setCurrentWidget(open ? static_cast<QWidget *>(mGrid) : mStartPage);
    mDatabaseOpen = open;
    if (!open) {
        // An empty database takes the place of the one shown; auto-sizing
        // ends without giving widths back.
        Database empty;
        empty.setWidthScale(database().widthScale());
        mDocument.replace(std::move(empty));
        action(Command::AutoSizing)->setChecked(false);
    }
    mGrid->setReadOnly(open && database().isReadOnly());
    updateCommandStates();
}

void TMainForm::updateCommandStates()
{
    CommandTable::State state{mDatabaseOpen, database().isReadOnly(), mClipboardText,
                              mDocument.canUndo(), mDocument.canRedo()};
    state.undoSwitchesReadOnly = ReadOnlyUndo::undoSwitches(mDocument);
    state.redoSwitchesReadOnly = ReadOnlyUndo::redoSwitches(mDocument);
    state.changed = database().isChanged();
    for (const CommandTable::Entry &e : CommandTable::menuEntries()) {
        if (QAction *a = action(e.command))
            a->setEnabled(mBoundCommands.contains(int(e.command)) &&
                          CommandTable::isEnabled(e.command, state));
    }
}

void TMainForm::focusGrid()
{
    mGrid->setFocus();
}

void TMainForm::setCurrentRow(int row)
{
    mGrid->setCurrentCell(qMax(1, mGrid->currentGridColumn()), row);
}

void TMainForm::bringCellIntoView(int column, int row)
{
    mGrid->bringCellIntoView(column, row);
}

void TMainForm::OpenDatabaseFile(const QString &path)
{
    ::OpenDatabaseFile(mDocument, path, mServices.open());
}

void TMainForm::OpenCommandLineFile()
{
    const QString path = mCommandLineFile;
    mCommandLineFile.clear();
    if (!path.isEmpty())
        OpenDatabaseFile(path);
}

bool TMainForm::saveFlow(bool saveAs)
{
    using ShellQuestions::SaveVariant;
    const bool saved = SaveFlow(mDocument, mAutoSize, mPreferences.expertMode,
                                saveAs ? SaveVariant::SaveAs : SaveVariant::Save, mServices.save());
    action(Command::AutoSizing)->setChecked(mAutoSize.isOn());
    UpdateStatus();
    return saved;
}

void TMainForm::AutoSizeColumns(bool on)
{
    if (on)
        mFeedback.setBusy(true);
    mAutoSize.AutoSizeColumns(on);
    if (on)
        mFeedback.setBusy(false);
    action(Command::AutoSizing)->setChecked(on);
}

void TMainForm::Font1Click()
{
    const std::optional<QFont> chosen =
        mChooseFont ? mChooseFont(mProgramFont) : FontDialog::choose(mProgramFont, this);
    if (chosen)
        setProgramFont(*chosen);
}

void TMainForm::setProgramFont(QFont font)
{
    if (font.pointSize() > 12)
        font.setPointSize(12);
    const double oldScale = database().widthScale();
    // Taken first: a smaller font lowers the widest column the grid allows,
    // and the grid narrows what is wider at once.
    const std::vector<int> widths = fieldColumnWidths(database());
    mProgramFont = font;
    ApplyProgramFont();
    // Pixels follow the new scale; the stored widths are worked out from
    // them only when saving, so the database is not marked changed.
    RescaleColumnWidths(mDocument, widths, oldScale, database().widthScale());
}

void TMainForm::Close1Click()
{
    if (ConfirmDiscardChanges())
        SetupGrid(false);
}

void TMainForm::ColSum1Click()
{
    CellEdit::sumColumn(mDocument, mCalc, mGrid->currentGridColumn(), mGrid->currentGridRow());
}

void TMainForm::updateUndoActions()
{
    for (const auto &[command, label] : {std::pair(Command::Undo, mDocument.undoLabel()),
                                         std::pair(Command::Redo, mDocument.redoLabel())}) {
        QAction *a = action(command);
        a->setText(CommandTable::undoCaption(command, label));
        a->setToolTip(QString(a->text()).remove(QLatin1Char('&')));
    }
    updateCommandStates();
}

void TMainForm::UpdateStatus()
{
    StatusBarContent::Input in;
    const Database &db = database();
    in.databaseName = db.name();
    setWindowTitle(StatusBarContent::caption(in));
    updateCommandStates();
    if (in.databaseName.isEmpty())
        return;
    SortBindings::updateHints(mServices, *mGrid, *this);
    in.currentRow = mGrid->currentGridRow();
    in.currentColumn = mGrid->currentGridColumn();
    in.records = db.recordCount();
    in.fields = db.fieldCount();
    in.autoSize = db.autoSizeColumns();
    in.filterMode = mFilter.filterMode();
    in.changed = db.isChanged();
    in.dateText = mLocale.formatDate(db.date().date());
    in.filePath = db.filePath();
    mPanelTexts = StatusBarContent::panels(in);
    const int last = StatusBarContent::PanelCount - 1;
    for (int i = 0; i < last; ++i) {
        if (mPanels[size_t(i)]->text() != mPanelTexts[size_t(i)])
            mPanels[size_t(i)]->setText(mPanelTexts[size_t(i)]);
    }
    QLabel *path = mPanels[size_t(last)];
    const QString elided = path->fontMetrics().elidedText(mPanelTexts[size_t(last)],
                                                          Qt::ElideMiddle, path->width() - 4);
    if (path->text() != elided) {
        path->setText(elided);
        path->setToolTip(mPanelTexts[size_t(last)]);
    }
}

QString TMainForm::statusPanelText(int panel) const
{
    return mPanelTexts.at(size_t(panel));
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!ConfirmDiscardChanges()) {
        event->ignore();
        return;
    }
    savePreferences();
    mDatabaseOpen = false;
    event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!WindowBounds::droppedDatabase(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    const QString path = WindowBounds::droppedDatabase(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended: opening may ask questions.
    QTimer::singleShot(0, this, [this, path] {
        mFilter.ApplyFilter(FilterEngine::Off);
        OpenDatabaseFile(path);
    });
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!mFirstShow)
        return;
    mFirstShow = false;
    // The font's measures may depend on the screen the window shows on.
    ApplyProgramFont();
    // Messages may be shown while opening, so not from inside the show.
    QTimer::singleShot(0, this, [this] {
        setWindowTitle(StatusBarContent::programTitle());
        OpenCommandLineFile();
    });
}

void TMainForm::createContextMenu()
{
    mContextMenu = new GridContextMenu([this](Command c) { return action(c); }, this);
    connect(mContextMenu, &GridContextMenu::popupItemChosen, this, [this](const QString &text) {
        CellEdit::storeText(mDocument, mCalc, mGrid->currentGridColumn(), mGrid->currentGridRow(),
                            text, QStringLiteral("popup item"));
    });
    mGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        // A right click on a cell makes it current: the entries act on the
        // current cell.
        const QModelIndex index = mGrid->indexAt(pos);
        if (index.isValid())
            mGrid->setCurrentCell(index.column() + 1, index.row() + 1);
        contextMenu()->popup(mGrid->viewport()->mapToGlobal(pos));
    });
}

QMenu *TMainForm::contextMenu()
{
    const std::optional<QStringList> items =
        mDatabaseOpen ? PopupInsertion::menuItems(database(), mGrid->currentGridColumn())
                      : std::nullopt;
    mContextMenu->refresh(items);
    return mContextMenu;
}
