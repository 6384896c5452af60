#include "core/qsettingsstore.h"
#include "pdbbuilder.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "ui/gridview.h"
#include "ui/tmainform.h"

#include <QAction>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

class MainFormTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir mDir;
    QString settingsPath() const { return mDir.filePath(QStringLiteral("QGE.ini")); }

    QString writeDatabase(const char *name, bool readOnly = false)
    {
        PdbBuilder b = PdbBuilder::withFields(3);
        b.name = name;
        b.flags = readOnly ? 0x0401 : 0x0001;
        b.records = {{"a", "1", "x"}, {"b", "2", "y"}};
        const QString path = mDir.filePath(QString::fromLatin1(name) + QStringLiteral(".pdb"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(b.build());
        return path;
    }

private slots:
    void firstStartTakesEveryDefault()
    {
        QFile::remove(settingsPath());
        QSettingsStore settings(settingsPath());
        ScriptedMessages messages;
        TMainForm form(settings, {&messages, nullptr});
        const Preferences &p = form.preferences();
        QVERIFY(p.initialDir);
        QVERIFY(p.saveAtInstall);
        QVERIFY(!p.expertMode);
        QVERIFY(!p.autoRightJust);
        QCOMPARE(p.fontName, QStringLiteral("MS Sans Serif"));
        QCOMPARE(p.fontSize, 8);
        QCOMPARE(form.size(), QSize(528, 341));
        QVERIFY(!form.statusBar()->isVisible());
        QCOMPARE(form.windowTitle(), QStringLiteral(" Quillgrid5"));
        // Without a database only the commands that need none are on.
        QVERIFY(form.action(Command::Open)->isEnabled());
        QVERIFY(!form.action(Command::Save)->isEnabled());
        QVERIFY(!form.action(Command::Filter)->isEnabled());
        QVERIFY(messages.shown.empty());
    }

    void closingWritesThePreferencesForTheNextStart()
    {
        QFile::remove(settingsPath());
        const QString path = writeDatabase("Books");
        {
            QSettingsStore settings(settingsPath());
            ScriptedMessages messages;
            ScriptedShell dialogs;
            dialogs.fileAnswers = {path};
            TMainForm form(settings, {&messages, &dialogs});
            form.show();
            form.setGeometry(QRect(40, 50, 700, 500));
            form.OpenDatabaseFile(QString());
            QVERIFY(form.close());
        }
        QSettingsStore settings(settingsPath());
        ScriptedMessages messages;
        TMainForm again(settings, {&messages, nullptr});
        QCOMPARE(again.preferences().recentFiles[0], path);
        QCOMPARE(again.preferences().formWidth, 700);
        QCOMPARE(again.preferences().formHeight, 500);
        QCOMPARE(again.size(), QSize(700, 500));
    }

    void boundsOnNoScreenAreCentred()
    {
        QSettingsStore settings(settingsPath());
        settings.setValue(QStringLiteral("FormPos"), QStringLiteral("Left"),
                          QStringLiteral("-40000"));
        settings.setValue(QStringLiteral("FormPos"), QStringLiteral("Top"),
                          QStringLiteral("-40000"));
        settings.setValue(QStringLiteral("FormPos"), QStringLiteral("Width"),
                          QStringLiteral("600"));
        settings.setValue(QStringLiteral("FormPos"), QStringLiteral("Height"),
                          QStringLiteral("400"));
        settings.sync();
        ScriptedMessages messages;
        TMainForm form(settings, {&messages, nullptr});
        QCOMPARE(form.size(), QSize(528, 341));
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.intersects(form.geometry()));
    }

    void openingShowsTheDatabaseAndEnablesItsCommands()
    {
        QFile::remove(settingsPath());
        QSettingsStore settings(settingsPath());
        ScriptedMessages messages;
        TMainForm form(settings, {&messages, nullptr});
        form.show();
        form.OpenDatabaseFile(writeDatabase("Plants"));
        QVERIFY(messages.shown.empty());
        QVERIFY(form.statusBar()->isVisible());
        form.UpdateStatus();
        QCOMPARE(form.windowTitle(), QStringLiteral("Quillgrid 5 - Plants"));
        QVERIFY(form.action(Command::Save)->isEnabled());
        QVERIFY(form.action(Command::ColumnSum)->isEnabled());
        QVERIFY(form.action(Command::Filter)->isEnabled());
        // Commands whose work comes later stay off.
        QVERIFY(!form.action(Command::Print)->isEnabled());

        form.OpenDatabaseFile(writeDatabase("Locked", true));
        form.UpdateStatus();
        QVERIFY(form.action(Command::Save)->isEnabled());
        QVERIFY(!form.action(Command::ColumnSum)->isEnabled());
    }

    void unsavedChangesAreAskedAboutOnClose()
    {
        QFile::remove(settingsPath());
        QSettingsStore settings(settingsPath());
        ScriptedMessages messages;
        TMainForm form(settings, {&messages, nullptr});
        form.show();
        form.OpenDatabaseFile(writeDatabase("Tasks"));
        form.database().setChanged(true);
        messages.answers = {MessageButton::No};
        QVERIFY(!form.close());
        QCOMPARE(messages.shown.size(), size_t(1));
        QCOMPARE(messages.shown[0].caption, QStringLiteral("Information"));
        QVERIFY(form.isVisible());
        messages.answers = {MessageButton::Yes};
        QVERIFY(form.close());
    }
};

QTEST_MAIN(MainFormTest)
#include "mainform_test.moc"
