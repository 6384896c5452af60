#include "ui/widgets/mainwindow/propertiescommands.h"

#include "ui/rules/properties/propertiesshell.h"
#include "ui/widgets/dialogs/tpropertiesform.h"
#include "ui/widgets/grid/gridview.h"
#include "ui/widgets/mainwindow/tmainform.h"

namespace PropertiesCommands {

namespace {

/// What the dialog asks of the main window.
class MainFormShell : public PropertiesShell
{
public:
    explicit MainFormShell(TMainForm &form) : mForm(form) {}

    void SetupGrid(bool open) override { mForm.SetupGrid(open); }
    void UpdateInitialDirectory() override { mForm.UpdateInitialDirectory(); }
    void setAutoRightJustify(bool on) override
    {
        mForm.grid()->setAutoRightJustify(on);
        mForm.grid()->viewport()->update();
    }
    void setUsNumberFormat(bool us) override
    {
        NumberSeparators::setCurrent(us ? NumberSeparators::us() : mForm.systemSeparators());
        mForm.grid()->viewport()->update();
    }
    QStringList syncUserNames() const override
    {
        QStringList names;
        for (int i = 0; i < mForm.userData().UserCount(); ++i)
            names << mForm.userData().UserName(i);
        return names;
    }
    int lastSyncUser() const override { return mForm.userData().LastUserIndex(); }
    void setSelectedSyncUser(int user) override { mForm.setSelectedSyncUser(user); }

private:
    TMainForm &mForm;
};

} // namespace

void bind(TMainForm &form)
{
    auto *shell = new MainFormShell(form);
    // One dialog for the whole run; it keeps its active page.
    auto *dialog = new TPropertiesForm({form.document(), form.calculations(), form.filter(),
                                        form.messages(), form.passwords(), form.locale(),
                                        form.feedback(), form.mutablePreferences(), *shell},
                                       &form);
    QObject::connect(dialog, &QObject::destroyed, [shell] { delete shell; });

    form.bindCommand(Command::Properties, [&form, dialog] {
        if (!form.isDatabaseOpen())
            return;
        dialog->execute(form.grid()->currentGridColumn());
        form.updateCommandStates();
    });
    // Undo and redo of options follow into the grid and the commands.
    QObject::connect(&form.document(), &Document::optionsChanged, &form, [&form] {
        if (!form.isDatabaseOpen())
            return;
        form.grid()->setReadOnly(form.database().isReadOnly());
        form.updateCommandStates();
    });
}

} // namespace PropertiesCommands
