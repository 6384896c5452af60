#pragma once

#include <QHeaderView>

/**
 * A header of the record grid. Each section is drawn flat: a one-pixel line
 * in the window colour at its left and top, then the face, in teal with the
 * highlight-text colour for the section of the current cell and in the
 * button-face colour with black text for the others; the text starts two
 * pixels from the top-left corner and is clipped to the face.
 */
class GridHeaderView : public QHeaderView
{
    Q_OBJECT

public:
    explicit GridHeaderView(Qt::Orientation orientation, QWidget *parent = nullptr);

    /// Marks logical section @p section (-1: none) as the current cell's.
    void setCurrentSection(int section);

    /// Draws one header cell of @p text into @p rect.
    static void paintCell(QPainter *painter, const QRect &rect, const QString &text, bool current,
                          const QPalette &palette);
    /// The face colour of the current cell's sections.
    static QColor currentColor() { return QColor(0x0A, 0x90, 0xA0); }

    /// The grid fixes the record numbers' width and the field names'
    /// height; measuring labels for a hint (200 of them, after every row
    /// move) would only come to that.
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    int mCurrentSection = -1;
};
