#include "ui/qttextmeasurer.h"

namespace {
constexpr char16_t CachedBelow = 0x0800;
}

QtTextMeasurer::QtTextMeasurer(const QFont &font) : mMetrics(font), mAdvances(CachedBelow, -1)
{
}

void QtTextMeasurer::setFont(const QFont &font)
{
    mMetrics = QFontMetrics(font);
    std::fill(mAdvances.begin(), mAdvances.end(), -1);
}

int QtTextMeasurer::textWidth(const QString &text) const
{
    return mMetrics.horizontalAdvance(text);
}

int QtTextMeasurer::estimateWidth(QStringView text) const
{
    qint64 sum = 0;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= CachedBelow) {
            sum += mMetrics.maxWidth();
            continue;
        }
        int &advance = mAdvances[u];
        if (advance < 0)
            advance = mMetrics.horizontalAdvance(c);
        sum += advance;
    }
    return int(std::min<qint64>(sum, INT_MAX));
}
