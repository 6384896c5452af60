#include "widgets/grid/gridcelldelegate.h"

#include "widgets/grid/gridheaderview.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

QString GridCellDelegate::linesThatFit(const QString &text, int height, int lineHeight)
{
    qsizetype end = text.indexOf(QLatin1Char('\n'));
    if (end < 0)
        return text;
    const int fit = std::max(1, lineHeight > 0 ? height / lineHeight : 1);
    for (int line = 1; line < fit && end >= 0; ++line)
        end = text.indexOf(QLatin1Char('\n'), end + 1);
    if (end < 0)
        return text;
    // Lines end with a carriage return and a line feed.
    if (end > 0 && text.at(end - 1) == QLatin1Char('\r'))
        --end;
    return text.left(end);
}

void GridCellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!(option->features & QStyleOptionViewItem::HasDisplay))
        return;
    const QString text = index.data(Qt::DisplayRole).toString();
    if (!text.contains(QLatin1Char('\n')))
        return;
    // The style breaks lines at the Unicode line separator only.
    QString shown = linesThatFit(text, option->rect.height(), option->fontMetrics.lineSpacing());
    shown.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    shown.replace(QLatin1Char('\n'), QChar::LineSeparator);
    option->text = shown;
}

void GridCellDelegate::paintMoreMark(QPainter *painter, const QStyleOptionViewItem &option)
{
    // A small triangle in the top right corner, as a note's mark.
    const QRect r = option.rect;
    const QPoint corner(r.right() - 1, r.top() + 1);
    const QPoint mark[] = {corner, corner - QPoint(MarkSize, 0), corner + QPoint(0, MarkSize)};
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    const QColor colour = option.state & QStyle::State_Selected
                              ? option.palette.color(QPalette::HighlightedText)
                              : GridHeaderView::currentColor();
    painter->setPen(colour);
    painter->setBrush(colour);
    painter->drawPolygon(mark, 3);
    painter->restore();
}

void GridCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const bool focus = opt.state & QStyle::State_HasFocus;
    opt.state &= ~QStyle::State_HasFocus;
    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (linesThatFit(text, opt.rect.height(), opt.fontMetrics.lineSpacing()).size() < text.size())
        paintMoreMark(painter, opt);
    if (!focus)
        return;
    QStyleOptionFocusRect frame;
    frame.QStyleOption::operator=(option);
    frame.rect = option.rect.adjusted(0, 0, -1, -1);
    frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
    frame.backgroundColor = option.palette.color(QPalette::Base);
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, opt.widget);
}
