#pragma once

#include "rules/properties/propertiesshell.h"

class TMainForm;

/// What the Properties dialog asks of the main window, as the window
/// answers it.
class MainFormPropertiesShell : public PropertiesShell
{
public:
    explicit MainFormPropertiesShell(TMainForm &form) : mForm(form) {}

    void SetupGrid(bool open) override;
    void UpdateInitialDirectory() override;
    void setAutoRightJustify(bool on) override;
    void setUsNumberFormat(bool us) override;
    QStringList syncUserNames() const override;
    int lastSyncUser() const override;
    void setSelectedSyncUser(int user) override;

private:
    TMainForm &mForm;
};
