#pragma once

#include "core/crypto/cryptformrules.h"

#include <QDialog>

class MessageService;
class QLabel;
class QLineEdit;
class QPushButton;

/**
 * The password dialog, in decryption or encryption mode. Its rules live in
 * CryptFormRules; the dialog copies the entries there and does what OK
 * decides. It never stores the password anywhere: execute() returns it.
 */
class TCryptForm : public QDialog
{
    Q_OBJECT

public:
    TCryptForm(MessageService &messages, QWidget *parent = nullptr);

    /// Shows the dialog modally; returns the password, or empty on Cancel.
    QString execute(CryptFormRules::Mode mode);

    /// The program font, for the two password boxes.
    void setEditFont(const QFont &font);

private:
    void FormShow();
    void B_OKClick();
    void B_CancelClick();

    MessageService &mMessages;
    CryptFormRules mRules;
    QString mPassword;

    QLabel *L_Cry1;
    QLabel *L_Cry2;
    QLabel *L_Cry3;
    QLabel *L_Cry4;
    QLineEdit *E_Password1;
    QLineEdit *E_Password2;
    QPushButton *B_OK;
    QPushButton *B_Cancel;
};
