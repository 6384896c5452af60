#include "core/recovery/recoveryrecord.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

const QString kFormat = QStringLiteral("quillgrid-recovery-1");

QString timeText(const QDateTime &time)
{
    return time.isValid() ? time.toUTC().toString(Qt::ISODateWithMs) : QString();
}

QDateTime timeFrom(const QJsonValue &value)
{
    QDateTime time = QDateTime::fromString(value.toString(), Qt::ISODateWithMs);
    if (time.isValid())
        time.setTimeSpec(Qt::UTC);
    return time;
}

} // namespace

QByteArray RecoveryRecord::toBytes() const
{
    // 64-bit numbers as text: a JSON number keeps 53 bits.
    const QJsonObject object{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("path"), originalPath},
        {QStringLiteral("exists"), original.exists},
        {QStringLiteral("identity"), QString::number(original.identity)},
        {QStringLiteral("size"), QString::number(original.size)},
        {QStringLiteral("modified"), timeText(original.modified)},
        {QStringLiteral("written"), timeText(written)},
        {QStringLiteral("enciphered"), enciphered},
        {QStringLiteral("name"), databaseName},
        {QStringLiteral("altered"), alteredRecords},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

std::optional<RecoveryRecord> RecoveryRecord::fromBytes(const QByteArray &bytes)
{
    if (bytes.size() > MaxBytes)
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    const QJsonObject o = document.object();
    if (error.error != QJsonParseError::NoError ||
        o.value(QStringLiteral("format")).toString() != kFormat)
        return std::nullopt;
    RecoveryRecord r;
    bool identityOk = false;
    bool sizeOk = false;
    r.originalPath = o.value(QStringLiteral("path")).toString();
    r.original.exists = o.value(QStringLiteral("exists")).toBool();
    r.original.identity = o.value(QStringLiteral("identity")).toString().toULongLong(&identityOk);
    r.original.size = o.value(QStringLiteral("size")).toString().toLongLong(&sizeOk);
    r.original.modified = timeFrom(o.value(QStringLiteral("modified")));
    r.written = timeFrom(o.value(QStringLiteral("written")));
    r.enciphered = o.value(QStringLiteral("enciphered")).toBool();
    r.databaseName = o.value(QStringLiteral("name")).toString();
    r.alteredRecords = std::max(0, o.value(QStringLiteral("altered")).toInt());
    if (!identityOk || !sizeOk || !r.written.isValid())
        return std::nullopt;
    return r;
}
