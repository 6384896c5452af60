#pragma once

#include "core/textmeasurer.h"

#include <QFont>
#include <QFontMetrics>

#include <vector>

/// Measures texts with the metrics of one font, the program font.
class QtTextMeasurer : public TextMeasurer
{
public:
    explicit QtTextMeasurer(const QFont &font = QFont());

    void setFont(const QFont &font);

    int textWidth(const QString &text) const override;
    /// The characters' own advances added up.
    int estimateWidth(QStringView text) const override;

private:
    QFontMetrics mMetrics;
    /// Advances of the characters below U+0800 met so far; -1 not yet known.
    mutable std::vector<int> mAdvances;
};
