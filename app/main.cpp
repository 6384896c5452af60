#include "core/platform/qt/commandlinebytes.h"
#include "core/platform/qt/qsettingsstore.h"
#include "rules/shell/editorcommandline.h"
#include "widgets/mainwindow/tmainform.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTextStream>

#include <optional>

namespace {

/// Answers --help and --version on standard output; nothing when the
/// line asks for neither.
std::optional<int> answered(const EditorCommandLine &line)
{
    if (line.action == EditorCommandLine::Action::Help)
        QTextStream(stdout) << EditorCommandLine::helpText();
    else if (line.action == EditorCommandLine::Action::Version)
        QTextStream(stdout) << "quillgrid " << QG_VERSION << Qt::endl;
    else
        return std::nullopt;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // --help and --version need no display: they are answered before the
    // application connects to one (and again after, when Qt's own options
    // stood in the way).
    QString ignored;
    if (const auto arguments = CommandLineBytes::decode(argc, argv, &ignored)) {
        if (const auto status = answered(EditorCommandLine::parse(*arguments)))
            return *status;
    }
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
    const EditorCommandLine line = EditorCommandLine::parse(*arguments);
    if (const auto status = answered(line))
        return *status;
    if (line.action == EditorCommandLine::Action::UsageError) {
        QTextStream(stderr) << line.file << '\n' << EditorCommandLine::usageLine() << Qt::endl;
        return 2;
    }
    QSettingsStore settings;
    TMainForm window(settings);
    window.setCommandLineFile(line.file);
    window.show();
    return app.exec();
}
