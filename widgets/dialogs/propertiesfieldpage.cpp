#include "widgets/dialogs/propertiesfieldpage.h"

#include "rules/properties/propertiesformrules.h"
#include "widgets/dialogs/controlbinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStackedWidget>

namespace {

using PropertiesControls::TypeGroup;

QComboBox *dropDown(QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setEditable(false);
    return box;
}

/// A combo box with free typing; @p entries separated by spaces.
QComboBox *typedBox(const char *entries, QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(QString::fromLatin1(entries).split(QLatin1Char(' ')));
    return box;
}

QLabel *label(const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text, buddy->parentWidget());
    l->setBuddy(buddy);
    return l;
}

QPushButton *button(const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setAutoDefault(false);
    return b;
}

} // namespace

PropertiesFieldPage::PropertiesFieldPage(PropertiesFormRules &rules, ControlBinder &binder,
                                         std::function<void()> changed, QWidget *parent)
    : QWidget(parent)
{
    PropertiesControls::FieldControls &f = rules.controls().field;

    auto *E_FieldName = new QLineEdit(this);
    auto *C_FieldType = dropDown(this);
    auto *C_FieldWidth = typedBox("0 5 10 16 20 30 40 50 60 80 100 160 300", this);
    // Only digits: every other key, Enter included, is dropped.
    C_FieldWidth->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    auto *CB_field_protected = new QCheckBox(QStringLiteral("Read only"), this);
    auto *E_Default = new QLineEdit(this);
    auto *L_Default = label(QStringLiteral("Default"), E_Default);
    auto *CB_field_locked = new QCheckBox(QStringLiteral("Lock Column"), this);

    auto *top = new QGridLayout;
    top->addWidget(label(QStringLiteral("Name"), E_FieldName), 0, 0);
    top->addWidget(E_FieldName, 0, 1);
    top->addWidget(label(QStringLiteral("Width"), C_FieldWidth), 0, 2);
    top->addWidget(C_FieldWidth, 0, 3);
    top->addWidget(label(QStringLiteral("Type"), C_FieldType), 1, 0);
    top->addWidget(C_FieldType, 1, 1);
    top->addWidget(L_Default, 1, 2);
    top->addWidget(E_Default, 1, 3);
    top->addWidget(CB_field_protected, 2, 1);
    top->addWidget(CB_field_locked, 2, 3);
    top->setColumnStretch(1, 3);
    top->setColumnStretch(3, 2);

    binder.text(E_FieldName, f.name);
    binder.choice(C_FieldType, f.type);
    binder.editableText(C_FieldWidth, f.width);
    binder.check(CB_field_protected, f.isProtected);
    binder.visible(CB_field_protected, f.protectedVisible);
    binder.text(E_Default, f.defaultText);
    binder.visible(E_Default, f.defaultVisible);
    binder.visible(L_Default, f.defaultVisible);
    binder.check(CB_field_locked, f.locked);
    connect(C_FieldType, &QComboBox::activated, this, [&rules, changed](int index) {
        rules.C_FieldTypeChange(index);
        changed();
    });

    // The type groups, one at a time, all in the same place.
    auto *groups = new QStackedWidget(this);
    const auto group = [groups](const char *caption) {
        auto *box = new QGroupBox(QString::fromLatin1(caption), groups);
        groups->addWidget(box);
        return box;
    };
    auto *none = new QWidget(groups);
    groups->addWidget(none);

    QGroupBox *GB_STRING = group(" String setting ");
    auto *CB_MAX250 = new QCheckBox(QStringLiteral("Always less than 250 character"), GB_STRING);
    (new QGridLayout(GB_STRING))->addWidget(CB_MAX250, 0, 0, Qt::AlignTop);
    binder.check(CB_MAX250, f.max250);

    const auto editPopup = [&rules, changed] {
        rules.B_EditMultiListClick();
        changed();
    };
    QGroupBox *GB_List = group(" Normal Popup setting ");
    auto *B_EditList = button(QStringLiteral("Edit Popup"), GB_List);
    (new QGridLayout(GB_List))->addWidget(B_EditList, 0, 0, Qt::AlignLeft | Qt::AlignTop);
    connect(B_EditList, &QPushButton::clicked, this, editPopup);

    QGroupBox *GB_MULTILIST = group(" Multiple Popup setting ");
    auto *C_MULTILIST = dropDown(GB_MULTILIST);
    auto *B_EditMultiList = button(QStringLiteral("&Edit Popup"), GB_MULTILIST);
    auto *multi = new QGridLayout(GB_MULTILIST);
    multi->addWidget(label(QStringLiteral("Data separated by"), C_MULTILIST), 0, 0);
    multi->addWidget(C_MULTILIST, 0, 1);
    multi->addWidget(B_EditMultiList, 0, 2);
    multi->setColumnStretch(3, 1);
    multi->setRowStretch(1, 1);
    binder.choice(C_MULTILIST, f.multiList);
    connect(B_EditMultiList, &QPushButton::clicked, this, editPopup);

    QGroupBox *GB_Lookup = group(" Lookup Popup ");
    auto *E_LookupDatabase = new QLineEdit(GB_Lookup);
    auto *E_LookupField = new QLineEdit(GB_Lookup);
    E_LookupDatabase->setEnabled(false);
    E_LookupField->setEnabled(false);
    auto *lookup = new QGridLayout(GB_Lookup);
    lookup->addWidget(label(QStringLiteral("Database"), E_LookupDatabase), 0, 0);
    lookup->addWidget(E_LookupDatabase, 0, 1);
    lookup->addWidget(label(QStringLiteral("Field"), E_LookupField), 1, 0);
    lookup->addWidget(E_LookupField, 1, 1);
    lookup->setRowStretch(2, 1);
    binder.text(E_LookupDatabase, f.lookupDatabase);
    binder.text(E_LookupField, f.lookupField);

    QGroupBox *GB_AUTOINC = group(" Auto-Increment Integer Setting");
    auto *C_AUTOINC_Start = typedBox("0 1 2 3 4 5 10 20 50 100", GB_AUTOINC);
    auto *C_AUTOINC_Inc = typedBox("1 2 3 4 5 10 20 50 100", GB_AUTOINC);
    auto *autoInc = new QGridLayout(GB_AUTOINC);
    autoInc->addWidget(label(QStringLiteral("Starting Number"), C_AUTOINC_Start), 0, 0);
    autoInc->addWidget(C_AUTOINC_Start, 0, 1);
    autoInc->addWidget(label(QStringLiteral("Increment Amount"), C_AUTOINC_Inc), 1, 0);
    autoInc->addWidget(C_AUTOINC_Inc, 1, 1);
    autoInc->setColumnStretch(2, 1);
    autoInc->setRowStretch(2, 1);
    binder.editableText(C_AUTOINC_Start, f.autoIncStart);
    binder.editableText(C_AUTOINC_Inc, f.autoIncIncrement);

    // The three calculation forms: operand, operator, operand, decimals.
    PropertiesControls::CalcControls &calc = f.calc;
    const auto calcGroup = [&](TypeGroup form) {
        QGroupBox *box = group(" Calc setting  ");
        auto *grid = new QGridLayout(box);
        const auto fieldOperand = [&](int column, PropertiesControls::Choice &chooser,
                                      bool &previous) {
            auto *chooserBox = dropDown(box);
            auto *pr = new QCheckBox(QStringLiteral("Previous Record"), box);
            grid->addWidget(chooserBox, 0, column);
            grid->addWidget(pr, 1, column);
            binder.choice(chooserBox, chooser);
            binder.check(pr, previous);
        };
        const auto valueOperand = [&](int column, QString &value) {
            auto *edit = new QLineEdit(box);
            grid->addWidget(edit, 0, column);
            grid->addWidget(label(QStringLiteral("Value"), edit), 1, column, Qt::AlignTop);
            binder.text(edit, value);
        };
        if (form == TypeGroup::CalcV1)
            valueOperand(0, calc.value1);
        else
            fieldOperand(0, calc.field1, calc.previous1);
        auto *op = dropDown(box);
        grid->addWidget(op, 0, 1);
        binder.choice(op, calc.op);
        if (form == TypeGroup::CalcV2)
            valueOperand(2, calc.value2);
        else
            fieldOperand(2, calc.field2, calc.previous2);
        auto *decimals = dropDown(box);
        grid->addWidget(decimals, 0, 3);
        grid->addWidget(label(QStringLiteral("Decimal"), decimals), 1, 3, Qt::AlignTop);
        binder.choice(decimals, calc.decimals);
        grid->setColumnStretch(0, 3);
        grid->setColumnStretch(2, 3);
        grid->setRowStretch(2, 1);
        return box;
    };
    QGroupBox *GB_CALC = calcGroup(TypeGroup::Calc);
    QGroupBox *GB_CALC_V1 = calcGroup(TypeGroup::CalcV1);
    QGroupBox *GB_CALC_V2 = calcGroup(TypeGroup::CalcV2);

    binder.custom([&f, groups, none, GB_STRING, GB_List, GB_MULTILIST, GB_Lookup, GB_AUTOINC,
                   GB_CALC, GB_CALC_V1, GB_CALC_V2] {
        QWidget *shown = none;
        switch (f.group) {
        case TypeGroup::String:
            shown = GB_STRING;
            break;
        case TypeGroup::List:
            shown = GB_List;
            break;
        case TypeGroup::MultiList:
            shown = GB_MULTILIST;
            break;
        case TypeGroup::Lookup:
            shown = GB_Lookup;
            break;
        case TypeGroup::AutoInc:
            shown = GB_AUTOINC;
            break;
        case TypeGroup::Calc:
            shown = GB_CALC;
            break;
        case TypeGroup::CalcV1:
            shown = GB_CALC_V1;
            break;
        case TypeGroup::CalcV2:
            shown = GB_CALC_V2;
            break;
        case TypeGroup::None:
            break;
        }
        groups->setCurrentWidget(shown);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(groups, 1);
}
