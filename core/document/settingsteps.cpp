#include "core/document/databaseoptions.h"
#include "core/document/document.h"
#include "core/document/editsteps.h"

// The steps on what the database keeps besides its table: the view options
// (ViewOptions), the sort keys (SortKeys), the find settings
// (FindSettings), the options of the Properties dialog (Options), the named
// sort and filter lists (NamedLists) and the password (Password).

namespace EditSteps {

Effect effect(const Target &t, const EditStep::ViewOptions &s)
{
    const bool same =
        t.db.widthScale() == s.widthScale && t.db.autoSizeColumns() == s.autoSizeColumns;
    return same ? Effect::None : Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::ViewOptions &s)
{
    EditStep::ViewOptions inverse{t.db.widthScale(), t.db.autoSizeColumns()};
    t.db.setWidthScale(s.widthScale);
    t.db.setAutoSizeColumns(s.autoSizeColumns);
    emit t.doc.viewOptionsChanged();
    return inverse;
}

qint64 bytes(const EditStep::ViewOptions &)
{
    return 16;
}

Effect effect(const Target &t, const EditStep::SortKeys &s)
{
    return t.db.sort() == s.keys ? Effect::None : Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::SortKeys &s)
{
    EditStep::SortKeys inverse{std::exchange(t.db.sort(), s.keys)};
    emit t.doc.sortKeysChanged();
    return inverse;
}

qint64 bytes(const EditStep::SortKeys &)
{
    return 16;
}

Effect effect(const Target &t, const EditStep::FindSettings &s)
{
    const bool same = t.db.findField() == s.field && t.db.findText() == s.text;
    return same ? Effect::None : Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::FindSettings &s)
{
    // Nothing shows them, so nothing is announced.
    EditStep::FindSettings inverse{t.db.findField(), t.db.findText()};
    t.db.setFindField(s.field);
    t.db.setFindText(s.text);
    return inverse;
}

qint64 bytes(const EditStep::FindSettings &)
{
    return 16;
}

Effect effect(const Target &t, const EditStep::Options &s)
{
    return DatabaseOptions::of(t.db) == s.options ? Effect::None : Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::Options &s)
{
    EditStep::Options inverse{DatabaseOptions::of(t.db)};
    s.options.applyTo(t.db);
    emit t.doc.optionsChanged();
    return inverse;
}

qint64 bytes(const EditStep::Options &)
{
    return 16;
}

namespace {

bool isList(int list)
{
    return list >= 1 && list <= 25;
}

} // namespace

Effect effect(const Target &t, const EditStep::NamedLists &s)
{
    bool changes = false;
    for (const auto &[list, content] : s.sortLists) {
        if (!isList(list))
            return Effect::Invalid;
        changes = changes || !(t.db.sortList(list) == content);
    }
    for (const auto &[list, content] : s.filterLists) {
        if (!isList(list))
            return Effect::Invalid;
        changes = changes || !(t.db.filterList(list) == content);
    }
    return changes ? Effect::Changes : Effect::None;
}

EditStep::Step apply(Target &t, EditStep::NamedLists &s)
{
    EditStep::NamedLists inverse;
    for (auto &[list, content] : s.sortLists)
        inverse.sortLists.emplace_back(list,
                                       std::exchange(t.db.sortList(list), std::move(content)));
    for (auto &[list, content] : s.filterLists)
        inverse.filterLists.emplace_back(list,
                                         std::exchange(t.db.filterList(list), std::move(content)));
    std::reverse(inverse.sortLists.begin(), inverse.sortLists.end());
    std::reverse(inverse.filterLists.begin(), inverse.filterLists.end());
    emit t.doc.optionsChanged();
    return inverse;
}

qint64 bytes(const EditStep::NamedLists &)
{
    return 16;
}

Effect effect(const Target &t, const EditStep::Password &s)
{
    if (s.kept >= int(t.keptPasswords.size()))
        return Effect::Invalid;
    const QString &next = s.kept >= 0 ? t.keptPasswords[size_t(s.kept)] : s.text;
    return next == t.db.password() ? Effect::None : Effect::Changes;
}

EditStep::Step apply(Target &t, EditStep::Password &s)
{
    std::vector<QString> &keep = t.keptPasswords;
    QString next = s.kept >= 0 ? std::exchange(keep[size_t(s.kept)], QString())
                               : std::exchange(s.text, QString());
    // The password replaced goes into the keep, under the number the step
    // came with or a new one.
    int kept = s.kept;
    if (kept < 0) {
        kept = int(keep.size());
        keep.emplace_back();
    }
    keep[size_t(kept)] = t.db.password();
    t.db.setPassword(next);
    emit t.doc.optionsChanged();
    return EditStep::Password{QString(), kept};
}

qint64 bytes(const EditStep::Password &)
{
    return 16;
}

} // namespace EditSteps
