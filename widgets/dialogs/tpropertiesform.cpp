#include "widgets/dialogs/tpropertiesform.h"

#include "core/document/advancedfiltersettings.h"
#include "table/filter/filterengine.h"
#include "widgets/dialogs/dialogopening.h"
#include "widgets/dialogs/propertiesfieldpage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

using namespace PropertiesControls;

QPushButton *button(const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    // No default button: Enter does not confirm.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QComboBox *dropDown(QWidget *parent)
{
    auto *box = new QComboBox(parent);
    box->setEditable(false);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(8);
    return box;
}

QLabel *label(const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text, buddy->parentWidget());
    l->setBuddy(buddy);
    return l;
}

/// Binds a list widget to entries and a selection.
void bindList(ControlBinder &binder, QListWidget *list, QStringList &entries, int &selected)
{
    QObject::connect(list, &QListWidget::currentRowChanged, list,
                     [&selected](int row) { selected = row; });
    binder.custom([list, &entries, &selected] {
        const QSignalBlocker block(list);
        QStringList shown;
        for (int i = 0; i < list->count(); ++i)
            shown << list->item(i)->text();
        if (shown != entries) {
            list->clear();
            list->addItems(entries);
        }
        list->setCurrentRow(selected);
    });
}

/// Three exclusive buttons of which none may be selected.
void bindRadios(ControlBinder &binder, QButtonGroup *group, const std::vector<bool *> &values)
{
    QObject::connect(group, &QButtonGroup::idToggled, group,
                     [values](int id, bool on) { *values[size_t(id)] = on; });
    binder.custom([group, values] {
        const QSignalBlocker block(group);
        group->setExclusive(false);
        for (size_t i = 0; i < values.size(); ++i) {
            const QSignalBlocker blockButton(group->button(int(i)));
            group->button(int(i))->setChecked(*values[i]);
        }
        group->setExclusive(true);
    });
}

} // namespace

TPropertiesForm::TPropertiesForm(const PropertiesServices &services, QWidget *parent)
    : QDialog(parent), mRules(services), mPanels(new QStackedWidget(this)),
      P_PageControl(new QWidget(mPanels)), P_LoadSave(nullptr),
      PageControl(new QTabWidget(P_PageControl)),
      B_LoadSaveSetting(button(QStringLiteral("&Load/Save setting"), P_PageControl))
{
    setModal(true);
    // It keeps the size it was closed with: its pages differ in height.
    DialogOpening::install(this, DialogOpening::Size::Remembered);
    setWindowTitle(QStringLiteral("Properties"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    const auto changed = [this] { showControls(); };
    PageControl->addTab(createDatabasePage(), QStringLiteral("Database"));
    PageControl->addTab(new PropertiesFieldPage(mRules, mBinder, changed, PageControl),
                        QStringLiteral("Field"));
    TabSheetPop = createPopupPage();
    PageControl->addTab(TabSheetPop, QStringLiteral("Popup"));
    PageControl->addTab(createSortPage(), QStringLiteral("Sort"));
    PageControl->addTab(createFilterPage(), QStringLiteral("Filter"));
    PageControl->addTab(createAdvFilterPage(), QStringLiteral("Adv. Filter"));
    PageControl->addTab(createApplicationPage(), QStringLiteral("Application"));
    // Every tab shows whole, the Popup tab included when it appears.
    PageControl->tabBar()->setUsesScrollButtons(false);
    PageControl->setMinimumWidth(PageControl->tabBar()->sizeHint().width() + 12);
    connect(PageControl, &QTabWidget::currentChanged, this, [this](int page) {
        // Keys that step through the tabs pass over a hidden one.
        if (!PageControl->isTabVisible(page)) {
            const int step = page > mRules.controls().activePage ? 1 : -1;
            PageControl->setCurrentIndex((page + step + PageControl->count()) %
                                         PageControl->count());
            return;
        }
        mRules.PageControlChange(page);
        showControls();
    });
    mBinder.custom([this] {
        const QSignalBlocker block(PageControl);
        PageControl->setTabVisible(PopupPage, mRules.controls().popup.tabVisible);
        PageControl->setCurrentIndex(mRules.controls().activePage);
    });

    B_LoadSaveSetting->setToolTip(QStringLiteral("Setting Load/Save"));
    mBinder.visible(B_LoadSaveSetting, mRules.controls().loadSaveButtonVisible);
    connect(B_LoadSaveSetting, &QPushButton::clicked, this, [this] {
        mRules.B_LoadSaveSettingClick();
        showControls();
    });
    auto *B_OK = button(QStringLiteral("&OK"), P_PageControl);
    auto *B_Cancel = button(QStringLiteral("&Cancel"), P_PageControl);
    connect(B_OK, &QPushButton::clicked, this, &TPropertiesForm::B_OKClick);
    connect(B_Cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(B_LoadSaveSetting);
    buttons->addStretch(1);
    buttons->addWidget(B_OK);
    buttons->addWidget(B_Cancel);
    auto *pages = new QVBoxLayout(P_PageControl);
    pages->setContentsMargins(0, 0, 0, 0);
    pages->addWidget(PageControl, 1);
    pages->addLayout(buttons);

    P_LoadSave = createLoadSavePanel();
    mPanels->addWidget(P_PageControl);
    mPanels->addWidget(P_LoadSave);
    mBinder.custom([this] {
        mPanels->setCurrentWidget(mRules.controls().loadSave.visible ? P_LoadSave : P_PageControl);
    });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(mPanels);
}

QWidget *TPropertiesForm::createDatabasePage()
{
    DatabaseControls &d = mRules.controls().database;
    auto *page = new QWidget(PageControl);
    auto *E_Name = new QLineEdit(page);
    auto *C_FirstColumn = dropDown(page);
    mBinder.text(E_Name, d.name);
    mBinder.choice(C_FirstColumn, d.firstColumn);

    auto *recordView = new QGroupBox(QStringLiteral(" Record View "), page);
    auto *C_DataWidth = new QComboBox(recordView);
    C_DataWidth->setEditable(true);
    C_DataWidth->setInsertPolicy(QComboBox::NoInsert);
    C_DataWidth->addItems(QStringLiteral("40 50 60 70 80 90 100").split(QLatin1Char(' ')));
    mBinder.editableText(C_DataWidth, d.dataWidth);
    auto *view = new QHBoxLayout(recordView);
    view->addWidget(label(QStringLiteral("Data Width"), C_DataWidth));
    view->addWidget(C_DataWidth, 1);

    auto *security = new QGroupBox(QStringLiteral(" Security "), page);
    auto *radios = new QButtonGroup(security);
    auto *securityLayout = new QVBoxLayout(security);
    int id = 0;
    for (const char *caption : {"No security", "PalmOS Password", "Encrypted"}) {
        auto *radio = new QRadioButton(QString::fromLatin1(caption), security);
        radios->addButton(radio, id++);
        securityLayout->addWidget(radio);
    }
    securityLayout->addStretch(1);
    bindRadios(mBinder, radios, {&d.normal, &d.passworded, &d.encrypted});

    auto *CB_autosort = new QCheckBox(QStringLiteral("Maintain last sort (Auto Sort)"), page);
    CB_autosort->setVisible(false);
    CB_autosort->setEnabled(false);
    mBinder.check(CB_autosort, d.autoSort);
    auto *option = new QGroupBox(QStringLiteral(" Option "), page);
    auto *CB_isfiltering = new QCheckBox(QStringLiteral("Shows only filtered records"), option);
    auto *CB_ReadOnly = new QCheckBox(QStringLiteral("Read Only"), option);
    mBinder.check(CB_isfiltering, d.isFiltering);
    mBinder.check(CB_ReadOnly, d.readOnly);
    auto *options = new QVBoxLayout(option);
    options->addWidget(CB_isfiltering);
    options->addWidget(CB_ReadOnly);

    auto *grid = new QGridLayout(page);
    grid->addWidget(label(QStringLiteral("Name"), E_Name), 0, 0);
    grid->addWidget(E_Name, 0, 1, 1, 2);
    grid->addWidget(label(QStringLiteral("First unlocked Field"), C_FirstColumn), 1, 0);
    grid->addWidget(C_FirstColumn, 1, 1, 1, 2);
    grid->addWidget(security, 2, 0, 2, 2);
    grid->addWidget(recordView, 2, 2);
    grid->addWidget(option, 3, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    return page;
}

QWidget *TPropertiesForm::createPopupPage()
{
    PopupControls &p = mRules.controls().popup;
    auto *page = new QWidget(PageControl);
    auto *E_NewEntry = new QLineEdit(page);
    auto *LB_Popup = new QListWidget(page);
    mBinder.text(E_NewEntry, p.newEntry);
    bindList(mBinder, LB_Popup, p.entries, p.selected);
    auto *grid = new QGridLayout(page);
    grid->addWidget(label(QStringLiteral("New Entry"), E_NewEntry), 0, 0);
    grid->addWidget(E_NewEntry, 1, 0);
    grid->addWidget(label(QStringLiteral("Popup List"), LB_Popup), 2, 0);
    grid->addWidget(LB_Popup, 3, 0, 5, 1);
    int row = 1;
    ListPagesRules &rules = mRules.listPages();
    for (auto [caption, handler] :
         std::initializer_list<std::pair<const char *, void (ListPagesRules::*)()>>{
             {"&Append", &ListPagesRules::B_AppendClick},
             {"C&ut", &ListPagesRules::B_CutClick},
             {"&Paste", &ListPagesRules::B_PasteClick},
             {"&Sort", &ListPagesRules::B_SortClick}}) {
        QPushButton *b = button(QString::fromLatin1(caption), page);
        connect(b, &QPushButton::clicked, this, [this, &rules, click = handler] {
            (rules.*click)();
            showControls();
        });
        grid->addWidget(b, row == 1 ? 1 : row + 1, 1);
        if (row == 3)
            mBinder.enabled(b, p.pasteEnabled);
        ++row;
    }
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(0, 1);
    return page;
}

QWidget *TPropertiesForm::createSortPage()
{
    SortControls &s = mRules.controls().sort;
    auto *page = new QWidget(PageControl);
    auto *grid = new QGridLayout(page);
    grid->addWidget(new QLabel(QStringLiteral("Reverse sort"), page), 0, 2, Qt::AlignHCenter);
    const char *captions[] = {"Primary sort field", "Secondary ", "Tertiary "};
    for (int n = 0; n < 3; ++n) {
        auto *chooser = dropDown(page);
        auto *reverse = new QCheckBox(page);
        grid->addWidget(label(QString::fromLatin1(captions[n]), chooser), n + 1, 0);
        grid->addWidget(chooser, n + 1, 1);
        grid->addWidget(reverse, n + 1, 2, Qt::AlignHCenter);
        mBinder.choice(chooser, s.fields[size_t(n)]);
        mBinder.check(reverse, s.reverse[size_t(n)]);
    }
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    return page;
}

QWidget *TPropertiesForm::createFilterPage()
{
    FilterControls &f = mRules.controls().filter;
    FilterEngine &engine = mRules.filter();
    auto *page = new QWidget(PageControl);
    auto *C_FilterFields = dropDown(page);
    auto *E_Filter = new QLineEdit(page);
    auto *CB_FilterMB = new QCheckBox(QStringLiteral("Field must begin with string"), page);
    auto *RB_IncludeFilter = new QRadioButton(QStringLiteral("Include Filter"), page);
    auto *RB_ExcludeFilter = new QRadioButton(QStringLiteral("Exclude Filter"), page);
    mBinder.choice(C_FilterFields, f.field);
    mBinder.text(E_Filter, f.text);
    // The filter engine's own options, live for the running program.
    connect(CB_FilterMB, &QCheckBox::toggled, this,
            [&engine](bool on) { engine.setMustBegin(on); });
    connect(RB_IncludeFilter, &QRadioButton::toggled, this,
            [&engine](bool on) { engine.setInclude(on); });
    mBinder.custom([&engine, CB_FilterMB, RB_IncludeFilter, RB_ExcludeFilter] {
        const QSignalBlocker a(CB_FilterMB), b(RB_IncludeFilter), c(RB_ExcludeFilter);
        CB_FilterMB->setChecked(engine.mustBegin());
        RB_IncludeFilter->setChecked(engine.include());
        RB_ExcludeFilter->setChecked(!engine.include());
    });
    auto *grid = new QGridLayout(page);
    grid->addWidget(label(QStringLiteral("Field to search"), C_FilterFields), 0, 0);
    grid->addWidget(C_FilterFields, 0, 1);
    grid->addWidget(label(QStringLiteral("Filter what string"), E_Filter), 1, 0);
    grid->addWidget(E_Filter, 1, 1);
    grid->addWidget(CB_FilterMB, 2, 1);
    grid->addWidget(RB_IncludeFilter, 3, 1);
    grid->addWidget(RB_ExcludeFilter, 4, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);
    return page;
}

QWidget *TPropertiesForm::createAdvFilterPage()
{
    FilterEngine &engine = mRules.filter();
    auto *page = new QWidget(PageControl);
    auto *grid = new QGridLayout(page);
    for (int k = 0; k < 5; ++k) {
        const size_t i = size_t(k);
        if (k > 0) {
            auto *op = dropDown(page);
            op->setMinimumContentsLength(4);
            op->addItems({QStringLiteral("OR"), QStringLiteral("AND")});
            grid->addWidget(op, k, 0);
            const quint16 bit = AdvancedFilterSettings::andOption(k);
            connect(op, &QComboBox::activated, this, [&engine, bit](int index) {
                quint16 &options = engine.advancedRows().options;
                options = index == 1 ? quint16(options | bit) : quint16(options & ~bit);
            });
            mBinder.custom([&engine, op, bit] {
                const QSignalBlocker block(op);
                op->setCurrentIndex(engine.advancedRows().options & bit ? 1 : 0);
            });
        }
        auto *field = dropDown(page);
        auto *text = new QLineEdit(page);
        auto *begin = new QCheckBox(QStringLiteral("B"), page);
        auto *exclude = new QCheckBox(QStringLiteral("E!"), page);
        begin->setToolTip(QStringLiteral("Field must BEGIN with String"));
        exclude->setToolTip(QStringLiteral("Exclude filter"));
        grid->addWidget(field, k, 1);
        grid->addWidget(text, k, 2);
        grid->addWidget(begin, k, 3);
        grid->addWidget(exclude, k, 4);
        connect(field, &QComboBox::activated, this,
                [&engine, i](int index) { engine.advancedRows().fields[i] = qint8(index - 1); });
        connect(text, &QLineEdit::textEdited, this,
                [&engine, i](const QString &t) { engine.advancedRows().texts[i] = t; });
        const auto bindBit = [this, &engine](QCheckBox *box, quint16 bit) {
            connect(box, &QCheckBox::toggled, this, [&engine, bit](bool on) {
                quint16 &options = engine.advancedRows().options;
                options = on ? quint16(options | bit) : quint16(options & ~bit);
            });
            mBinder.custom([&engine, box, bit] {
                const QSignalBlocker block(box);
                box->setChecked(engine.advancedRows().options & bit);
            });
        };
        bindBit(begin, AdvancedFilterSettings::beginOption(k));
        bindBit(exclude, AdvancedFilterSettings::excludeOption(k));
        mBinder.custom([this, &engine, field, text, i] {
            const QSignalBlocker block(field);
            const QStringList &items = mRules.listPages().advancedFieldItems();
            if (field->count() != items.size() ||
                (field->count() && field->itemText(1) != items.value(1))) {
                field->clear();
                field->addItems(items);
            }
            field->setCurrentIndex(engine.advancedRows().fields[i] + 1);
            if (text->text() != engine.advancedRows().texts[i])
                text->setText(engine.advancedRows().texts[i]);
        });
    }
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(5, 1);
    return page;
}

QWidget *TPropertiesForm::createApplicationPage()
{
    ApplicationControls &a = mRules.controls().application;
    auto *page = new QWidget(PageControl);
    auto *CB_User = dropDown(page);
    mBinder.choice(CB_User, a.user);
    mBinder.enabled(CB_User, a.userEnabled);
    auto *grid = new QGridLayout(page);
    grid->addWidget(label(QStringLiteral("User"), CB_User), 0, 0);
    grid->addWidget(CB_User, 0, 1);
    int row = 1;
    const auto box = [&](const char *caption, bool &value, const bool *enabled) {
        auto *b = new QCheckBox(QString::fromLatin1(caption), page);
        mBinder.check(b, value);
        if (enabled)
            mBinder.enabled(b, *enabled);
        grid->addWidget(b, row++, 0, 1, 2);
    };
    box("Initial directory is Handheld's backup directory.", a.initialDir, &a.initialDirEnabled);
    box("Save at Install", a.saveAtInstall, &a.saveAtInstallEnabled);
    box("Expert mode (no delete and auto-save confirmation)", a.expertMode, nullptr);
    box("Automatic right justification", a.autoRightJust, nullptr);
    box("Enforce U.S. number format : 1,234.67  ", a.usNumFormat, nullptr);
    box("Report missing handheld desktop software at start", a.handheldSoftware, nullptr);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
    return page;
}

QWidget *TPropertiesForm::createLoadSavePanel()
{
    LoadSaveControls &l = mRules.controls().loadSave;
    ListPagesRules &rules = mRules.listPages();
    auto *panel = new QWidget(mPanels);
    auto *GB_LoadSave = new QGroupBox(panel);
    auto *LB_LoadSave = new QListWidget(GB_LoadSave);
    auto *E_LoadSave = new QLineEdit(GB_LoadSave);
    auto *L_LoadSave = label(QString(), E_LoadSave);
    mBinder.custom([&l, GB_LoadSave, L_LoadSave] {
        GB_LoadSave->setTitle(l.frameCaption);
        L_LoadSave->setText(l.label);
    });
    bindList(mBinder, LB_LoadSave, l.names, l.selected);
    connect(LB_LoadSave, &QListWidget::itemClicked, this,
            [this, &rules, LB_LoadSave](QListWidgetItem *item) {
                rules.LB_LoadSaveClick(LB_LoadSave->row(item));
                showControls();
            });
    mBinder.text(E_LoadSave, l.name);
    auto *B_LS_Load = button(QStringLiteral("&Load"), GB_LoadSave);
    auto *B_LS_Save = button(QStringLiteral("&Save"), GB_LoadSave);
    auto *B_LS_Cancel = button(QStringLiteral("&Cancel"), GB_LoadSave);
    connect(B_LS_Load, &QPushButton::clicked, this, [this, &rules] {
        rules.B_LS_LoadClick();
        showControls();
    });
    connect(B_LS_Save, &QPushButton::clicked, this, [this, &rules] {
        rules.B_LS_SaveClick();
        showControls();
    });
    connect(B_LS_Cancel, &QPushButton::clicked, this, [this, &rules] {
        rules.B_LS_CancelClick();
        showControls();
    });
    auto *grid = new QGridLayout(GB_LoadSave);
    grid->addWidget(new QLabel(QStringLiteral("Select to load or save"), GB_LoadSave), 0, 0);
    grid->addWidget(LB_LoadSave, 1, 0, 4, 1);
    grid->addWidget(L_LoadSave, 0, 1);
    grid->addWidget(E_LoadSave, 1, 1);
    grid->addWidget(B_LS_Load, 2, 1);
    grid->addWidget(B_LS_Save, 3, 1);
    grid->addWidget(B_LS_Cancel, 4, 1, Qt::AlignTop);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(4, 1);
    (new QVBoxLayout(panel))->addWidget(GB_LoadSave);
    return panel;
}

void TPropertiesForm::showControls()
{
    mBinder.show();
}

bool TPropertiesForm::execute(int column)
{
    mRules.FormShow(column);
    showControls();
    DialogOpening::focusFirstInput(PageControl->currentWidget());
    return exec() == QDialog::Accepted;
}

void TPropertiesForm::B_OKClick()
{
    const bool done = mRules.B_OKClick();
    showControls();
    if (done)
        accept();
}
