#include "widgets/dialogs/controlbinder.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

void ControlBinder::text(QLineEdit *edit, QString &value)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [&value](const QString &t) { value = t; });
    mShows.push_back([edit, &value] {
        if (edit->text() != value)
            edit->setText(value);
    });
}

void ControlBinder::editableText(QComboBox *box, QString &value)
{
    QObject::connect(box, &QComboBox::editTextChanged, box,
                     [&value](const QString &t) { value = t; });
    mShows.push_back([box, &value] {
        const QSignalBlocker block(box);
        if (box->currentText() != value)
            box->setEditText(value);
    });
}

void ControlBinder::check(QAbstractButton *button, bool &value)
{
    QObject::connect(button, &QAbstractButton::toggled, button, [&value](bool on) { value = on; });
    mShows.push_back([button, &value] {
        const QSignalBlocker block(button);
        button->setChecked(value);
    });
}

void ControlBinder::choice(QComboBox *box, PropertiesControls::Choice &value)
{
    QObject::connect(box, &QComboBox::activated, box, [&value](int index) { value.index = index; });
    mShows.push_back([box, &value] {
        const QSignalBlocker block(box);
        QStringList shown;
        for (int i = 0; i < box->count(); ++i)
            shown << box->itemText(i);
        if (shown != value.items) {
            box->clear();
            box->addItems(value.items);
        }
        box->setCurrentIndex(value.index);
    });
}

void ControlBinder::visible(QWidget *widget, const bool &value)
{
    mShows.push_back([widget, &value] { widget->setVisible(value); });
}

void ControlBinder::enabled(QWidget *widget, const bool &value)
{
    mShows.push_back([widget, &value] { widget->setEnabled(value); });
}

void ControlBinder::show() const
{
    for (const auto &s : mShows)
        s();
}
