#include "widgets/platform/qttextmeasurer.h"

#include "interchange/print/fontmeasurer.h"

QtTextMeasurer::QtTextMeasurer(const QFont &font) : mFont(font), mMetrics(font)
{
}

QtTextMeasurer::~QtTextMeasurer() = default;

void QtTextMeasurer::setFont(const QFont &font)
{
    mFont = font;
    mMetrics = QFontMetrics(font);
    mTable.reset();
}

int QtTextMeasurer::textWidth(const QString &text) const
{
    return mMetrics.horizontalAdvance(text);
}

int QtTextMeasurer::storedWidth(const char *bytes, qsizetype size) const
{
    if (!mTable)
        mTable = std::make_unique<FontMeasurer>(mFont, FontMeasurer::Rounding::Nearest,
                                                FontMeasurer::Pairs::Measured);
    return mTable->storedWidth(bytes, size);
}
