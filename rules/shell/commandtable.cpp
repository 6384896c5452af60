#include "rules/shell/commandtable.h"

#include <array>

namespace CommandTable {

namespace {

using C = Command;

// clang-format off
constexpr Entry kEntries[] = {
    {C::New,          "&File", "&New...",     "",       "New",                          false},
    {C::Clone,        "&File", "C&lone",      "",       "Clone database",               false},
    {C::Open,         "&File", "&Open...",    "Ctrl+O", "Open",                         false},
    {C::Close,        "&File", "&Close",      "",       "",                             true},
    {C::Save,         "&File", "S&ave",       "Ctrl+S", "Save",                         false},
    {C::SaveAs,       "&File", "Save as...",  "",       "",                             false},
    {C::RevertToSaved, "&File", "Revert to saved", "",  "",                             false},
    {C::Install,      "&File", "&Install",    "Ctrl+I", "Install database for hotsync", false},
    {C::DeliverySetup, "&File", "Set up &handheld delivery...", "", "",                 true},
    {C::Import,       "&File", "I&mport...",  "",       "Import",                       false},
    {C::Append,       "&File", "Appen&d...",  "",       "",                             false},
    {C::Export,       "&File", "&Export...",  "",       "Export",                       true},
    {C::Print,        "&File", "&Print...",   "",       "Print",                        false},
    {C::PrintPreview, "&File", "Print pre&view...", "",  "",                             false},
    {C::ExportPdf,    "&File", "Export as PD&F...", "",  "",                             true},
    {C::RecentFile,   "&File", "",            "",       "",                             true},
    {C::Exit,         "&File", "E&xit",       "Alt+F4", "",                             false},
    {C::Undo,         "&Edit", "&Undo",          "Ctrl+Z", "Undo",                      false},
    {C::Redo,         "&Edit", "&Redo",          "Ctrl+Y", "Redo",                      true},
    {C::EditCell,     "&Edit", "&Edit cell...",  "F2",  "Edit cell",                    false},
    {C::Properties,   "&Edit", "Pr&operties...", "F3",  "Properties",                   true},
    {C::CutCell,      "&Edit", "Cut cell",    "F9",     " Cut cell",                    false},
    {C::CopyCell,     "&Edit", "Copy cell",   "F10",    "Copy cell",                    false},
    {C::PasteCell,    "&Edit", "Paste cell",  "F11",    "Paste cell",                   true},
    {C::CutRow,       "&Edit", "Cut row",     "F5",     "",                             false},
    {C::CopyRow,      "&Edit", "Copy row",    "F6",     "",                             false},
    {C::PasteRow,     "&Edit", "Paste row",   "F7",     "",                             true},
    {C::Font,         "&Edit", "&Font...",    "",       "Font setting",                 false},
    {C::Find,         "&Tools", "&Find...",        "Ctrl+F",   "Find",            false},
    {C::FindNext,     "&Tools", "F&ind next",      "F4",       "",                false},
    {C::Replace,      "&Tools", "Repla&ce",        "Ctrl+R",   "Replace",         true},
    {C::AutoSizing,   "&Tools", "&Auto sizing",    "Ctrl+A",   "Auto sizing",     false},
    {C::Filter,       "&Tools", "Fi&lter",         "Ctrl+L",   "Filter",          false},
    {C::AdvancedFilter, "&Tools", "Ad&vanced Filter", "Ctrl+J", "Advanced Filter", true},
    {C::FilterByValue, "", "Filter by this &value", "",         "",                false},
    {C::SortNormal,   "&Tools", "Sort &normal",    "Ctrl+N",   "Sort normal",     false},
    {C::SortReverse,  "&Tools", "Sort &reverse",   "Ctrl+E",   "Sort reverse",    true},
    {C::ColumnSum,    "&Tools", "Column S&um",     "Ctrl+U",   "Column sum",      true},
    {C::DeleteRow,    "&Tools", "&Delete Row",     "Ctrl+Del", "Delete row",      false},
    {C::InsertRow,    "&Tools", "&Insert Row",     "Ctrl+Ins", "Insert row",      false},
    {C::AppendRow,    "&Tools", "&Append Row",     "Alt+Ins",  "Append row",      true},
    {C::DeleteColumn, "&Tools", "Dele&te Column",  "",         "Delete column",   false},
    {C::InsertColumn, "&Tools", "I&nsert Column",  "",         "Insert column",   false},
    {C::AppendColumn, "&Tools", "A&ppend Column",  "",         "Append column",   true},
    {C::FillColumn,   "&Tools", "Fil&l Column",    "",         "",                false},
    {C::FillUp,       "&Tools", "Fill up",         "Ctrl+Alt+U", "",              false, true},
    {C::FillDown,     "&Tools", "Fill Down",       "Ctrl+Alt+D", "",              false, true},
    {C::FillRow,      "&Tools", "Fill Ro&w",       "",         "",                false},
    {C::FillLeft,     "&Tools", "Fill left",       "Ctrl+Alt+L", "",              false, true},
    {C::FillRight,    "&Tools", "Fill right",      "Ctrl+Alt+R", "",              false, true},
    {C::Homepage,     "&Help", "&Homepage",   "F1",     "Read me!",                     true},
    {C::About,        "&Help", "&About...",   "",       "",                             false},
};
// clang-format on

constexpr Command kToolbar[] = {
    C::New,          C::Clone,        C::Open,
    C::Save,         C::Undo,         C::Redo,
    C::Install,      C::Print,        C::Import,
    C::Export,       C::EditCell,     C::CutCell,
    C::CopyCell,     C::PasteCell,    C::Properties,
    C::Font,         C::Find,         C::Replace,
    C::AutoSizing,   C::Filter,       C::AdvancedFilter,
    C::SortNormal,   C::SortReverse,  C::ColumnSum,
    C::AppendRow,    C::InsertRow,    C::DeleteRow,
    C::AppendColumn, C::InsertColumn, C::DeleteColumn,
    C::Homepage,
};

// Below "Insert Popup Item", which the grid fills for popup fields.
// clang-format off
constexpr ContextEntry kContext[] = {
    {C::EditCell,   "&Edit cell",   "",           false},
    {C::Properties, "Pr&operties",  "",           true},
    {C::CutCell,    "Cu&t cell",    "F9",         false},
    {C::CopyCell,   "&Copy cell",   "F10",        false},
    {C::PasteCell,  "&Paste cell",  "F11",        true},
    {C::CutRow,     "C&ut row",     "F5",         false},
    {C::CopyRow,    "Cop&y row",    "F6",         false},
    {C::PasteRow,   "Pa&ste row",   "F7",         true},
    {C::DeleteRow,  "&Delete row",  "Ctrl+Del",   false},
    {C::InsertRow,  "&Insert row",  "Ctrl+Ins",   false},
    {C::AppendRow,  "&Append row",  "Shift+Ins",  true},
    {C::FillColumn, "Fil&l column", "",           false},
    {C::FillUp,     "Fill Up",      "Ctrl+Alt+U", false, true},
    {C::FillDown,   "Fill Down",    "Ctrl+Alt+D", false, true},
    {C::FillRow,    "Fill &row",    "",           true},
    {C::FillLeft,   "Fill left",    "Ctrl+Alt+L", false, true},
    {C::FillRight,  "Fill right",   "Ctrl+Alt+R", false, true},
    {C::FilterByValue, "Filter by this &value", "", false},
};
// clang-format on

} // namespace

std::span<const ContextEntry> contextMenu()
{
    return kContext;
}

std::span<const Entry> menuEntries()
{
    return kEntries;
}

std::span<const Command> toolbar()
{
    return kToolbar;
}

const Entry &entry(Command command)
{
    for (const Entry &e : kEntries) {
        if (e.command == command)
            return e;
    }
    return kEntries[0];
}

QString undoCaption(Command command, const QString &label)
{
    const QString caption = QString::fromLatin1(entry(command).caption);
    return label.isEmpty() ? caption : caption + QLatin1Char(' ') + label;
}

bool isToggle(Command command)
{
    return command == C::AutoSizing || command == C::Filter || command == C::AdvancedFilter;
}

bool isEnabled(Command command, const State &s)
{
    const bool editable = s.open && !s.readOnly;
    switch (command) {
    case C::New:
    case C::Open:
    case C::Import:
    case C::Exit:
    case C::Homepage:
    case C::About:
    case C::RecentFile:
    case C::DeliverySetup:
        return true;
    case C::RevertToSaved:
        return s.open && s.changed;
    case C::Close:
    case C::Clone:
    case C::Save:
    case C::SaveAs:
    case C::Export:
    case C::Print:
    case C::PrintPreview:
    case C::ExportPdf:
    case C::Properties:
    case C::Find:
    case C::FindNext:
    case C::Replace:
    case C::Filter:
    case C::AdvancedFilter:
    case C::FilterByValue:
    case C::SortNormal:
    case C::SortReverse:
    // Copying changes nothing: a read-only database is copied from too.
    case C::CopyCell:
    case C::CopyRow:
        return s.open;
    // Without a handheld user Install opens the set-up of delivery.
    case C::Install:
        return s.open;
    case C::PasteCell:
    case C::PasteRow:
        return editable && s.clipboardText;
    case C::Undo:
        return s.open && s.canUndo && (!s.readOnly || s.undoSwitchesReadOnly);
    case C::Redo:
        return s.open && s.canRedo && (!s.readOnly || s.redoSwitchesReadOnly);
    case C::Append:
    case C::EditCell:
    case C::CutCell:
    case C::CutRow:
    case C::FillColumn:
    case C::FillUp:
    case C::FillDown:
    case C::FillRow:
    case C::FillLeft:
    case C::FillRight:
    case C::Font:
    case C::AutoSizing:
    case C::ColumnSum:
    case C::DeleteRow:
    case C::InsertRow:
    case C::AppendRow:
    case C::DeleteColumn:
    case C::InsertColumn:
    case C::AppendColumn:
        return editable;
    }
    return false;
}

} // namespace CommandTable
