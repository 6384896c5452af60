#include "mainformfixture.h"
#include "widgets/dialogs/tdateiform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>

/// The main window's commands on the records, fields and cells, and its
/// files of other kinds.
class MainFormCommandsTest : public MainFormFixture
{
    Q_OBJECT

private slots:
    void init() { QFile::remove(settingsPath()); }

    void importAppendExportAndClone()
    {
        Window w(settingsPath());
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("People.TXT"));
        const QString more = dir.filePath(QStringLiteral("more.TXT"));
        for (const auto &[path, bytes] :
             {std::pair(in, QByteArray("Name\tTown\r\nAnn\tOslo\r\n")),
              std::pair(more, QByteArray("Bob\tBergen\r\nCy\tRoros\r\n"))}) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }
        // The tab type chosen for Import is the one Append starts with.
        w.dialogs.fileAnswers = {in};
        w.dialogs.chosenFilter = 3;
        w->action(Command::Import)->trigger();
        QCOMPARE(w.db().name(), QStringLiteral("People"));
        QVERIFY(w->grid()->isVisible());
        w.dialogs.fileAnswers = {more};
        w.dialogs.chosenFilter = 0;
        w->action(Command::Append)->trigger();
        QCOMPARE(w.dialogs.requests.back().filterIndex, 3);
        QCOMPARE(w.db().recordCount(), 3);
        QCOMPARE(w->grid()->currentGridRow(), 3);
        QVERIFY(w.db().isChanged());
        w->action(Command::Undo)->trigger();
        QCOMPARE(w.db().recordCount(), 1);

        const QString out = dir.filePath(QStringLiteral("out.CSV"));
        w.dialogs.fileAnswers = {out};
        w->action(Command::Export)->trigger();
        QCOMPARE(w.dialogs.requests.back().proposedName, QStringLiteral("People"));
        QCOMPARE(fileBytes(out), QByteArray("\"Name\",\"Town\"\r\n\"Ann\",\"Oslo\"\r\n"));

        w->action(Command::Clone)->trigger();
        QCOMPARE(w.db().name(), QStringLiteral("People Clone"));
        QCOMPARE(w.db().grid().cell(1, 1), QString());
        QVERIFY(!w.db().isChanged());
    }

    void sortAndFindThroughTheWindow()
    {
        Window w(settingsPath());
        w->OpenDatabaseFile(writeDatabase("Plants"));
        const auto firstField = [&w] {
            return w.db().grid().cell(1, 1) + QLatin1Char(',') + w.db().grid().cell(1, 2);
        };
        w->grid()->setCurrentCell(1, 1);
        w->action(Command::SortNormal)->trigger();
        QCOMPARE(firstField(), QStringLiteral("Oak,Rosemary"));
        QCOMPARE(w.db().sort().keys[0], qint8(1));
        w->action(Command::Undo)->trigger();
        QCOMPARE(firstField(), QStringLiteral("Rosemary,Oak"));
        w->action(Command::SortReverse)->trigger();
        QCOMPARE(firstField(), QStringLiteral("Rosemary,Oak"));
        QCOMPARE(w.db().sort().keys[0], qint8(-1));

        // Find next without a search opens the Find dialog; its Find button
        // closes it and makes the match current.
        QTimer::singleShot(0, [] {
            QWidget *dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
            dialog->findChild<QLineEdit *>()->setText(QStringLiteral("2.5"));
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->text() == QStringLiteral("&Find"))
                    button->click();
            }
        });
        w->action(Command::FindNext)->trigger();
        QCOMPARE(QPoint(w->grid()->currentGridColumn(), w->grid()->currentGridRow()), QPoint(2, 2));
        QCOMPARE(w.db().findText(), QStringLiteral("2.5"));
        w->action(Command::FindNext)->trigger();
        QCOMPARE(w.messages.shown.back().text(), QStringLiteral("Search text not found."));
    }

    void contextMenuInsertsPopupItems()
    {
        Window w(settingsPath());
        w->OpenDatabaseFile(writeDatabase("Popups"));
        w.db().field(3).type = FieldType::MultiplePopup;
        w.db().field(3).popupItems = {QStringLiteral("R&D"), QStringLiteral("Sales")};

        w->grid()->setCurrentCell(1, 1);
        QMenu *menu = w->contextMenu();
        QAction *insert = menu->actions().at(0);
        QCOMPARE(insert->text(), QStringLiteral("Insert Popup Item"));
        QVERIFY(!insert->isVisible()); // a String field

        w->grid()->setCurrentCell(3, 2);
        menu = w->contextMenu();
        QVERIFY(insert->isVisible());
        const QList<QAction *> items = insert->menu()->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0]->text(), QStringLiteral("R&&D"));
        items[0]->trigger();
        QCOMPARE(w.db().grid().cell(3, 2), QStringLiteral("R&D"));
        QVERIFY(w.db().isChanged());

        // An empty list still shows the entry.
        w.db().field(3).popupItems.clear();
        menu = w->contextMenu();
        QVERIFY(insert->isVisible());
        QVERIFY(insert->menu()->actions().isEmpty());

        // The other entries follow the main menu's commands.
        QStringList captions;
        for (QAction *a : menu->actions()) {
            if (!a->isSeparator())
                captions << a->text();
        }
        QCOMPARE(captions.mid(1, 3),
                 (QStringList{QStringLiteral("&Edit cell"), QStringLiteral("Pr&operties"),
                              QStringLiteral("Cu&t cell")}));
    }

    void f2EditsTheCurrentCell()
    {
        Window w(settingsPath());
        w->OpenDatabaseFile(writeDatabase("Plants"));
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        w->grid()->setCurrentCell(1, 2);
        auto *dialog = w->findChild<TBankForm *>();
        QVERIFY(dialog);
        // Enter breaks the line; OK stores. Then Escape stores nothing.
        const auto answer = [dialog](const std::function<void(MemoEdit *)> &keys) {
            QTimer::singleShot(0, dialog, [dialog, keys] {
                QVERIFY(dialog->isVisible());
                keys(dialog->findChild<MemoEdit *>());
            });
        };
        answer([dialog](MemoEdit *memo) {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Edit Cell"));
            QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
            QTest::keyClick(memo, Qt::Key_Return);
            QTest::keyClicks(memo, QStringLiteral("Pine"));
            QVERIFY(dialog->isVisible());
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->text() == QStringLiteral("&OK"))
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        });
        QTest::keyClick(w->grid(), Qt::Key_F2);
        QCOMPARE(w.db().grid().cell(1, 2), QStringLiteral("Oak\r\nPine"));
        QVERIFY(w.db().isChanged());

        answer([](MemoEdit *memo) {
            QTest::keyClicks(memo, QStringLiteral("x"));
            QTest::keyClick(memo, Qt::Key_Escape);
        });
        QTest::keyClick(w->grid(), Qt::Key_F2);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(w.db().grid().cell(1, 2), QStringLiteral("Oak\r\nPine"));
        w.db().setChanged(false);
    }

    void f3ShowsThePropertiesOfTheCurrentField()
    {
        Window w(settingsPath());
        w->OpenDatabaseFile(writeDatabase("Plants"));
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        QVERIFY(w->action(Command::Properties)->isEnabled());
        w->grid()->setCurrentCell(2, 1);
        auto *dialog = w->findChild<TPropertiesForm *>();
        QVERIFY(dialog);
        const auto answer = [dialog](const std::function<void()> &steps) {
            QTimer::singleShot(0, dialog, [dialog, steps] {
                QVERIFY(dialog->isVisible());
                steps();
            });
        };
        const auto edit = [dialog](const QString &text) {
            for (QLineEdit *e : dialog->findChildren<QLineEdit *>()) {
                if (e->isVisible() && e->text() == text)
                    return e;
            }
            return static_cast<QLineEdit *>(nullptr);
        };
        // The Field page first; Enter does not confirm, OK does.
        answer([&] {
            QCOMPARE(dialog->windowTitle(), QStringLiteral("Properties"));
            QLineEdit *name = edit(QStringLiteral("F2"));
            QVERIFY(name);
            name->selectAll();
            QTest::keyClicks(name, QStringLiteral("Price"));
            QTest::keyClick(name, Qt::Key_Return);
            QVERIFY(dialog->isVisible());
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->text() == QStringLiteral("&OK"))
                    QTest::mouseClick(button, Qt::LeftButton);
            }
        });
        QTest::keyClick(w->grid(), Qt::Key_F3);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(w.db().grid().cell(2, 0), QStringLiteral("Price"));
        QCOMPARE(w->action(Command::Undo)->text(), QStringLiteral("&Undo properties"));

        // Escape applies nothing.
        answer([&] {
            QTest::keyClicks(edit(QStringLiteral("Price")), QStringLiteral("x"));
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        w->action(Command::Properties)->trigger();
        QCOMPARE(w.db().grid().cell(2, 0), QStringLiteral("Price"));
        w->action(Command::Undo)->trigger();
        QCOMPARE(w.db().grid().cell(2, 0), QStringLiteral("F2"));
        w.db().setChanged(false);
    }

    void gridKeysRunTheEditingCommands()
    {
        Window w(settingsPath());
        w->OpenDatabaseFile(writeDatabase("Plants"));
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        GridView *grid = w->grid();
        grid->setFocus();
        grid->setCurrentCell(1, 1);
        // A block out and back in with the spreadsheet keys.
        QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(grid->selectedBlock(), QRect(1, 1, 2, 1));
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("Rosemary\t1.5\r\n"));
        grid->setCurrentCell(2, 2);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(w.db().grid().cell(3, 2), QStringLiteral("1.5"));
        QTest::keyClick(grid, Qt::Key_Delete);
        QCOMPARE(w.db().grid().cell(2, 2), QString());

        // Both shortcuts that the menus show append a record; each asks
        // nothing.
        QTest::keyClick(grid, Qt::Key_Insert, Qt::AltModifier);
        QTest::keyClick(grid, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(w.db().recordCount(), 4);
        QCOMPARE(grid->currentGridRow(), 4);
        w.messages.answers = {MessageButton::Yes};
        QTest::keyClick(grid, Qt::Key_Delete, Qt::ControlModifier);
        QCOMPARE(w.db().recordCount(), 3);
        QCOMPARE(w.messages.shown.size(), size_t(1));
        w.db().setChanged(false);
    }

    void enterInTheNewDatabaseDialogConfirmsOnlyFromTypeAndWidth()
    {
        // Tab goes down the boxes as they stand; Enter confirms with what
        // the boxes show, except in Columns and Rows, which drop it.
        ScriptedMessages messages;
        TDateiForm dialog(messages);
        QStringList outcomes;
        for (int tabs = 0; tabs <= 4; ++tabs) {
            QString focused;
            bool stayed = false;
            QTimer::singleShot(0, &dialog, [&] {
                QVERIFY(QTest::qWaitForWindowActive(&dialog));
                for (int i = 0; i < tabs; ++i)
                    QTest::keyClick(dialog.focusWidget(), Qt::Key_Tab);
                QWidget *box = dialog.focusWidget();
                auto *list = qobject_cast<QComboBox *>(box);
                if (!list && box && qobject_cast<QComboBox *>(box->parentWidget()))
                    list = qobject_cast<QComboBox *>(box->parentWidget());
                focused = list ? list->currentText() : qobject_cast<QLineEdit *>(box)->text();
                QTest::keyClick(box, Qt::Key_Return);
                stayed = dialog.isVisible();
                if (stayed)
                    dialog.reject();
            });
            const std::optional<NewDatabaseRules::Choices> c = dialog.execute();
            outcomes << focused + (stayed ? QStringLiteral(": stays")
                                          : QStringLiteral(": %1 x %2 of width %3, type %4")
                                                .arg(c->columns, c->rows, c->width)
                                                .arg(c->type));
        }
        QCOMPARE(outcomes, (QStringList{QStringLiteral("New: 5 x 10 of width 60, type 0"),
                                        QStringLiteral("5: stays"), QStringLiteral("10: stays"),
                                        QStringLiteral("String: 5 x 10 of width 60, type 0"),
                                        QStringLiteral("60: 5 x 10 of width 60, type 0")}));
    }

    void theReadOnlyStepIsUndoneAndCopyingStaysInAReadOnlyDatabase()
    {
        Window w(settingsPath());
        w->OpenDatabaseFile(writeDatabase("Plants"));
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        auto *dialog = w->findChild<TPropertiesForm *>();
        QTimer::singleShot(0, dialog, [dialog] {
            for (QCheckBox *box : dialog->findChildren<QCheckBox *>()) {
                if (box->text() == QStringLiteral("Read Only"))
                    box->setChecked(true);
            }
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->text() == QStringLiteral("&OK"))
                    button->click();
            }
        });
        w->action(Command::Properties)->trigger();
        // What may be used, and whether the database is read only, after
        // each step.
        const auto state = [&w] {
            QString s =
                w.db().isReadOnly() ? QStringLiteral("read only:") : QStringLiteral("open:");
            for (Command c : {Command::Undo, Command::Redo, Command::CopyCell, Command::CopyRow,
                              Command::CutCell}) {
                if (w->action(c)->isEnabled())
                    s += QLatin1Char(' ') + QString(w->action(c)->text()).remove(QLatin1Char('&'));
            }
            return s;
        };
        QStringList states{state()};
        w->action(Command::Undo)->trigger();
        states << state();
        w->action(Command::Redo)->trigger();
        states << state();
        w->grid()->setCurrentCell(1, 2);
        w->action(Command::CopyCell)->trigger();
        states << QGuiApplication::clipboard()->text();
        QCOMPARE(states,
                 (QStringList{QStringLiteral("read only: Undo properties Copy cell Copy row"),
                              QStringLiteral("open: Redo properties Copy cell Copy row "
                                             "Cut cell"),
                              QStringLiteral("read only: Undo properties Copy cell Copy row"),
                              QStringLiteral("Oak")}));
        w.db().setChanged(false);
    }

    void propertiesOpensWithTheFocusInTheFirstInputOfItsPage()
    {
        // Typing goes into the page's first box; Enter does not confirm.
        Window w(settingsPath());
        w->OpenDatabaseFile(writeDatabase("Plants"));
        QVERIFY(QTest::qWaitForWindowActive(w.form.get()));
        w->grid()->setCurrentCell(2, 1);
        auto *dialog = w->findChild<TPropertiesForm *>();
        QStringList outcomes;
        for (int page : {0, 1}) {
            // The page chosen in one opening is the next one's.
            QTimer::singleShot(0, dialog, [dialog, page] {
                dialog->findChild<QTabWidget *>()->setCurrentIndex(page);
                dialog->reject();
            });
            w->action(Command::Properties)->trigger();
            bool stayed = false;
            QTimer::singleShot(0, dialog, [dialog, &stayed] {
                QVERIFY(QTest::qWaitForWindowActive(dialog));
                QTest::keyClicks(dialog->focusWidget(), QStringLiteral("Herbs"));
                QTest::keyClick(dialog->focusWidget(), Qt::Key_Return);
                stayed = dialog->isVisible();
                for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                    if (button->text() == QStringLiteral("&OK"))
                        button->click();
                }
            });
            w->action(Command::Properties)->trigger();
            outcomes << QStringLiteral("%1 %2 %3")
                            .arg(stayed ? QStringLiteral("stayed") : QStringLiteral("closed"),
                                 w.db().name(), w.db().grid().cell(2, 0));
        }
        QCOMPARE(outcomes, (QStringList{QStringLiteral("stayed Herbs F2"),
                                        QStringLiteral("stayed Herbs Herbs")}));
        w.db().setChanged(false);
    }
};

QTEST_MAIN(MainFormCommandsTest)
#include "mainformcommands_test.moc"
