#pragma once

#include <QWidget>

class QAction;
class QLabel;
class QVBoxLayout;

/**
 * What the window shows while no database is open: the recent files, each a
 * click away, and the commands that bring a database (open, new, import) as
 * buttons that run the window's own actions and follow their state; and,
 * while nobody can be installed for, a quiet line with the way to the
 * set-up of handheld delivery.
 */
class StartPage : public QWidget
{
    Q_OBJECT

public:
    /// @p commands are shown as buttons, left to right.
    StartPage(const QList<QAction *> &commands, QWidget *parent = nullptr);

    /// Lists the recent files: @p actions are the window's recent-file
    /// actions, shown while they are visible.
    void setRecentFiles(const QList<QAction *> &actions);
    /// Shows or hides the quiet line that handheld delivery is not set up,
    /// with its link to the set-up.
    void setDeliveryNotice(bool shown);

signals:
    /// The link to the set-up of handheld delivery was followed.
    void deliverySetupRequested();

private:
    QVBoxLayout *mRecentLayout;
    QWidget *mRecentBox;
    QLabel *mDeliveryNotice;
};
