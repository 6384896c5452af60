#pragma once

#include "core/textmeasurer.h"

#include <QFont>
#include <QFontMetrics>

/// Measures texts with the metrics of one font, the program font.
class QtTextMeasurer : public TextMeasurer
{
public:
    explicit QtTextMeasurer(const QFont &font = QFont()) : mMetrics(font) {}

    void setFont(const QFont &font) { mMetrics = QFontMetrics(font); }

    int textWidth(const QString &text) const override { return mMetrics.horizontalAdvance(text); }
    int maxCharWidth() const override { return mMetrics.maxWidth(); }

private:
    QFontMetrics mMetrics;
};
