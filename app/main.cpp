#include "app/plainwindow.h"
#include "ui/rules/commandline.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillgrid5"));

    PlainWindow window;
    window.show();

    // Several arguments are one path that the shell split at its blanks.
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    const QString path = commandLineFile(arguments);
    if (!path.isEmpty())
        QTimer::singleShot(0, &window, [&window, path] { window.openFile(path); });
    return app.exec();
}
