#pragma once

#include "interchange/lookup/lookupformrules.h"

#include <QDialog>

class QLabel;
class QPushButton;

/**
 * The lookup dialog: says which file holds the list, and reads it on Open
 * (LookupFormRules decides). It stays open after a failed read, so the
 * user can try again or cancel.
 */
class TLookupForm : public QDialog, public LookupPrompt
{
    Q_OBJECT

public:
    explicit TLookupForm(QWidget *parent = nullptr);

    using QDialog::exec;
    void exec(LookupFormRules &rules) override;

private:
    void B_OpenClick();

    LookupFormRules *mRules = nullptr;
    QLabel *L_Lookup;
    QLabel *L_File;
    QLabel *L_Error;
    QPushButton *B_Open;
    QPushButton *B_Cancel;
};
