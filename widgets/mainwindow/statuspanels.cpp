#include "widgets/mainwindow/statuspanels.h"

#include "core/platform/localeservice.h"
#include "rules/shell/statusbarcontent.h"

#include <QDate>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QStatusBar>

namespace StatusPanels {

int minimumWidth(int panel, const QLabel &label, const LocaleService &locale)
{
    Q_ASSERT(panel >= 0 && panel < StatusBarContent::PanelCount - 1);
    const QFontMetrics metrics = label.fontMetrics();
    // Short dates may name the month: the widest of a late day of each.
    QString date;
    for (int month = 1; month <= 12; ++month) {
        const QString text = locale.formatDate(QDate(2088, month, 28));
        if (metrics.horizontalAdvance(text) > metrics.horizontalAdvance(date))
            date = text;
    }
    const QString widest = StatusBarContent::widestPanels(date)[size_t(panel)];
    const int margins = label.contentsMargins().left() + label.contentsMargins().right() +
                        2 * metrics.averageCharWidth();
    return qMax(StatusBarContent::PanelWidths[size_t(panel)],
                metrics.horizontalAdvance(widest) + margins);
}

namespace {

/// Follows the least width of a status bar's layout into the bar.
class WholeBar : public QObject
{
public:
    explicit WholeBar(QStatusBar *bar) : QObject(bar), mBar(bar) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == mBar && mBar->layout() &&
            (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show)) {
            const int width = mBar->layout()->totalMinimumSize().width();
            if (mBar->minimumWidth() != width)
                mBar->setMinimumWidth(width);
        }
        return false;
    }

private:
    QStatusBar *mBar;
};

} // namespace

void keepWhole(QStatusBar *bar)
{
    bar->installEventFilter(new WholeBar(bar));
}

} // namespace StatusPanels
