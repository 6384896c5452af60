#pragma once

#include <QString>

/// What a file dialog is asked to show.
struct FileDialogRequest
{
    QString title;
    /// Filter pairs of description and pattern, separated by '|':
    /// "Listora database (*.pdb)|*.pdb|All Files (*.*)|*.*".
    QString filter;
    QString defaultExtension; ///< without the dot
    QString initialFolder;
    QString proposedName;
    /// A file that is write-protected cannot be chosen: the dialog says so
    /// and asks again.
    bool refuseReadOnly = false;
    /// The file type (1-based index into the filter's pairs) selected when
    /// the dialog opens; 0 for the first.
    int filterIndex = 0;
    /// Receives the file type chosen, when given; a dialog that offers no
    /// choice leaves it as it is.
    int *chosenFilter = nullptr;
};

/// The file-open and file-save dialogs. Both return the chosen path, or an
/// empty text when the user cancelled.
class FileDialogs
{
public:
    virtual ~FileDialogs() = default;

    virtual QString getOpenFileName(const FileDialogRequest &request) = 0;
    virtual QString getSaveFileName(const FileDialogRequest &request) = 0;
};
