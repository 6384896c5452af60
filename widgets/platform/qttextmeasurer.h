#pragma once

#include "core/platform/textmeasurer.h"

#include <QFont>
#include <QFontMetrics>

#include <memory>

class FontMeasurer;

/// Measures texts with the metrics of one font, the program font; texts
/// as the file stores them by a table of the code page's characters
/// (FontMeasurer), made at their first measure.
class QtTextMeasurer : public TextMeasurer
{
public:
    explicit QtTextMeasurer(const QFont &font = QFont());
    ~QtTextMeasurer() override;

    void setFont(const QFont &font);

    int textWidth(const QString &text) const override;
    int storedWidth(const char *bytes, qsizetype size) const override;

private:
    QFont mFont;
    QFontMetrics mMetrics;
    mutable std::unique_ptr<FontMeasurer> mTable;
};
