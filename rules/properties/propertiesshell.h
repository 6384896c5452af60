#pragma once

#include <QStringList>

/**
 * What the Properties dialog asks of the main window: switching the grid
 * on again after a confirmation, the preferences' effects, and the handheld
 * users of the synchronisation software.
 */
class PropertiesShell
{
public:
    virtual ~PropertiesShell() = default;

    /// SetupGrid(true): the commands follow the read-only flag; any
    /// active filter goes off.
    virtual void SetupGrid(bool open) = 0;
    /// The file dialogs' initial folder from the preferences and the
    /// selected handheld user.
    virtual void UpdateInitialDirectory() = 0;
    /// Numbers in cells right-justified or not, at once with a repaint.
    virtual void setAutoRightJustify(bool on) = 0;
    /// The number separators: "." and "," when @p us, else the system's
    /// saved at start.
    virtual void setUsNumberFormat(bool us) = 0;

    /// The handheld users by name, in order.
    virtual QStringList syncUserNames() const = 0;
    /// The synchronisation software's last user (-1: none known).
    virtual int lastSyncUser() const = 0;
    /// The user Install serves from now on (-1: none).
    virtual void setSelectedSyncUser(int user) = 0;
};
