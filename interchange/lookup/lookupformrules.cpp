#include "interchange/lookup/lookupformrules.h"

#include "core/document/database.h"
#include "core/document/document.h"

LookupFormRules::LookupFormRules(const Database &db, int field, const LookupServices &services)
    : mServices(services), mDef(db.field(field)), mDatabase(mDef.popupItems.value(0)),
      mField(mDef.popupItems.value(1))
{
}

QString LookupFormRules::lookupLabel() const
{
    return QStringLiteral("Please open file to load the Lookup List of this Field.");
}

QString LookupFormRules::fileLabel() const
{
    return QStringLiteral("Probable File name: ") + LookupList::probableFileName(mDatabase);
}

bool LookupFormRules::open()
{
    Database lookup;
    if (!LookupList::ReadLookupFile(LookupList::probableFileName(mDatabase), mServices, lookup))
        return false;
    const std::optional<QStringList> items = LookupList::values(lookup, mField);
    if (!items) {
        mError = QStringLiteral("Wrong file, this database has no Field: ") + mField;
        return false;
    }
    mError.clear();
    mDef.popupItems = *items;
    mDef.lookupLoaded = true;
    mDef.lookupDatabase = mDatabase;
    mDef.lookupField = mField;
    return true;
}

bool OfferLookupLoad(Document &doc, int k, LookupPrompt &prompt, const LookupServices &services)
{
    const Database &db = doc.database();
    if (!LookupList::isUnloaded(db, k) || db.field(k).popupItems.size() < 2)
        return false;
    LookupFormRules rules(db, k, services);
    prompt.exec(rules);
    if (!rules.loaded().lookupLoaded)
        return false;
    doc.apply(Edit::view(EditStep::FieldDefs{{{k, rules.loaded()}}}));
    return true;
}
