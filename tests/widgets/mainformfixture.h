#pragma once

#include "core/document/recordgrid.h"
#include "core/platform/qt/qsettingsstore.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "documentaccess.h"
#include "fakesyncsoftware.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "widgets/dialogs/memoedit.h"
#include "widgets/dialogs/tbankform.h"
#include "widgets/dialogs/tpropertiesform.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/tmainform.h"

#include <QAction>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QtTest>

#include <memory>

/// The main window over a settings file in a temporary folder, with its
/// messages and file dialogs scripted.
class MainFormFixture : public QObject
{
protected:
    QTemporaryDir mDir;

    QString settingsPath() const { return mDir.filePath(QStringLiteral("QGE.ini")); }

    QString writeDatabase(const char *name, quint16 flags = 0x0001)
    {
        PdbBuilder b = PdbBuilder::withFields(3);
        b.name = name;
        b.flags = flags;
        b.fields[1].typeCode = 0x10; // Float
        b.records = {{"Rosemary", "1.5", "x"}, {"Oak", "2.5", "y"}};
        const QString path = mDir.filePath(QString::fromLatin1(name) + QStringLiteral(".pdb"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(b.build());
        return path;
    }

    QByteArray fileBytes(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

    struct Window
    {
        std::unique_ptr<QSettingsStore> settings;
        ScriptedMessages messages;
        ScriptedShell dialogs;
        std::optional<QFont> fontAnswer;
        QList<QUrl> openedUrls;
        bool browserStarts = true;
        std::unique_ptr<TMainForm> form;

        /// The synchronisation software is there, without users, unless
        /// @p software says otherwise.
        explicit Window(const QString &settingsPath,
                        std::function<std::vector<std::unique_ptr<SyncSoftware>>()> software = {})
            : settings(std::make_unique<QSettingsStore>(settingsPath))
        {
            TMainForm::Overrides o;
            o.syncSoftware = software ? software : [] {
                std::vector<std::unique_ptr<SyncSoftware>> list;
                list.push_back(std::make_unique<FakeSyncSoftware>());
                return list;
            };
            o.messages = &messages;
            o.dialogs = &dialogs;
            o.chooseFont = [this](const QFont &) { return fontAnswer; };
            o.openUrl = [this](const QUrl &url, const std::function<void()> &failed) {
                openedUrls << url;
                if (!browserStarts)
                    failed();
            };
            form = std::make_unique<TMainForm>(*settings, o);
            form->show();
        }
        TMainForm *operator->() { return form.get(); }
        Database &db() { return DocumentAccess::database(form->services().document); }
    };
};
