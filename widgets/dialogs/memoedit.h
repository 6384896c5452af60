#pragma once

#include <QPlainTextEdit>

/**
 * The cell editor's multi-line text box: its text in the cells' form (line
 * breaks CR LF), Enter inserting a line break, and no more than
 * BankFormRules::MaxLength characters taken from the keyboard or the
 * clipboard. A longer text set by the program stays whole; it only cannot
 * grow.
 */
class MemoEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit MemoEdit(QWidget *parent = nullptr);

    /// The text with CR LF line breaks.
    QString text() const;
    /// Shows @p text (CR LF line breaks) without telling userEdited().
    void setText(const QString &text);

    /// Four lines of the font, as wide as the dialog's design.
    QSize sizeHint() const override;

signals:
    /// The user changed the text.
    void userEdited();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    /// Inserts what fits of @p text at the caret.
    void insertLimited(const QString &text);
    /// The length of the text as the cell would hold it.
    int cellLength() const;
    int selectedCellLength() const;

    bool mSetting = false;
};
