// Draws the main window with a database open into a PNG, for the README:
//   quillgrid-screenshot DATABASE.pdb OUT.png [WIDTH HEIGHT]
// Starts with the default preferences, whatever the user has stored.

#include "memorysettingsstore.h"
#include "widgets/mainwindow/tmainform.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillgrid5"));
    const QStringList args = QApplication::arguments();
    if (args.size() != 3 && args.size() != 5) {
        std::fputs("usage: quillgrid-screenshot DATABASE.pdb OUT.png [WIDTH HEIGHT]\n", stderr);
        return 2;
    }
    MemorySettingsStore settings;
    // No question about handheld software in the picture.
    settings.preset(QStringLiteral("Settings"), QStringLiteral("HandheldSoftware"),
                    QStringLiteral("0"));
    TMainForm window(settings);
    window.setCommandLineFile(args.at(1));
    if (args.size() == 5)
        window.resize(args.at(3).toInt(), args.at(4).toInt());
    window.show();
    int status = 1;
    // Once the file is open and the window has drawn itself.
    QTimer::singleShot(800, &window, [&] {
        if (window.grab().save(args.at(2)))
            status = 0;
        else
            std::fputs("the picture could not be written\n", stderr);
        window.services().document.setChanged(false);
        app.quit();
    });
    app.exec();
    return status;
}
