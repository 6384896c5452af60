#include "core/platform/qt/qsettingsstore.h"
#include "rules/shell/commandline.h"
#include "widgets/mainwindow/tmainform.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillgrid5"));
    QApplication::setApplicationVersion(QStringLiteral(QG_VERSION));
    // The installed desktop entry and icon bear this name (app/desktop/).
    QApplication::setDesktopFileName(QStringLiteral("org.quillgrid.Quillgrid5"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillgrid.svg")));

    QSettingsStore settings;
    TMainForm window(settings);
    // Several arguments are one path that the shell split at its blanks.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    window.setCommandLineFile(commandLineFile(arguments));
    window.show();
    return app.exec();
}
