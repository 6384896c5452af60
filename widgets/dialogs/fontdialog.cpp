#include "widgets/dialogs/fontdialog.h"

#include "widgets/dialogs/dialogopening.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

FontDialog::FontDialog(const QFont &current, QWidget *parent)
    : QDialog(parent), mFamily(new QFontComboBox(this)), mSizes(new QListWidget(this)),
      mBold(new QCheckBox(QStringLiteral("&Bold"), this)),
      mItalic(new QCheckBox(QStringLiteral("&Italic"), this)),
      mUnderline(new QCheckBox(QStringLiteral("&Underline"), this)),
      mStrikeOut(new QCheckBox(QStringLiteral("S&trikeout"), this)),
      mSample(new QLabel(QStringLiteral("AaBbYyZz 0123"), this))
{
    setWindowTitle(QStringLiteral("Font"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    DialogOpening::install(this);
    mFamily->setCurrentFont(current);
    mSizes->setMaximumWidth(80);

    auto *style = new QGroupBox(QStringLiteral("Style"), this);
    auto *styleLayout = new QVBoxLayout(style);
    for (QCheckBox *box : {mBold, mItalic, mUnderline, mStrikeOut})
        styleLayout->addWidget(box);
    styleLayout->addStretch(1);

    mSample->setFrameShape(QFrame::StyledPanel);
    mSample->setAlignment(Qt::AlignCenter);
    mSample->setMinimumHeight(48);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Font:"), mFamily);
    auto *row = new QHBoxLayout;
    auto *sizeLabel = new QLabel(QStringLiteral("&Size:"), this);
    sizeLabel->setBuddy(mSizes);
    auto *sizeColumn = new QVBoxLayout;
    sizeColumn->addWidget(sizeLabel);
    sizeColumn->addWidget(mSizes);
    row->addLayout(sizeColumn);
    row->addWidget(style, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(row);
    layout->addWidget(mSample);
    layout->addWidget(buttons);
    // A dialog of fixed size: the window manager offers no maximise.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    fillSizes(qMin(current.pointSize(), MaxPointSize));
    connect(mFamily, &QFontComboBox::currentFontChanged, this, [this] {
        const QListWidgetItem *item = mSizes->currentItem();
        fillSizes(item ? item->text().toInt() : MaxPointSize);
    });
    connect(mSizes, &QListWidget::currentRowChanged, this, &FontDialog::updateSample);
    for (QCheckBox *box : {mBold, mItalic, mUnderline, mStrikeOut})
        connect(box, &QCheckBox::toggled, this, &FontDialog::updateSample);
    updateSample();
}

void FontDialog::fillSizes(int preferred)
{
    // The family's own sizes up to the largest the grid takes.
    QList<int> sizes;
    for (int size : QFontDatabase::pointSizes(mFamily->currentFont().family())) {
        if (size <= MaxPointSize)
            sizes << size;
    }
    if (sizes.isEmpty())
        sizes = {6, 7, 8, 9, 10, 11, 12};
    const QSignalBlocker blocker(mSizes);
    mSizes->clear();
    int best = 0;
    for (int i = 0; i < sizes.size(); ++i) {
        mSizes->addItem(QString::number(sizes[i]));
        if (qAbs(sizes[i] - preferred) < qAbs(sizes[best] - preferred))
            best = i;
    }
    mSizes->setCurrentRow(best);
    updateSample();
}

QFont FontDialog::chosenFont() const
{
    QFont font = mFamily->currentFont();
    const QListWidgetItem *item = mSizes->currentItem();
    font.setPointSize(item ? item->text().toInt() : MaxPointSize);
    font.setBold(mBold->isChecked());
    font.setItalic(mItalic->isChecked());
    font.setUnderline(mUnderline->isChecked());
    font.setStrikeOut(mStrikeOut->isChecked());
    return font;
}

void FontDialog::updateSample()
{
    mSample->setFont(chosenFont());
}

std::optional<QFont> FontDialog::choose(const QFont &current, QWidget *parent)
{
    FontDialog dialog(current, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenFont();
}
