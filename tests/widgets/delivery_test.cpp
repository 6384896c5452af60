// Handheld delivery in the window: the first start without synchronisation
// software, Install with nobody to install for, the set-up dialog, and the
// lookup list's folder following the selected handheld user.

#include "core/document/database.h"
#include "core/platform/qt/plaininstallfolder.h"
#include "core/platform/qt/qsettingsstore.h"
#include "documentaccess.h"
#include "fakesyncsoftware.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "widgets/dialogs/tlookupform.h"
#include "widgets/mainwindow/interchangebindings.h"
#include "widgets/mainwindow/tmainform.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

/// Once the next modal dialog shows: types @p texts into its line edits by
/// name and presses the button captioned @p button.
void answerNextDialog(const QHash<QString, QString> &texts, const QString &button)
{
    QTimer::singleShot(0, [texts, button] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog) {
            answerNextDialog(texts, button);
            return;
        }
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            dialog->findChild<QLineEdit *>(it.key())->setText(it.value());
        for (QPushButton *b : dialog->findChildren<QPushButton *>()) {
            if (b->text() == button)
                b->click();
        }
        // A dialog the button did not close would hold the test up.
        QTimer::singleShot(0, [left = QPointer<QDialog>(qobject_cast<QDialog *>(dialog))] {
            if (left && left->isVisible())
                left->reject();
        });
    });
}

} // namespace

class DeliveryTest : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;

    QString path(const char *name) const { return mDir.filePath(s(name)); }

    QString writeFile(const QString &file, const QByteArray &bytes)
    {
        QFile f(file);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return file;
    }

    /// The window over its own settings file, asking @p software and the
    /// plain install folder those settings name.
    struct Window
    {
        QSettingsStore settings;
        ScriptedMessages messages;
        ScriptedShell dialogs;
        std::unique_ptr<TMainForm> form;

        Window(const QString &settingsPath, std::function<FakeSyncSoftware *()> software)
            : settings(settingsPath)
        {
            TMainForm::Overrides o;
            o.messages = &messages;
            o.dialogs = &dialogs;
            o.syncSoftware = [this, software] {
                std::vector<std::unique_ptr<SyncSoftware>> list;
                if (FakeSyncSoftware *one = software())
                    list.emplace_back(one);
                list.push_back(std::make_unique<PlainInstallFolder>(settings));
                return list;
            };
            form = std::make_unique<TMainForm>(settings, o);
            form->show();
        }
        bool noticeShown() const
        {
            return form->findChild<QLabel *>(s("deliveryNotice"))->isVisible();
        }
    };

private slots:
    void init()
    {
        QFile::remove(path("QGE.ini"));
        QDir(path("card")).removeRecursively();
        QDir().mkpath(path("card"));
    }

    // No error box where the desktop software cannot be: one quiet line,
    // while nobody can be installed for and the preference asks for it.
    void theFirstStartSaysQuietlyWhatIsMissing_data()
    {
        QTest::addColumn<bool>("software");
        QTest::addColumn<bool>("plainFolder");
        QTest::addColumn<bool>("report");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nothing") << false << false << true << s("line 1, messages 0");
        QTest::newRow("notice turned off") << false << false << false << s("line 0, messages 0");
        QTest::newRow("a desktop with a user") << true << false << true << s("line 0, messages 0");
        QTest::newRow("a plain folder") << false << true << true << s("line 0, messages 0");
    }

    void theFirstStartSaysQuietlyWhatIsMissing()
    {
        QFETCH(bool, software);
        QFETCH(bool, plainFolder);
        QFETCH(bool, report);
        QFETCH(QString, expected);
        {
            QSettingsStore settings(path("QGE.ini"));
            settings.setValue(s("Settings"), s("HandheldSoftware"), report ? s("1") : s("0"));
            if (plainFolder)
                PlainInstallFolder::save(settings, {path("card"), s("Carla")});
        }
        Window w(path("QGE.ini"), [software]() -> FakeSyncSoftware * {
            if (!software)
                return nullptr;
            auto *one = new FakeSyncSoftware;
            one->users = std::vector<SyncUser>{{1, s("Anna"), s("A")}};
            return one;
        });
        QCOMPARE(s("line %1, messages %2").arg(w.noticeShown()).arg(w.messages.shown.size()),
                 expected);
        w.form->close();
    }

    // Install stays enabled with nobody to install for; it opens the
    // set-up, and once a plain folder is given it copies the database
    // there. The next start knows the folder.
    void installWithoutAUserSetsUpAPlainFolder_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("expected");
        QTest::newRow("OK") << s("OK") << s("copy Addresses, line 0, user Carla; next start 1");
        QTest::newRow("Cancel") << s("&Cancel") << s("copy none, line 1, user ; next start 0");
    }

    void installWithoutAUserSetsUpAPlainFolder()
    {
        QFETCH(QString, button);
        QFETCH(QString, expected);
        PdbBuilder b = PdbBuilder::withFields(2);
        b.name = "Addresses";
        b.records = {{"Ann", "Paris"}};
        const QString db = writeFile(path("Addresses.PDB"), b.build());
        QString outcome;
        {
            Window w(path("QGE.ini"), [] { return nullptr; });
            w.form->OpenDatabaseFile(db);
            QAction *install = w.form->action(Command::Install);
            QVERIFY(install->isEnabled());
            QVERIFY(install->toolTip().contains(s("not set up")));
            answerNextDialog({{s("E_Folder"), path("card")}, {s("E_User"), s("Carla")}}, button);
            install->trigger();
            Database copy;
            const bool copied =
                readFile(
                    [&] {
                        QFile f(path("card/Addresses.pdb"));
                        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
                    }(),
                    copy)
                    .ok;
            const EngineServices &x = w.form->services();
            // The start page shows once the database is closed.
            w.form->action(Command::Close)->trigger();
            outcome = s("copy %1, line %2, user %3")
                          .arg(copied ? copy.name() : s("none"))
                          .arg(w.noticeShown())
                          .arg(x.userData.UserName(x.selectedSyncUser));
            w.form->close();
        }
        Window again(path("QGE.ini"), [] { return nullptr; });
        outcome += s("; next start %1").arg(again.form->services().userData.UserCount());
        again.form->close();
        QCOMPARE(outcome, expected);
    }

    // The lookup list's database is looked for first in the initial folder,
    // which is the selected handheld user's backup folder.
    void theLookupListFollowsTheSelectedUser_data()
    {
        QTest::addColumn<int>("user");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("Anna") << 0 << QStringList{s("Oslo"), s("Bergen")};
        QTest::newRow("Bob, the last") << 1 << QStringList{s("Paris")};
    }

    void theLookupListFollowsTheSelectedUser()
    {
        QFETCH(int, user);
        QFETCH(QStringList, items);
        const QString desktop = path("desktop");
        for (const auto &[folder, cities] :
             {std::pair("AnnaB", std::vector<QByteArray>{"Oslo", "Bergen"}),
              std::pair("BobF", std::vector<QByteArray>{"Paris"})}) {
            QVERIFY(QDir().mkpath(desktop + s("/%1/backup").arg(s(folder))));
            PdbBuilder b = PdbBuilder::withFields(1);
            b.fields[0].name = "Name";
            for (const QByteArray &city : cities)
                b.records.push_back({city});
            writeFile(desktop + s("/%1/backup/Cities.pdb").arg(s(folder)), b.build());
        }
        Window w(path("QGE.ini"), [desktop] {
            auto *software = new FakeSyncSoftware;
            software->path = desktop;
            software->lastUser = s("Bob");
            software->users =
                std::vector<SyncUser>{{3, s("Anna"), s("AnnaB")}, {7, s("Bob"), s("BobF")}};
            return software;
        });
        PdbBuilder b = PdbBuilder::withFields(1);
        b.records = {{"x"}};
        w.form->OpenDatabaseFile(writeFile(path("Trips.pdb"), b.build()));
        Database &db = DocumentAccess::database(w.form->services().document);
        db.field(1).type = FieldType::NormalPopup;
        db.field(1).setting2 = 1;
        db.field(1).popupItems = {s("Cities"), s("Name")};
        w.form->services().selectedSyncUser = user;
        answerNextDialog({}, s("&Open"));
        InterchangeBindings::offerLookupLoad(w.form->services(), *w.form->grid(), 1);
        QCOMPARE(db.field(1).popupItems, items);
        QCOMPARE(int(w.dialogs.requests.size()), 0);
        w.form->close();
    }
};

QTEST_MAIN(DeliveryTest)
#include "delivery_test.moc"
