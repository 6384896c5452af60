#include "mainformfixture.h"
#include "widgets/platform/desktopbrowser.h"

#include <QTemporaryDir>

/// The main window: its start, preferences, files and status.
class MainFormTest : public MainFormFixture
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(settingsPath()); }

    void firstStartTakesEveryDefault()
    {
        Window w(settingsPath());
        const Preferences &p = w->services().preferences;
        QVERIFY(p.initialDir);
        QVERIFY(p.saveAtInstall);
        QVERIFY(!p.expertMode);
        QVERIFY(!p.autoRightJust);
        QVERIFY(p.initialDirPath.isEmpty());
        QCOMPARE(p.usNumFormat, QtLocaleService().separators() == NumberSeparators::us());
        QCOMPARE(p.fontName, QStringLiteral("MS Sans Serif"));
        QCOMPARE(p.fontSize, 8);
        QCOMPARE(w->programFont().pointSize(), 8);
        // Wide enough for the whole toolbar and about 25 records.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QToolBar *bar = w->findChild<QToolBar *>();
        QVERIFY(w->width() >= qMin(bar->sizeHint().width(), screen.width() - 16));
        QVERIFY(w->height() >= qMin(25 * 22, screen.height() - 48));
        QVERIFY(screen.contains(w->geometry()));
        QVERIFY(qAbs(w->frameGeometry().center().x() - screen.center().x()) <= 3);
        QVERIFY(qAbs(w->frameGeometry().center().y() - screen.center().y()) <= 3);
        QVERIFY(!w->statusBar()->isVisible());
        QVERIFY(!w->grid()->isVisible());
        for (int slot = 1; slot <= 5; ++slot)
            QVERIFY(!w->recentFileAction(slot)->isVisible());
        QVERIFY(!w->recentFilesSeparator()->isVisible());
        QCOMPARE(w->windowTitle(), QStringLiteral(" Quillgrid5"));
        QTRY_COMPARE(w->windowTitle(), QStringLiteral("Quillgrid 5"));
        QVERIFY(w.messages.shown.empty());
        // Nothing reaches the store before the window closes.
        QVERIFY(!QFile::exists(settingsPath()));
    }

    void closingWritesThePreferencesForTheNextStart()
    {
        const QString path = writeDatabase("Books");
        {
            Window w(settingsPath());
            w.dialogs.fileAnswers = {path};
            w->setGeometry(QRect(40, 50, 700, 500));
            w->OpenDatabaseFile(QString());
            QFont font(QStringLiteral("DejaVu Sans"), 10);
            font.setItalic(true);
            w->setProgramFont(font);
            QVERIFY(w->close());
        }
        QSettings raw(settingsPath(), QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("Settings/ExpertMode")).toString(), QStringLiteral("0"));
        QCOMPARE(raw.value(QStringLiteral("Font/Style")).toString(), QStringLiteral("2"));

        Window again(settingsPath());
        QCOMPARE(again->services().preferences.recentFiles[0], path);
        QCOMPARE(again->size(), QSize(700, 500));
        QCOMPARE(again->programFont().pointSize(), 10);
        QVERIFY(again->programFont().italic());
        QVERIFY(again->recentFileAction(1)->isVisible());
        QCOMPARE(again->recentFileAction(1)->text(), QStringLiteral("&1  Books"));
        QVERIFY(again->recentFilesSeparator()->isVisible());
        QVERIFY(!again->recentFileAction(2)->isVisible());
    }

    void boundsOnNoScreenAreCentred()
    {
        {
            QSettingsStore settings(settingsPath());
            for (const char *name : {"Left", "Top"})
                settings.setValue(QStringLiteral("FormPos"), QLatin1String(name),
                                  QStringLiteral("-40000"));
            settings.setValue(QStringLiteral("FormPos"), QStringLiteral("Width"),
                              QStringLiteral("600"));
            settings.setValue(QStringLiteral("FormPos"), QStringLiteral("Height"),
                              QStringLiteral("400"));
            settings.sync();
        }
        Window w(settingsPath());
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(w->geometry()));
    }

    void recentFilesKeepTheirOrderExceptForNewOnes()
    {
        Window w(settingsPath());
        QStringList paths;
        for (const char *name : {"A1", "A2", "A3", "A4", "A5", "A6"})
            paths << writeDatabase(name);
        for (int i = 0; i < 5; ++i) {
            w.dialogs.fileAnswers = {paths[i]};
            w->OpenDatabaseFile(QString());
        }
        QCOMPARE(w->recentFileAction(1)->text(), QStringLiteral("&1  A5"));
        QCOMPARE(w->recentFileAction(5)->text(), QStringLiteral("&5  A1"));
        // Chosen again in the dialog: no change of order.
        w.dialogs.fileAnswers = {paths[2]};
        w->OpenDatabaseFile(QString());
        QCOMPARE(w->recentFileAction(1)->text(), QStringLiteral("&1  A5"));
        // From the list: no change either.
        w->recentFileAction(4)->trigger();
        QCOMPARE(w->services().document.database().filePath(), paths[1]);
        QCOMPARE(w->recentFileAction(1)->text(), QStringLiteral("&1  A5"));
        // By name, as from the command line: not added.
        w->OpenDatabaseFile(paths[5]);
        QCOMPARE(w->recentFileAction(1)->text(), QStringLiteral("&1  A5"));
        // A new one from the dialog enters first and pushes the last out.
        w.dialogs.fileAnswers = {paths[5]};
        w->OpenDatabaseFile(QString());
        QCOMPARE(w->recentFileAction(1)->text(), QStringLiteral("&1  A6"));
        QCOMPARE(w->recentFileAction(5)->text(), QStringLiteral("&5  A2"));
    }

    void aDroppedFileOpensAndAFailedOneKeepsWhatWasOpen()
    {
        Window w(settingsPath());
        const auto drop = [&](const QString &path) {
            QMimeData data;
            data.setUrls({QUrl::fromLocalFile(path)});
            // As a drag arrives and is let go over the window.
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(w.form.get(), &enter);
            QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(w.form.get(), &event);
            QApplication::processEvents();
        };
        const QString good = writeDatabase("Dropped");
        drop(good);
        QTRY_COMPARE(w->services().document.database().name(), QStringLiteral("Dropped"));
        // A damaged file: its error, and the open database stays open.
        const QString bad = QFileInfo(good).absolutePath() + QStringLiteral("/Bad.pdb");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(100, 'x'));
        file.close();
        w.messages.shown.clear();
        drop(bad);
        QTRY_COMPARE(w.messages.shown.size(), size_t(1));
        QCOMPARE(w->services().document.database().name(), QStringLiteral("Dropped"));
        QVERIFY(w->grid()->isVisible());
        // Only a .pdb is taken.
        drop(QStringLiteral("/tmp/notes.txt"));
        QCOMPARE(w->services().document.database().name(), QStringLiteral("Dropped"));
    }

    void commandLineFileOpensAfterTheFirstShow()
    {
        const QString path = writeDatabase("Command line");
        auto settings = std::make_unique<QSettingsStore>(settingsPath());
        ScriptedMessages messages;
        TMainForm::Overrides overrides;
        overrides.messages = &messages;
        TMainForm form(*settings, overrides);
        form.setCommandLineFile(path);
        QVERIFY(form.services().document.database().name().isEmpty());
        form.show();
        QTRY_COMPARE(form.services().document.database().name(), QStringLiteral("Command line"));
        QVERIFY(!form.recentFileAction(1)->isVisible());
    }

    void unsavedChangesAreAskedAboutOnEveryPathThatDropsThem()
    {
        const QString first = writeDatabase("Tasks");
        const QString second = writeDatabase("Other");
        Window w(settingsPath());
        w.dialogs.fileAnswers = {second};
        w->OpenDatabaseFile(QString()); // into the recent list
        w->OpenDatabaseFile(first);

        const QString question =
            QStringLiteral("You have not saved the changes to this file and you will lose the "
                           "changes if you close this file. Are sure that you want to close this "
                           "file?");
        const std::vector<std::function<void()>> paths = {
            [&] { w->action(Command::Open)->trigger(); },
            [&] { w->recentFileAction(1)->trigger(); },
            [&] { w->action(Command::Close)->trigger(); },
            [&] { w->close(); },
        };
        for (size_t i = 0; i < paths.size(); ++i) {
            w.db().grid().setCell(1, 1, QStringLiteral("edited"));
            w.db().setChanged(true);
            w.messages.shown.clear();
            w.messages.answers = {MessageButton::No};
            w.dialogs.fileAnswers = {second};
            paths[i]();
            QCOMPARE(w.messages.shown.size(), size_t(1));
            QCOMPARE(w.messages.shown[0].caption, QStringLiteral("Information"));
            QCOMPARE(w.messages.shown[0].lines.at(0), question);
            QCOMPARE(w.db().name(), QStringLiteral("Tasks"));
            QCOMPARE(w.db().grid().cell(1, 1), QStringLiteral("edited"));
            QVERIFY(w->isVisible());
        }
        // A recent file switches the filter off before it asks.
        w.db().filter() = {1, QStringLiteral("nothing matches this")};
        w->action(Command::Filter)->trigger();
        QVERIFY(w->action(Command::Filter)->isChecked());
        w.messages.answers = {MessageButton::No};
        w->recentFileAction(1)->trigger();
        QVERIFY(!w->action(Command::Filter)->isChecked());
        QCOMPARE(w.db().name(), QStringLiteral("Tasks"));

        // Yes gives the changes up, and closing empties the grid.
        w.db().field(2).type = FieldType::Boolean;
        w.db().grid().setCell(2, 2, QStringLiteral("1"));
        w.db().grid().setCheckBox(2, 2, true);
        w->grid()->setCurrentCell(3, 2);
        w.messages.answers = {MessageButton::Yes};
        w->action(Command::Close)->trigger();
        QVERIFY(w.db().name().isEmpty());
        QVERIFY(w.db().filePath().isEmpty());
        QVERIFY(!w->grid()->isVisible());
        QVERIFY(!w->statusBar()->isVisible());
        QVERIFY(!w.db().isChanged());
        QCOMPARE(w.db().recordCount(), 0);
        QVERIFY(!w->services().document.canUndo());
        QCOMPARE(w->grid()->currentGridColumn(), 0);
        QTRY_COMPARE(w->windowTitle(), QStringLiteral("Quillgrid 5"));
        // Nothing to lose: nothing is asked.
        w.messages.shown.clear();
        QVERIFY(w->close());
        QVERIFY(w.messages.shown.empty());
    }

    void commandsFollowTheDatabaseState()
    {
        Window w(settingsPath());
        const Command always[] = {Command::Open,         Command::New,   Command::Import,
                                  Command::Exit,         Command::About, Command::Homepage,
                                  Command::DeliverySetup};
        const Command whenEditable[] = {
            Command::Font,     Command::AutoSizing, Command::ColumnSum,
            Command::EditCell, Command::AppendRow,  Command::DeleteColumn,
            Command::CutRow,   Command::FillRight,  Command::Append};
        const Command whenOpen[] = {
            Command::Close,          Command::Save,        Command::SaveAs,   Command::Filter,
            Command::AdvancedFilter, Command::Find,        Command::FindNext, Command::Replace,
            Command::SortNormal,     Command::SortReverse, Command::Print,    Command::PrintPreview,
            Command::ExportPdf,      Command::Clone,       Command::Export,   Command::Install};
        for (Command c : always)
            QVERIFY(w->action(c)->isEnabled());
        for (Command c : whenOpen)
            QVERIFY(!w->action(c)->isEnabled());

        w->OpenDatabaseFile(writeDatabase("Plants"));
        for (Command c : whenOpen)
            QVERIFY(w->action(c)->isEnabled());
        for (Command c : whenEditable)
            QVERIFY(w->action(c)->isEnabled());
        QVERIFY(w->grid()->horizontalHeader()->sectionsMovable());

        w->OpenDatabaseFile(writeDatabase("Locked", 0x0401)); // read only
        for (Command c : whenOpen)
            QVERIFY(w->action(c)->isEnabled());
        for (Command c : whenEditable)
            QVERIFY(!w->action(c)->isEnabled());
        QVERIFY(!w->grid()->horizontalHeader()->sectionsMovable());
        QVERIFY(!w->grid()->verticalHeader()->sectionsMovable());
        QCOMPARE(w->grid()->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);

        w->action(Command::Close)->trigger();
        for (Command c : whenOpen)
            QVERIFY(!w->action(c)->isEnabled());
    }

    void statusBarAndCaptionFollowTheDatabase()
    {
        const QString path = writeDatabase("Plants");
        Window w(settingsPath());
        w->OpenDatabaseFile(path);
        w->UpdateStatus();
        QCOMPARE(w->windowTitle(), QStringLiteral("Quillgrid 5 - Plants"));
        QVERIFY(w->statusBar()->isVisible());
        QCOMPARE(w->statusPanelText(0), QStringLiteral("R1 of 2"));
        QCOMPARE(w->statusPanelText(1), QStringLiteral("C1 of 3"));
        QCOMPARE(w->statusPanelText(2), QString());
        QCOMPARE(w->statusPanelText(3), QString());
        QCOMPARE(w->statusPanelText(5), QString());
        QCOMPARE(w->statusPanelText(7), path);
        QCOMPARE(w->statusPanelText(4), QString());
        // The file's date, in the short form with its four-digit year.
        QVERIFY(w->statusPanelText(6).contains(QString::number(w.db().date().date().year())));

        w->grid()->setCurrentCell(3, 2);
        w.db().setChanged(true);
        w.db().filter() = {1, QStringLiteral("oak")};
        w->services().filter.advancedRows().texts[0] = QStringLiteral("x");
        w->action(Command::Filter)->trigger();
        w->action(Command::AutoSizing)->trigger();
        w->UpdateStatus();
        QCOMPARE(w->statusPanelText(0), QStringLiteral("R2 of 2")); // a hidden row counts
        QCOMPARE(w->statusPanelText(1), QStringLiteral("C3 of 3"));
        QCOMPARE(w->statusPanelText(2), QStringLiteral("Auto Size"));
        QCOMPARE(w->statusPanelText(3), QStringLiteral("Filter"));
        QCOMPARE(w->statusPanelText(5), QStringLiteral("Changed"));
        QVERIFY(w->action(Command::Filter)->isChecked());
        QVERIFY(w->action(Command::AutoSizing)->isChecked());
        w->action(Command::AdvancedFilter)->trigger();
        w->UpdateStatus();
        QCOMPARE(w->statusPanelText(3), QStringLiteral("Adv. Filter"));
        QVERIFY(!w->action(Command::Filter)->isChecked());
        QVERIFY(w->action(Command::AdvancedFilter)->isChecked());

        // The sort buttons name the current field.
        QCOMPARE(w->action(Command::SortNormal)->toolTip(),
                 QStringLiteral("Sort normal - primary field: F3"));
        QCOMPARE(w->action(Command::SortReverse)->toolTip(),
                 QStringLiteral("Sort reverse - primary field: F3"));

        // The paste commands follow the clipboard.
        QGuiApplication::clipboard()->setText(QStringLiteral("text"));
        w->UpdateStatus();
        QVERIFY(w->action(Command::PasteCell)->isEnabled());
    }

    void autoSizingAndTheSaveQuestion()
    {
        const QString path = writeDatabase("Sizes");
        Window w(settingsPath());
        w->OpenDatabaseFile(path);
        const int before = w.db().grid().columnWidth(1);
        w->action(Command::AutoSizing)->trigger();
        const int sized = w.db().grid().columnWidth(1);
        const int expected =
            QFontMetrics(w->programFont()).horizontalAdvance(QStringLiteral("Rosemary")) + 5;
        QCOMPARE(sized, qMin(expected, 300));
        QVERIFY(w.db().grid().columnWidth(1) != before || expected == before);
        const QByteArray original = fileBytes(path);

        // Cancel: nothing saved, still sizing.
        w.db().setChanged(true);
        w.messages.answers = {MessageButton::Cancel};
        w->action(Command::Save)->trigger();
        QCOMPARE(w.messages.shown.size(), size_t(1));
        QCOMPARE(
            w.messages.shown[0].lines.at(1),
            QStringLiteral("Do you prefer to save the file with the prevouis width settings?"));
        QCOMPARE(fileBytes(path), original);
        QVERIFY(w->action(Command::AutoSizing)->isChecked());

        // Yes: the widths from before auto-sizing are saved.
        w.messages.answers = {MessageButton::Yes};
        w->action(Command::Save)->trigger();
        Database back;
        QVERIFY(readFile(fileBytes(path), back).ok);
        QCOMPARE(back.field(1).readWidth, w.db().PixelsToFieldWidth(before));
        QVERIFY(w->action(Command::AutoSizing)->isChecked());
        QCOMPARE(w.db().grid().columnWidth(1), sized);

        // No: the auto-sized ones.
        w.db().setChanged(true);
        w.messages.answers = {MessageButton::No};
        w->action(Command::Save)->trigger();
        QVERIFY(readFile(fileBytes(path), back).ok);
        QCOMPARE(back.field(1).readWidth, w.db().PixelsToFieldWidth(sized));
        QVERIFY(!w.db().isChanged());

        // Off gives the widths of the last switching on back.
        w->action(Command::AutoSizing)->trigger();
        QVERIFY(!w->action(Command::AutoSizing)->isChecked());
        QCOMPARE(w.db().grid().columnWidth(1), sized);

        // Closing switches sizing off without a question.
        w->action(Command::AutoSizing)->trigger();
        w->action(Command::Close)->trigger();
        QVERIFY(!w->action(Command::AutoSizing)->isChecked());
        QVERIFY(!w.db().autoSizeColumns());
    }

    void aLargerFontWidensEveryColumnInProportion()
    {
        Window w(settingsPath());
        w->OpenDatabaseFile(writeDatabase("Fonts"));
        const double oldScale = w.db().widthScale();
        const int oldWidth = w.db().grid().columnWidth(2);
        w.fontAnswer = QFont(w->programFont().family(), 20); // more than 12 points
        w->action(Command::Font)->trigger();
        QCOMPARE(w->programFont().pointSize(), 12);
        const double newScale = w.db().widthScale();
        QVERIFY(newScale > oldScale);
        QCOMPARE(w.db().grid().columnWidth(2), qRound(oldWidth * newScale / oldScale));
        QVERIFY(!w.db().isChanged());
        // The record-number column still holds four digits.
        const int zeros = QFontMetrics(w->programFont()).horizontalAdvance(QStringLiteral("0000"));
        QCOMPARE(w->grid()->verticalHeader()->width(), zeros + 11);

        // Cancelled: nothing changes.
        w.fontAnswer.reset();
        w->action(Command::Font)->trigger();
        QCOMPARE(w->programFont().pointSize(), 12);

        // A smaller font narrows in proportion too, even a column near the
        // widest the larger font allowed.
        const int wide = w.db().FieldWidthToPixels(290);
        w.db().grid().setColumnWidth(1, wide);
        const double largeScale = w.db().widthScale();
        w.fontAnswer = QFont(w->programFont().family(), 6);
        w->action(Command::Font)->trigger();
        const double smallScale = w.db().widthScale();
        QVERIFY(smallScale < largeScale);
        QCOMPARE(w.db().grid().columnWidth(1), qRound(wide * smallScale / largeScale));
    }

    void homepageOpensTheReadMeOrSaysWhy()
    {
        Window w(settingsPath());
        w->action(Command::Homepage)->trigger();
        QCOMPARE(w.openedUrls.size(), 1);
        QVERIFY(w.openedUrls[0].toLocalFile().endsWith(QStringLiteral("README.md")));
        QVERIFY(w.messages.shown.empty());
        w.browserStarts = false;
        w->action(Command::Homepage)->trigger();
        QCOMPARE(w.messages.shown.size(), size_t(1));
        QCOMPARE(w.messages.shown[0].lines.at(0),
                 QStringLiteral("Sorry your web browser could not be found"));
    }

    // xdg-open, as found on the path, tells by its exit status whether a
    // program took the address; with none on the path the platform's own
    // "open" decides at once.
    void theBrowsersFailureIsToldWhenXdgOpenEnds()
    {
        struct Case
        {
            const char *name;
            const char *script; ///< xdg-open's; none: no xdg-open at all
            bool failed;
        };
        const Case cases[] = {
            {"a browser took it", "exit 0", false},
            {"no browser found", "exit 3", true},
            {"no xdg-open", nullptr, true},
        };
        const QByteArray path = qgetenv("PATH");
        QStringList results;
        QStringList expected;
        for (const Case &c : cases) {
            QTemporaryDir bin;
            const QString ran = bin.filePath(QStringLiteral("ran"));
            if (c.script) {
                QFile script(bin.filePath(QStringLiteral("xdg-open")));
                QVERIFY(script.open(QIODevice::WriteOnly));
                script.write("#!/bin/sh\necho \"$1\" > \"" + QFile::encodeName(ran) + "\"\n" +
                             c.script + "\n");
                script.close();
                script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            }
            qputenv("PATH", QFile::encodeName(bin.path()));
            bool failed = false;
            QObject context;
            DesktopBrowser::open(QUrl(QStringLiteral("file:///tmp/README.md")), &context,
                                 [&failed] { failed = true; });
            qputenv("PATH", path);
            if (c.script)
                QTRY_VERIFY(QFile::exists(ran));
            // A failure is told once xdg-open has ended; success says nothing.
            if (c.failed)
                QTRY_VERIFY_WITH_TIMEOUT(failed, 5000);
            else
                QTest::qWait(300);
            results << QStringLiteral("%1: %2").arg(QString::fromLatin1(c.name)).arg(failed);
            expected << QStringLiteral("%1: %2").arg(QString::fromLatin1(c.name)).arg(c.failed);
        }
        QCOMPARE(results, expected);
    }
};

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
