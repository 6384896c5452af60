#pragma once

#include <QWidget>

class ControlBinder;
class PropertiesFormRules;

/**
 * The Field page of the Properties dialog: name, type, width, protection,
 * default and lock above, and below them the one type group the rules
 * show, all in the same place.
 */
class PropertiesFieldPage : public QWidget
{
    Q_OBJECT

public:
    /// Binds every control to @p rules through @p binder; @p changed runs
    /// after the rules handled a type change or a button.
    PropertiesFieldPage(PropertiesFormRules &rules, ControlBinder &binder,
                        std::function<void()> changed, QWidget *parent = nullptr);
};
