#pragma once

#include "interchange/newdatabase/newdatabaserules.h"

#include <QDialog>

#include <optional>

class MessageService;
class QComboBox;
class QLineEdit;
class QPushButton;

/**
 * The new-database dialog. Its checks and the creation live in
 * NewDatabaseRules; the dialog copies its boxes into the choices and stays
 * open while a check fails. Columns and Rows take digits alone.
 */
class TDateiForm : public QDialog
{
    Q_OBJECT

public:
    TDateiForm(MessageService &messages, QWidget *parent = nullptr);

    /// Shows the dialog modally; the checked choices, or none on Cancel.
    std::optional<NewDatabaseRules::Choices> execute();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void B_NewDatabaseClick();
    NewDatabaseRules::Choices choices() const;

    MessageService &mMessages;
    QLineEdit *E_Name;
    QComboBox *ColBox;
    QComboBox *RowBox;
    QComboBox *C_FieldType;
    QComboBox *C_FieldWidth;
    QPushButton *B_NewDatabase;
    QPushButton *B_Cancel;
};
