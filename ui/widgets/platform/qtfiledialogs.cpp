#include "ui/widgets/platform/qtfiledialogs.h"

#include <QDir>
#include <QFileDialog>

QString QtFileDialogs::qtFilter(const QString &filter)
{
    // Pairs of description and pattern; the description already names the
    // pattern, which is what Qt reads.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList descriptions;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        descriptions << parts[i];
    return descriptions.join(QStringLiteral(";;"));
}

QString QtFileDialogs::getOpenFileName(const FileDialogRequest &request)
{
    return run(request, false);
}

QString QtFileDialogs::getSaveFileName(const FileDialogRequest &request)
{
    return run(request, true);
}

QString QtFileDialogs::run(const FileDialogRequest &request, bool save)
{
    QFileDialog dialog(mParent, request.title, request.initialFolder, qtFilter(request.filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultExtension);
    // Wide enough for names, sizes and dates whole.
    dialog.resize(860, 520);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}
