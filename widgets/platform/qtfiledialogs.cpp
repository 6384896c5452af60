#include "widgets/platform/qtfiledialogs.h"

#include "core/platform/qt/localfilesystem.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

QString QtFileDialogs::qtFilter(const QString &filter)
{
    // Pairs of description and pattern; the description already names the
    // pattern, which is what Qt reads.
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList descriptions;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        // A filter may end with "|", which adds no pair.
        if (!parts[i].isEmpty())
            descriptions << parts[i];
    }
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
    // "*.*" names no extension to add.
    if (!request.defaultExtension.contains(QLatin1Char('*')))
        dialog.setDefaultSuffix(request.defaultExtension);
    const QStringList types = qtFilter(request.filter).split(QStringLiteral(";;"));
    if (request.filterIndex >= 1 && request.filterIndex <= types.size())
        dialog.selectNameFilter(types[request.filterIndex - 1]);
    // Wide enough for names, sizes and dates whole.
    dialog.resize(860, 520);
    if (!request.proposedName.isEmpty())
        dialog.selectFile(request.proposedName);
    // Qt's dialog lets a read-only file be chosen; when the caller refuses
    // one, it is asked for again.
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        const QString chosen = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
        if (request.chosenFilter && types.contains(dialog.selectedNameFilter()))
            *request.chosenFilter = int(types.indexOf(dialog.selectedNameFilter())) + 1;
        const FileStatus status = LocalFileSystem().status(chosen);
        if (!request.refuseReadOnly || !status.regular || status.writable)
            return chosen;
        QMessageBox::warning(&dialog, request.title,
                             chosen + QStringLiteral("\nThe file is read-only and cannot be "
                                                     "chosen.\nPlease choose another file."));
        dialog.selectFile(chosen);
    }
}
