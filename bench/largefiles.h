#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

/// The largest database the handheld keeps, 32,000 records of 50 fields of
/// realistic texts, written once per process as a plain and an enciphered
/// file in a temporary folder.
class LargeFiles
{
public:
    static constexpr int Records = 32000;
    static constexpr int Fields = 50;
    static QString password() { return QStringLiteral("bench-password"); }

    static LargeFiles &instance();

    /// Texts of the kinds a real database holds: names, numbers, dates,
    /// words, now and then a note of several lines or an empty cell.
    static QByteArray realisticText(QRandomGenerator &rng, int field);

    QString plainPath;
    QString encryptedPath;

private:
    LargeFiles();
    static void write(const QString &path, const QByteArray &bytes);

    QTemporaryDir mDir;
};
