#pragma once

#include "rules/find/findformrules.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

/**
 * The Find dialog. Its rules and the search live in FindFormRules; the
 * dialog copies its controls there. "&Find" closes it and then searches;
 * "&Close" and Esc close it and end the search that Find next would go on
 * with.
 */
class TFindForm : public QDialog
{
    Q_OBJECT

public:
    TFindForm(FindFormRules &rules, QWidget *parent = nullptr);

    /// Shows the dialog modally with the controls the rules give.
    void execute(const QStringList &fields, const QFont &editFont);

    void reject() override;

private:
    FindFormRules::Controls controls() const;
    void B_FindClick();

    FindFormRules &mRules;
    QLineEdit *E_Find;
    QComboBox *C_FindFields;
    QCheckBox *CB_FmbwS;
    QCheckBox *CB_FindFromStart;
    QPushButton *B_Find;
    QPushButton *B_Close;
};
