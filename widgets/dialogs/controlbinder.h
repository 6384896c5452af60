#pragma once

#include "rules/properties/propertiescontrols.h"

#include <QObject>

#include <functional>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLineEdit;
class QWidget;

/**
 * Ties widgets to the values of a rules class: what the user does goes
 * into the value at once, and show() puts every value back into its widget
 * (without the widgets reporting it as the user's input).
 */
class ControlBinder
{
public:
    /// A text box, or the text of an editable combo box.
    void text(QLineEdit *edit, QString &value);
    void editableText(QComboBox *box, QString &value);
    void check(QAbstractButton *button, bool &value);
    /// A drop-down list: its entries and selection.
    void choice(QComboBox *box, PropertiesControls::Choice &value);
    /// Visibility or enabled state that only the rules change.
    void visible(QWidget *widget, const bool &value);
    void enabled(QWidget *widget, const bool &value);
    /// Anything else: @p show copies a value in.
    void custom(std::function<void()> show) { mShows.push_back(std::move(show)); }

    /// Puts every value into its widget.
    void show() const;

private:
    std::vector<std::function<void()>> mShows;
};
