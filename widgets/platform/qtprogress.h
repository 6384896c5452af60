#pragma once

#include "core/platform/progress.h"

#include <QElapsedTimer>
#include <QPointer>

class QProgressDialog;
class QWidget;

/// A progress dialog with a Cancel button that shows once work has run
/// half a second; quicker work shows nothing.
class QtProgress : public Progress
{
public:
    explicit QtProgress(QWidget *parent) : mParent(parent) {}
    ~QtProgress() override;

    void start(const QString &label) override;
    bool advance(int permille) override;
    void finish() override;

private:
    static constexpr qint64 ShowAfterMs = 500;

    QWidget *mParent;
    QPointer<QProgressDialog> mDialog;
    QElapsedTimer mTimer;
    QString mLabel;
};
