#pragma once

#include "rules/find/replaceformrules.h"

#include <QDialog>

class MessageService;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

/**
 * The Replace dialog. Its rules live in ReplaceFormRules; the dialog copies
 * its controls there on each button and closes when the search has run off
 * the end, then shows what the rules have to say.
 */
class TReplaceForm : public QDialog
{
    Q_OBJECT

public:
    TReplaceForm(ReplaceFormRules &rules, MessageService &messages, QWidget *parent = nullptr);

    /// Shows the dialog modally.
    void execute(const QStringList &fields, const QFont &editFont);

signals:
    /// Replace All is done: @p text says what it did.
    void closingWord(const QString &text);

private:
    ReplaceFormRules::Controls controls() const;
    void press(ReplaceStep::Mode mode);

    ReplaceFormRules &mRules;
    MessageService &mMessages;
    QLineEdit *E_Find;
    QLineEdit *E_Replace;
    QComboBox *C_FindFields;
    QCheckBox *CB_BeginWithString;
    QCheckBox *CB_MatchCase;
    QPushButton *B_Replace;
    QPushButton *B_ReplaceAll;
    QPushButton *B_FindNext;
    QPushButton *B_Close;
};
