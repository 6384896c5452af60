#include "widgets/platform/qttextmeasurer.h"

QtTextMeasurer::QtTextMeasurer(const QFont &font) : mMetrics(font)
{
}

void QtTextMeasurer::setFont(const QFont &font)
{
    mMetrics = QFontMetrics(font);
}

int QtTextMeasurer::textWidth(const QString &text) const
{
    return mMetrics.horizontalAdvance(text);
}
