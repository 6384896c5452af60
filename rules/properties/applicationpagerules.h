#pragma once

#include "rules/properties/propertiescontrols.h"

struct Preferences;
class PropertiesShell;

/**
 * The Application page of the Properties dialog: the preferences it edits
 * and the handheld user Install serves. Confirming takes them over at once
 * (separators, number alignment, the initial folder); they reach the
 * settings store when the program ends.
 */
class ApplicationPageRules
{
public:
    ApplicationPageRules(Preferences &preferences, PropertiesShell &shell,
                         PropertiesControls::ApplicationControls &page);

    /// Opening: the users (with the synchronisation software's last one
    /// selected) and the preferences' boxes.
    void open();
    /// The last part of the confirmation.
    void confirm();

private:
    Preferences &mPreferences;
    PropertiesShell &mShell;
    PropertiesControls::ApplicationControls &mPage;
};
