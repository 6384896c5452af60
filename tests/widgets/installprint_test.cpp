// The Install and Print commands in the main window: the start-up message
// where the desktop software may be, the install folder, and printed pages
// read back from a PDF.

#include "core/document/database.h"
#include "core/platform/qt/qsettingsstore.h"
#include "fakesyncsoftware.h"
#include "interchange/print/pagepainter.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "widgets/mainwindow/tmainform.h"

#include <QAction>
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

/// Runs a tool of the poppler utilities; empty when it is not there.
QString pdfTool(const char *tool, const QStringList &arguments)
{
    const QString path = QStandardPaths::findExecutable(QLatin1String(tool));
    if (path.isEmpty())
        return {};
    QProcess p;
    p.start(path, arguments);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class InstallPrintTest : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;

    QString settingsPath() const { return mDir.filePath(s("QGE.ini")); }

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = mDir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }

    struct Window
    {
        QSettingsStore settings;
        ScriptedMessages messages;
        ScriptedShell dialogs;
        std::unique_ptr<TMainForm> form;

        Window(const QString &settingsPath, std::function<FakeSyncSoftware *()> software,
               std::deque<MessageButton> answers = {})
            : settings(settingsPath)
        {
            messages.answers = std::move(answers);
            TMainForm::Overrides o;
            // The desktop software may be there, as on Windows.
            o.desktopSoftwareExpected = true;
            o.messages = &messages;
            o.dialogs = &dialogs;
            o.syncSoftware = [software] {
                std::vector<std::unique_ptr<SyncSoftware>> list;
                if (FakeSyncSoftware *one = software())
                    list.emplace_back(one);
                return list;
            };
            form = std::make_unique<TMainForm>(settings, o);
        }
    };

private slots:
    void init() { QFile::remove(settingsPath()); }

    void missingSoftwareIsReportedUntilTheUserSaysNoMore()
    {
        struct Case
        {
            bool softwareThere;
            MessageButton answer;
            int messagesFirst;
            int messagesSecond;
        };
        for (const Case c :
             {Case{true, MessageButton::Ok, 0, 0}, Case{false, MessageButton::Ok, 1, 1},
              Case{false, MessageButton::DontShowAgain, 1, 0}}) {
            QFile::remove(settingsPath());
            const auto software = [c]() -> FakeSyncSoftware * {
                return c.softwareThere ? new FakeSyncSoftware : nullptr;
            };
            int shown[2];
            for (int run = 0; run < 2; ++run) {
                Window w(settingsPath(), software, {c.answer});
                shown[run] = int(w.messages.shown.size());
                w.form->close();
            }
            QCOMPARE(shown[0], c.messagesFirst);
            QCOMPARE(shown[1], c.messagesSecond);
        }
    }

    void installCopiesIntoTheLastUsersFolder()
    {
        const QString desktop = mDir.filePath(s("desktop"));
        QVERIFY(QDir().mkpath(desktop + s("/BobF/Install")));
        Window w(settingsPath(), [desktop] {
            auto *software = new FakeSyncSoftware;
            software->path = desktop;
            software->lastUser = s("Bob");
            software->users =
                std::vector<SyncUser>{{3, s("Anna"), s("AnnaB")}, {7, s("Bob"), s("BobF")}};
            return software;
        });
        QCOMPARE(w.form->services().selectedSyncUser, 1);
        QCOMPARE(w.form->initialDirectory(), desktop + s("/BobF/backup"));

        PdbBuilder b = PdbBuilder::withFields(2);
        b.name = "Addresses";
        b.records = {{"Ann", "Paris"}};
        w.form->OpenDatabaseFile(writeFile(s("Addresses.PDB"), b.build()));
        QVERIFY(w.form->action(Command::Install)->isEnabled());
        w.form->action(Command::Install)->trigger();
        Database copy;
        QFile f(desktop + s("/BobF/Install/Addresses.pdb"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(readFile(f.readAll(), copy).ok);
        QCOMPARE(copy.name(), s("Addresses"));
        QCOMPARE(w.messages.shown.back().text(),
                 s("The Database is saved and ready for synchronizing."));
        w.form->close();
    }

    void printedPagesReadBack_data()
    {
        QTest::addColumn<QString>("database");
        QTest::addColumn<QString>("fitted");
        QTest::newRow("example") << s(QG_EXAMPLE_DATABASE) << s("Tomato '\\S*\\.\\.");
        // More fields than a handheld database may have: the layout does not mind.
        QTest::newRow("60 fields, 500 records") << QString() << s("A text f[a-z ]*\\.\\.");
    }

    void printedPagesReadBack()
    {
        QFETCH(QString, database);
        QFETCH(QString, fitted);
        if (QStandardPaths::findExecutable(s("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        Database db;
        if (database.isEmpty()) {
            db.setName(s("Wide"));
            db.grid().resize(61, 501);
            for (int c = 1; c <= 60; ++c) {
                db.grid().setColumnWidth(c, 64);
                db.grid().setCell(c, 0, s("Field %1").arg(c));
                for (int r = 1; r <= 500; ++r)
                    db.grid().setCell(c, r, s("r%1c%2").arg(r).arg(c));
            }
            db.grid().setCell(1, 1, s("A text far longer than its column"));
            // A character without a byte in the code page: drawn through
            // the font, not the table's glyph run.
            db.grid().setCell(2, 1, s("\u03A9mega"));
        } else {
            QFile in(database);
            QVERIFY(in.open(QIODevice::ReadOnly));
            QVERIFY(readFile(in.readAll(), db).ok);
            for (int c = 1; c <= db.fieldCount(); ++c)
                db.grid().setColumnWidth(c, db.FieldWidthToPixels(db.field(c).readWidth));
        }

        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        const QString pdf = mDir.filePath(s("out.pdf"));
        printer.setOutputFileName(pdf);
        const int pages = PagePainter::print(printer, db, QFont(s("DejaVu Sans"), 8));
        QVERIFY(pages > 0);

        const QString info = pdfTool("pdfinfo", {pdf});
        QVERIFY(info.contains(QRegularExpression(s("Pages:\\s+%1\\n").arg(pages))));
        const QString text = pdfTool("pdftotext", {s("-layout"), pdf, s("-")});
        // Row band by row band, every column band of each.
        QStringList labels;
        QRegularExpressionMatchIterator it =
            QRegularExpression(s("Page (\\d+)\\.(\\d+)")).globalMatch(text);
        while (it.hasNext())
            labels << it.next().captured(0);
        QCOMPARE(labels.size(), pages);
        const int columnBands = int(labels.filter(QRegularExpression(s("^Page 1\\."))).size());
        QStringList expected;
        for (int r = 1; expected.size() < pages; ++r) {
            for (int c = 1; c <= columnBands; ++c)
                expected << s("Page %1.%2").arg(r).arg(c);
        }
        QCOMPARE(labels, expected);
        QVERIFY2(text.contains(QRegularExpression(fitted)), qPrintable(text.left(2000)));
        QVERIFY(!database.isEmpty() || text.contains(s("\u03A9mega")));
        QVERIFY(text.contains(db.name()));
    }

    void theCommandLinePrintsWhatExportAsPdfWrites()
    {
        if (QStandardPaths::findExecutable(s("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        Window w(settingsPath(), [] { return new FakeSyncSoftware; });
        w.form->show();
        w.form->OpenDatabaseFile(s(QG_EXAMPLE_DATABASE));
        const QString editor = mDir.filePath(s("editor.pdf"));
        w.dialogs.fileAnswers = {editor};
        w.form->action(Command::ExportPdf)->trigger();
        w.form->close();

        const QString cli = mDir.filePath(s("cli.pdf"));
        QProcess run;
        run.start(s(QG_CLI_PATH), {s("print"), s(QG_EXAMPLE_DATABASE), cli});
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 0);
        // The same pages, line for line and column for column.
        const QString info = pdfTool("pdfinfo", {editor});
        QVERIFY(info.contains(s("Pages:")));
        const auto pages = [](const QString &text) {
            return text.section(s("Page size:"), 1).section(QLatin1Char('\n'), 0, 0) +
                   text.section(s("Pages:"), 1).section(QLatin1Char('\n'), 0, 0);
        };
        QCOMPARE(pages(pdfTool("pdfinfo", {cli})), pages(info));
        QCOMPARE(pdfTool("pdftotext", {s("-layout"), cli, s("-")}),
                 pdfTool("pdftotext", {s("-layout"), editor, s("-")}));
    }
};

QTEST_MAIN(InstallPrintTest)
#include "installprint_test.moc"
