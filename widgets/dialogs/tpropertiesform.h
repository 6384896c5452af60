#pragma once

#include "rules/properties/propertiesformrules.h"
#include "widgets/dialogs/controlbinder.h"

#include <QDialog>

class QPushButton;
class QStackedWidget;
class QTabWidget;

/**
 * The Properties dialog: seven pages over PropertiesFormRules, and the
 * load/save panel in their place while it is shown. Made once; the active
 * page lasts between openings. Enter does not confirm; Escape closes it
 * from either state without applying anything.
 */
class TPropertiesForm : public QDialog
{
    Q_OBJECT

public:
    TPropertiesForm(const PropertiesServices &services, QWidget *parent = nullptr);

    PropertiesFormRules &rules() { return mRules; }

    /// Opens the dialog for the field of grid column @p column; whether it
    /// was confirmed.
    bool execute(int column);

    /// Copies every control's value from the rules into the widgets.
    void showControls();

private:
    QWidget *createDatabasePage();
    QWidget *createPopupPage();
    QWidget *createSortPage();
    QWidget *createFilterPage();
    QWidget *createAdvFilterPage();
    QWidget *createApplicationPage();
    QWidget *createLoadSavePanel();
    void B_OKClick();

    PropertiesFormRules mRules;
    ControlBinder mBinder;
    QStackedWidget *mPanels;
    QWidget *P_PageControl;
    QWidget *P_LoadSave;
    QTabWidget *PageControl;
    QWidget *TabSheetPop = nullptr;
    QPushButton *B_LoadSaveSetting;
};
