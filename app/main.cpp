#include "core/platform/qt/commandlinebytes.h"
#include "core/platform/qt/qsettingsstore.h"
#include "rules/shell/commandline.h"
#include "widgets/mainwindow/tmainform.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillgrid5"));
    QApplication::setApplicationVersion(QStringLiteral(QG_VERSION));
    // The installed desktop entry and icon bear this name (app/desktop/).
    QApplication::setDesktopFileName(QStringLiteral("org.quillgrid.Quillgrid5"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillgrid.svg")));

    // The arguments as bytes (the application took its own options out):
    // the file opened must be the one named, byte for byte.
    QString error;
    const std::optional<QStringList> arguments = CommandLineBytes::decode(argc, argv, &error);
    if (!arguments) {
        QTextStream(stderr) << "quillgrid: " << error << Qt::endl;
        QMessageBox::critical(nullptr, QStringLiteral("Quillgrid5"),
                              QStringLiteral("The file named on the command line was not "
                                             "opened: ") +
                                  error + QLatin1Char('.'));
        return 2;
    }
    QSettingsStore settings;
    TMainForm window(settings);
    // Several arguments are one path that the shell split at its blanks.
    window.setCommandLineFile(commandLineFile(*arguments));
    window.show();
    return app.exec();
}
