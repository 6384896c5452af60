#pragma once

#include "core/platform/textmeasurer.h"

#include <QFont>
#include <QFontMetrics>

/// Measures texts with the metrics of one font, the program font.
class QtTextMeasurer : public TextMeasurer
{
public:
    explicit QtTextMeasurer(const QFont &font = QFont());

    void setFont(const QFont &font);

    int textWidth(const QString &text) const override;

private:
    QFontMetrics mMetrics;
};
