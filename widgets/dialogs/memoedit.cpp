#include "widgets/dialogs/memoedit.h"

#include "rules/celleditor/bankformrules.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

/// Qt's plain text with its line breaks as CR LF.
QString toCellText(QString plain)
{
    plain.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    plain.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return plain.replace(QLatin1Char('\n'), kCrLf);
}

} // namespace

MemoEdit::MemoEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!mSetting)
            emit userEdited();
    });
}

QString MemoEdit::text() const
{
    return toCellText(toPlainText());
}

void MemoEdit::setText(const QString &text)
{
    mSetting = true;
    QString plain = text;
    setPlainText(plain.replace(kCrLf, QStringLiteral("\n")));
    mSetting = false;
}

QSize MemoEdit::sizeHint() const
{
    const int margins = 2 * (frameWidth() + int(document()->documentMargin()));
    return {280, 4 * fontMetrics().lineSpacing() + margins};
}

int MemoEdit::cellLength() const
{
    // Each line break between blocks is two characters in the cell.
    return int(toPlainText().size()) + document()->blockCount() - 1;
}

int MemoEdit::selectedCellLength() const
{
    return int(toCellText(textCursor().selectedText()).size());
}

void MemoEdit::insertLimited(const QString &text)
{
    QString fits = BankFormRules::fitInsertion(cellLength(), selectedCellLength(), text);
    if (fits.isEmpty() && !text.isEmpty())
        return;
    fits.replace(kCrLf, QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    textCursor().insertText(fits);
    ensureCursorVisible();
}

void MemoEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Enter breaks the line; it does not press OK.
        insertLimited(kCrLf);
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable =
        !typed.isEmpty() && typed.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (printable &&
        BankFormRules::fitInsertion(cellLength(), selectedCellLength(), typed) != typed) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MemoEdit::insertFromMimeData(const QMimeData *source)
{
    if (source && source->hasText())
        insertLimited(source->text());
}
