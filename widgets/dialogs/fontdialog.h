#pragma once

#include <QDialog>
#include <QFont>

#include <optional>

class QCheckBox;
class QFontComboBox;
class QLabel;
class QListWidget;

/**
 * The Font command's dialog: the program font's family and size preset,
 * sizes up to 12 points only, and no style chosen until the user picks one
 * (bold, italic, underline, strikeout).
 */
class FontDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxPointSize = 12;

    explicit FontDialog(const QFont &current, QWidget *parent = nullptr);

    QFont chosenFont() const;

    /// Runs the dialog; the chosen font, or none when it was cancelled.
    static std::optional<QFont> choose(const QFont &current, QWidget *parent);

private:
    void fillSizes(int preferred);
    void updateSample();

    QFontComboBox *mFamily;
    QListWidget *mSizes;
    QCheckBox *mBold;
    QCheckBox *mItalic;
    QCheckBox *mUnderline;
    QCheckBox *mStrikeOut;
    QLabel *mSample;
};
