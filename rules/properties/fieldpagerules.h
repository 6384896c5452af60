#pragma once

#include "rules/properties/propertiescontrols.h"

#include <optional>

class Document;
class MessageService;
class PropertiesStage;

/**
 * The Field page of the Properties dialog: loading it for the field of the
 * current column (on opening, and for a newly picked type), and the steps
 * of the confirmation that store the field (its name, width, type,
 * protection, lock, default, cells and check boxes, popup items and type
 * settings).
 *
 * The operator and decimals boxes offer their entries only; a box that
 * shows none of them (the stored value is none of its entries) keeps the
 * stored value. The width, start and increment boxes take typed text.
 */
class FieldPageRules
{
public:
    /// Operator box entries, in the order of their stored codes 1 to 4.
    static const QStringList &operatorItems();

    FieldPageRules(Document &doc, PropertiesControls::FieldControls &field,
                   PropertiesControls::PopupControls &popup);

    /// Opening for grid column @p column: loads the page for its type, not
    /// as a type change.
    void open(int column);
    /// Loads the page for type @p type, as a type change or not.
    void load(int type, bool typeChange);
    /// C_FieldTypeChange: the user picked type @p index.
    void C_FieldTypeChange(int index);

    int column() const { return mColumn; }
    /// Whether the current field would have a lookup list with type @p type.
    bool hasLookupList(int type) const;

    /**
     * Confirmation steps 8 and 9: the field name and width into @p stage.
     * False after a failed check, its message shown.
     */
    bool storeNameAndWidth(PropertiesStage &stage, MessageService &messages) const;
    /**
     * Confirmation steps 10 to 15: type, protection, lock, default, the
     * column's cells and check boxes, popup items and type settings into
     * @p stage. False after a failed check, its message shown, with what
     * came before it staged.
     */
    bool storeDefinition(PropertiesStage &stage, MessageService &messages) const;

    /// The operand byte of a field chooser and its "Previous Record" box.
    static std::optional<int> operandByte(const PropertiesControls::Choice &chooser, bool previous);
    /// Decimals (setting 2) for decimals box position @p index; none for
    /// no entry.
    static std::optional<qint32> decimalsOf(int index);
    /// The decimals box position for @p decimals; -1 for no entry.
    static int decimalsIndex(qint32 decimals);

private:
    void fillGroup(int type);
    void fillCalc(int type);
    QStringList fieldNames() const;
    bool storeTypeSettings(PropertiesStage &stage, MessageService &messages) const;

    Document &mDoc;
    PropertiesControls::FieldControls &mField;
    PropertiesControls::PopupControls &mPopup;
    int mColumn = 1;
    QString mShownWidth; ///< the width as opening showed it
};
