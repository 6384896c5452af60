#pragma once

#include <QObject>
#include <QSize>

class QDialog;
class QWidget;

/**
 * Where and how large a dialog opens: centred on the window it belongs
 * to, wholly on that window's screen, at the size its contents ask for,
 * or, for a dialog that keeps its size, at the size it was last closed
 * with (grown where its contents now need more). And where typing goes
 * first: the first input of a page.
 */
class DialogOpening : public QObject
{
public:
    enum class Size
    {
        Natural,
        Remembered
    };

    /// From now on @p dialog opens so on every show.
    static void install(QDialog *dialog, Size size = Size::Natural);

    /// The first control of @p page, in the order Tab takes, that takes
    /// typing or a choice (buttons that only act are passed over); null
    /// when it has none.
    static QWidget *firstInput(QWidget *page);
    /// Gives that control the focus, its text selected so that typing
    /// replaces it.
    static void focusFirstInput(QWidget *page);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DialogOpening(QDialog *dialog, Size size);
    void place();

    QDialog *mDialog;
    Size mSize;
    QSize mRemembered;
};
