#pragma once

#include <QString>
#include <QStringList>

#include <array>

/**
 * The value and state of every control of the Properties dialog, page by
 * page, as plain values. The dialog's rules keep them; the Qt form copies
 * them into its widgets and the user's input back.
 *
 * The advanced filter's rows and the simple filter's "Field must begin with
 * string" and Include/Exclude are not here: they are the filter engine's
 * live state (FilterEngine), which the form binds to directly.
 */
namespace PropertiesControls {

/// A drop-down list: its entries and the selected one (-1: none).
struct Choice
{
    QStringList items;
    int index = -1;

    bool operator==(const Choice &) const = default;
};

/// The pages by index, as the page control orders them.
enum Page
{
    DatabasePage = 0,
    FieldPage = 1,
    PopupPage = 2,
    SortPage = 3,
    FilterPage = 4,
    AdvFilterPage = 5,
    ApplicationPage = 6,
};

struct DatabaseControls
{
    QString name;             ///< E_Name
    Choice firstColumn;       ///< C_FirstColumn: the field names
    QString dataWidth;        ///< C_DataWidth, typed freely
    bool normal = false;      ///< RB_normal "No security"
    bool passworded = false;  ///< RB_passworded "PalmOS Password"
    bool encrypted = false;   ///< RB_encrypted "Encrypted"
    bool autoSort = false;    ///< CB_autosort, hidden and disabled
    bool isFiltering = false; ///< CB_isfiltering
    bool readOnly = false;    ///< CB_ReadOnly

    bool operator==(const DatabaseControls &) const = default;
};

/// Which of the eight type groups of the Field page shows.
enum class TypeGroup
{
    None,
    String,    ///< GB_STRING
    List,      ///< GB_List
    MultiList, ///< GB_MULTILIST
    Lookup,    ///< GB_Lookup
    AutoInc,   ///< GB_AUTOINC
    Calc,      ///< GB_CALC: <field><op><field>
    CalcV1,    ///< GB_CALC_V1: <value><op><field>
    CalcV2,    ///< GB_CALC_V2: <field><op><value>
};

/// The controls of the three calculation groups; each group shows those of
/// its form (field 1 or value 1, the operator, field 2 or value 2).
struct CalcControls
{
    Choice field1;          ///< C_CALC_field1, C_CALC_V2_field1
    bool previous1 = false; ///< CB_CALC_PR1, CB_CALC_PR_V2
    QString value1;         ///< E_CALC_V1_value
    Choice op;              ///< the operator box
    Choice field2;          ///< C_CALC_field2, C_CALC_V1_field2
    bool previous2 = false; ///< CB_CALC_PR2, CB_CALC_PR_V1
    QString value2;         ///< E_CALC_V2_value
    Choice decimals;        ///< the decimals box

    bool operator==(const CalcControls &) const = default;
};

struct FieldControls
{
    QString name;                 ///< E_FieldName
    Choice type;                  ///< C_FieldType
    QString width;                ///< C_FieldWidth, digits only
    bool isProtected = false;     ///< CB_field_protected
    bool protectedVisible = true; ///< CB_field_protected shown
    QString defaultText;          ///< E_Default
    bool defaultVisible = true;   ///< E_Default and L_Default shown
    bool locked = false;          ///< CB_field_locked
    TypeGroup group = TypeGroup::None;
    bool max250 = false;      ///< CB_MAX250
    Choice multiList;         ///< C_MULTILIST
    QString lookupDatabase;   ///< E_LookupDatabase (display only)
    QString lookupField;      ///< E_LookupField (display only)
    QString autoIncStart;     ///< C_AUTOINC_Start, typed freely
    QString autoIncIncrement; ///< C_AUTOINC_Inc, typed freely
    CalcControls calc;

    bool operator==(const FieldControls &) const = default;
};

struct PopupControls
{
    bool tabVisible = false;   ///< the Popup page's tab
    QString newEntry;          ///< E_NewEntry
    QStringList entries;       ///< LB_Popup
    int selected = -1;         ///< LB_Popup's selected entry
    bool pasteEnabled = false; ///< B_Paste

    bool operator==(const PopupControls &) const = default;
};

struct SortControls
{
    std::array<Choice, 3> fields;  ///< C_Sort1Field .. C_Sort3Field
    std::array<bool, 3> reverse{}; ///< CB_Reverse1 .. CB_Reverse3

    bool operator==(const SortControls &) const = default;
};

struct FilterControls
{
    Choice field; ///< C_FilterFields
    QString text; ///< E_Filter

    bool operator==(const FilterControls &) const = default;
};

struct ApplicationControls
{
    Choice user; ///< CB_User
    bool userEnabled = false;
    bool initialDir = false; ///< CB_InitialDir
    bool initialDirEnabled = false;
    bool saveAtInstall = false; ///< CB_SaveAtInstall
    bool saveAtInstallEnabled = false;
    bool expertMode = false;    ///< CB_ExpertMode
    bool autoRightJust = false; ///< CB_AutoRightJust
    bool usNumFormat = false;   ///< CB_USNumFormat
    /// CB_HandheldSoftware: report missing synchronisation software at start
    bool handheldSoftware = true;

    bool operator==(const ApplicationControls &) const = default;
};

/// P_LoadSave, shown in place of the pages.
struct LoadSaveControls
{
    bool visible = false;
    QString frameCaption; ///< GB_LoadSave
    QString label;        ///< L_LoadSave
    QStringList names;    ///< LB_LoadSave: lists 1 to 25
    int selected = -1;
    QString name; ///< E_LoadSave

    bool operator==(const LoadSaveControls &) const = default;
};

} // namespace PropertiesControls
