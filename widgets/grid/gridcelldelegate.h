#pragma once

#include <QStyledItemDelegate>

/**
 * Draws the record cells. A text of several lines shows the lines that fit
 * the row whole, and at least the first; a line cut in half by the row's
 * lower edge is not drawn, and a cell with lines left out shows a small
 * mark in its top right corner. The text itself is left as it is.
 */
class GridCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    /// The lines of @p text that @p height pixels hold, lines of
    /// @p lineHeight pixels each; at least the first.
    static QString linesThatFit(const QString &text, int height, int lineHeight);

    /// Draws the cell; the current cell's focus frame goes round the whole
    /// cell, check box included.
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    /// The side of the mark of a cell with lines left out, in pixels.
    static constexpr int MarkSize = 5;

    static void paintMoreMark(QPainter *painter, const QStyleOptionViewItem &option);
};
