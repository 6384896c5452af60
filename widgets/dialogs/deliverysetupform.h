#pragma once

#include "core/platform/qt/plaininstallfolder.h"

#include <QDialog>

#include <optional>

class DeliverySetupRules;
class FileSystem;
class QLabel;
class QLineEdit;
class QPushButton;

/**
 * The set-up of handheld delivery: what each kind of synchronisation
 * software came to, and the plain install folder (a folder and a user
 * name) with which Install copies the database into any folder. It copies
 * its controls into DeliverySetupRules and does what they decide.
 */
class DeliverySetupForm : public QDialog
{
    Q_OBJECT

public:
    explicit DeliverySetupForm(QWidget *parent = nullptr);

    using QDialog::exec;
    /// Shows the dialog over @p rules (@p files looks at the folder given);
    /// the setting confirmed with OK, for the caller to store, or nothing
    /// when cancelled.
    std::optional<PlainInstallFolder::Setting> exec(DeliverySetupRules &rules, FileSystem &files);

private:
    void B_OKClick();
    void B_BrowseClick();

    QLabel *L_Found;
    QLineEdit *E_Folder;
    QPushButton *B_Browse;
    QLineEdit *E_User;
    QLabel *L_Error;
    QPushButton *B_OK;
    QPushButton *B_Cancel;
    DeliverySetupRules *mRules = nullptr;
    FileSystem *mFiles = nullptr;
    std::optional<PlainInstallFolder::Setting> mResult;
};
