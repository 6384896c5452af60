#pragma once

#include "core/document/databaseflags.h"
#include "documentaccess.h"
#include "gardendocument.h"
#include "rules/properties/propertiesformrules.h"
#include "rules/properties/propertiesshell.h"
#include "rules/settings/preferences.h"
#include "scriptedpasswords.h"
#include "table/filter/filterengine.h"

#include <gtest/gtest.h>

/// The garden database with the Properties dialog's rules over it, and the
/// main window as the dialog sees it.
namespace PropertiesFixture {

using namespace PropertiesControls;
using Controls = PropertiesFormRules::Controls;

/// The main window as the dialog sees it, writing down what it is asked.
class RecordingShell : public PropertiesShell
{
public:
    void SetupGrid(bool open) override { log << QStringLiteral("setup"); }
    void UpdateInitialDirectory() override { log << QStringLiteral("initial dir"); }
    void setAutoRightJustify(bool on) override { log << QStringLiteral("right %1").arg(on); }
    void setUsNumberFormat(bool us) override { log << QStringLiteral("us %1").arg(us); }
    QStringList syncUserNames() const override { return users; }
    int lastSyncUser() const override { return last; }
    void setSelectedSyncUser(int user) override { selected = user; }

    QStringList log;
    QStringList users;
    int last = -1;
    int selected = -2;
};

/// The garden database with the dialog's rules over it.
struct Dialog : GardenDocument
{
    ScriptedPasswords passwords;
    Preferences prefs;
    RecordingShell props;
    FilterEngine filter{doc, locale, shell};
    PropertiesFormRules rules{
        {doc, calc, filter, messages, passwords, locale, shell, prefs, props}};

    Controls &c() { return rules.controls(); }
    Database &db() { return DocumentAccess::database(doc); }
    void open(int column, int page = FieldPage)
    {
        rules.FormShow(column);
        rules.PageControlChange(page);
    }
    QStringList shownTexts() const
    {
        QStringList texts;
        for (const Message &m : messages.shown)
            texts << m.caption + QLatin1Char(':') + m.text();
        return texts;
    }
};

} // namespace PropertiesFixture
