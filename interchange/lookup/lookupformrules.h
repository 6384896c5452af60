#pragma once

#include "core/document/fielddef.h"
#include "interchange/lookup/lookuplist.h"

#include <QString>

class Database;
class Document;

/**
 * The lookup dialog without its widgets: its three labels and its Open
 * button. Open reads the other database and, when it has the field, makes
 * the loaded definition; otherwise the error label says why and the dialog
 * stays open.
 */
class LookupFormRules
{
public:
    LookupFormRules(const Database &db, int field, const LookupServices &services);

    QString lookupLabel() const;
    QString fileLabel() const;
    const QString &errorLabel() const { return mError; }

    /// The Open button; true when the list was loaded and the dialog closes.
    bool open();
    /// The field as it is once loaded.
    const FieldDef &loaded() const { return mDef; }

private:
    LookupServices mServices;
    FieldDef mDef;
    QString mDatabase;
    QString mField;
    QString mError;
};

/// The lookup dialog: shows the rules' labels, runs open() on its Open
/// button and closes when it returns true; Cancel and Esc close it.
class LookupPrompt
{
public:
    virtual ~LookupPrompt() = default;
    virtual void exec(LookupFormRules &rules) = 0;
};

/**
 * Offers to load the list of field @p k before it is edited: does nothing
 * unless the field is an unloaded Lookup Popup with both names (an
 * incomplete reference, fewer than two popup items, shows no dialog).
 * Otherwise shows @p prompt; a loaded list becomes the field's popup items
 * by an edit that neither marks the database changed nor can be undone.
 * Returns whether a list was loaded.
 */
bool OfferLookupLoad(Document &doc, int k, LookupPrompt &prompt, const LookupServices &services);
