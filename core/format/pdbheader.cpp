#include "core/format/pdbheader.h"

#include <QtEndian>

PdbHeader PdbHeader::parse(const QByteArray &bytes)
{
    Q_ASSERT(bytes.size() >= Size);
    const char *d = bytes.constData();
    PdbHeader h;
    h.name = QByteArray(d, qsizetype(qstrnlen(d, NameSize)));
    h.attributes = qFromBigEndian<quint16>(d + 32);
    h.flags = qFromBigEndian<quint16>(d + 34);
    h.creationDate = qFromBigEndian<qint32>(d + 36);
    h.modificationDate = qFromBigEndian<qint32>(d + 40);
    h.backupDate = qFromBigEndian<qint32>(d + 44);
    h.modificationNumber = qFromBigEndian<quint32>(d + 48);
    h.appInfoOffset = qFromBigEndian<quint32>(d + 52);
    h.sortInfoOffset = qFromBigEndian<quint32>(d + 56);
    h.type = QByteArray(d + 60, 4);
    h.creator = QByteArray(d + 64, 4);
    h.uniqueIdSeed = qFromBigEndian<quint32>(d + 68);
    h.nextRecordList = qFromBigEndian<quint32>(d + 72);
    h.recordCount = qFromBigEndian<quint16>(d + 76);
    return h;
}
