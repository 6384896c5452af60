#include "widgets/grid/gridheaderview.h"

#include <QPainter>

GridHeaderView::GridHeaderView(Qt::Orientation orientation, QWidget *parent)
    : QHeaderView(orientation, parent)
{
    setHighlightSections(false);
}

void GridHeaderView::setCurrentSection(int section)
{
    if (section == mCurrentSection)
        return;
    const int old = mCurrentSection;
    mCurrentSection = section;
    if (old >= 0)
        updateSection(old);
    if (section >= 0)
        updateSection(section);
}

void GridHeaderView::paintCell(QPainter *painter, const QRect &rect, const QString &text,
                               bool current, const QPalette &palette)
{
    painter->save();
    // The system's window colour: the background of text, not of dialogs.
    painter->fillRect(rect, palette.color(QPalette::Base));
    const QRect face = rect.adjusted(1, 1, 0, 0);
    painter->fillRect(face, current ? currentColor() : palette.color(QPalette::Button));
    painter->setPen(current ? palette.color(QPalette::HighlightedText) : QColor(Qt::black));
    painter->setClipRect(face, Qt::IntersectClip);
    // Centred in the height a record cell has above its grid line, so the
    // record number stands on its row's baseline.
    const QRect textRect(face.left() + 1, rect.top(), face.width() - 1, rect.height() - 1);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
}

void GridHeaderView::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    const QString text =
        model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString()
                : QString();
    paintCell(painter, rect, text, logicalIndex == mCurrentSection, palette());
}

QSize GridHeaderView::sizeHint() const
{
    if (orientation() == Qt::Vertical && minimumWidth() == maximumWidth())
        return {minimumWidth(), defaultSectionSize()};
    if (orientation() == Qt::Horizontal && minimumHeight() == maximumHeight())
        return {defaultSectionSize(), minimumHeight()};
    return QHeaderView::sizeHint();
}
