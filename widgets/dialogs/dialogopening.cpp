#include "widgets/dialogs/dialogopening.h"

#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

DialogOpening::DialogOpening(QDialog *dialog, Size size)
    : QObject(dialog), mDialog(dialog), mSize(size)
{
}

void DialogOpening::install(QDialog *dialog, Size size)
{
    dialog->installEventFilter(new DialogOpening(dialog, size));
}

bool DialogOpening::eventFilter(QObject *watched, QEvent *event)
{
    // The show event comes before the window is mapped: the window
    // manager gets the place and the size with it.
    if (watched == mDialog && event->type() == QEvent::Show && !event->spontaneous())
        place();
    if (watched == mDialog && event->type() == QEvent::Hide && !event->spontaneous())
        mRemembered = mDialog->size();
    return false;
}

void DialogOpening::place()
{
    if (QLayout *layout = mDialog->layout())
        layout->activate();
    QSize size = mDialog->sizeHint();
    if (mSize == Size::Remembered && mRemembered.isValid())
        size = mRemembered.expandedTo(mDialog->minimumSizeHint());
    size = size.expandedTo(mDialog->minimumSize()).boundedTo(mDialog->maximumSize());

    const QWidget *owner = mDialog->parentWidget() ? mDialog->parentWidget()->window() : nullptr;
    const QRect available = (owner ? owner->screen() : mDialog->screen())->availableGeometry();
    // The dialog's frame is taken to be as wide as its owner's: it is not
    // known before the window manager has framed the dialog.
    QMargins frame;
    if (owner && owner->isVisible()) {
        const QRect outer = owner->frameGeometry();
        const QRect inner = owner->geometry();
        frame = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    }
    size = size.boundedTo(available.size().shrunkBy(frame));
    mDialog->resize(size);

    QRect outer(QPoint(), size.grownBy(frame));
    outer.moveCenter(owner && owner->isVisible() ? owner->frameGeometry().center()
                                                 : available.center());
    outer.moveLeft(
        qMax(available.left(), qMin(outer.left(), available.right() + 1 - outer.width())));
    outer.moveTop(
        qMax(available.top(), qMin(outer.top(), available.bottom() + 1 - outer.height())));
    mDialog->move(outer.topLeft());
}

QWidget *DialogOpening::firstInput(QWidget *page)
{
    for (QWidget *w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (page->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(page) && !qobject_cast<QPushButton *>(w))
            return w;
    }
    return nullptr;
}

void DialogOpening::focusFirstInput(QWidget *page)
{
    QWidget *input = firstInput(page);
    if (!input)
        return;
    input->setFocus(Qt::TabFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(input))
        edit->selectAll();
    else if (auto *box = qobject_cast<QComboBox *>(input); box && box->lineEdit())
        box->lineEdit()->selectAll();
}
