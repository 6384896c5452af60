#include "pdbbuilder.h"

#include "core/crypto/cipherstate.h"
#include "core/format/codepage.h"

#include <QtEndian>

namespace {

void putWord(QByteArray &b, int offset, quint16 value)
{
    qToBigEndian<quint16>(value, b.data() + offset);
}

void putLong(QByteArray &b, int offset, quint32 value)
{
    qToBigEndian<quint32>(value, b.data() + offset);
}

void putText(QByteArray &b, int offset, int size, const QByteArray &text)
{
    const int n = qMin(int(text.size()), size);
    std::copy(text.constData(), text.constData() + n, b.data() + offset);
}

QByteArray padded(QByteArray bytes)
{
    if (bytes.size() % 8)
        bytes.append(QByteArray(8 - bytes.size() % 8, '\0'));
    return bytes;
}

} // namespace

QByteArray PdbBuilder::fixedPart() const
{
    QByteArray lo(1702, '\0');
    for (size_t i = 0; i < 50; ++i) {
        const int k = int(i);
        if (i < fields.size()) {
            const Field &f = fields[i];
            putText(lo, k * 21, 20, f.name);
            putWord(lo, 1050 + 2 * k, quint16((f.attributes << 8) | f.typeCode));
            putWord(lo, 1154 + 2 * k, quint16(f.width));
            putLong(lo, 1302 + 4 * k, quint32(f.setting1));
            putLong(lo, 1502 + 4 * k, quint32(f.setting2));
        } else {
            putWord(lo, 1050 + 2 * k, 0x0001);
            putWord(lo, 1154 + 2 * k, 90);
        }
    }
    putWord(lo, 1150, fieldCountOverride.value_or(quint16(fields.size())));
    putWord(lo, 1152, marker);
    putWord(lo, 1254, dataWidth);
    for (int i = 0; i < 3; ++i)
        putWord(lo, 1256 + 2 * i, quint16(sortKeys[i]));
    putWord(lo, 1262, quint16(findField));
    putWord(lo, 1264, quint16(filterField));
    putText(lo, 1266, 15, findText);
    putText(lo, 1282, 15, filterText);
    putWord(lo, 1298, reserved);
    putWord(lo, 1300, quint16(firstUnlockedField));
    if (patchFixedPart)
        patchFixedPart(lo);
    return lo;
}

QByteArray PdbBuilder::recordBytes(const std::vector<QByteArray> &texts) const
{
    QByteArray record(qsizetype(2 * texts.size()), '\0');
    for (size_t k = 0; k < texts.size(); ++k) {
        putWord(record, int(2 * k), quint16(texts[k].size() + 1));
    }
    for (const QByteArray &text : texts) {
        record.append(text);
        record.append('\0');
    }
    return record;
}

QByteArray PdbBuilder::build() const
{
    std::vector<QByteArray> units;
    for (const auto &texts : records)
        units.push_back(recordBytes(texts));
    for (const QByteArray &raw : rawRecords)
        units.push_back(raw);

    CipherState cipher;
    const bool encrypt = !password.isEmpty();
    if (encrypt)
        cipher.SetCipherKey(Codepage::decode(password));
    auto seal = [&](QByteArray bytes) {
        if (!encrypt)
            return bytes;
        bytes = padded(bytes);
        cipher.EncipherBuffer(bytes, bytes.size());
        return bytes;
    };

    const quint16 n = quint16(units.size());
    QByteArray header(78, '\0');
    putText(header, 0, 32, name);
    putWord(header, 32, attributes);
    putWord(header, 34, flags);
    putLong(header, 36, quint32(creationDate));
    putLong(header, 40, quint32(modificationDate));
    const quint32 appInfo = 78 + 8 * n + 2;
    putLong(header, 52, appInfoOffsetOverride.value_or(appInfo));
    putText(header, 60, 4, type);
    putText(header, 64, 4, creator);
    putWord(header, 76, recordCountOverride.value_or(n));

    QByteArray body = seal(fixedPart() + extension);
    QByteArray list(8 * n, '\0');
    quint32 offset = appInfo + quint32(body.size());
    for (quint16 i = 0; i < n; ++i) {
        const QByteArray unit = seal(units[i]);
        quint32 entry = offset;
        if (i < offsetOverrides.size() && offsetOverrides[i])
            entry = *offsetOverrides[i];
        putLong(list, 8 * i, entry);
        body.append(unit);
        offset += quint32(unit.size());
    }
    return header + list + QByteArray(2, '\0') + body;
}

QByteArray PdbBuilder::strings(std::initializer_list<QByteArray> list)
{
    QByteArray bytes;
    for (const QByteArray &s : list) {
        bytes.append(s);
        bytes.append('\0');
    }
    return bytes;
}

QByteArray PdbBuilder::key(const char *blockName, int k)
{
    QByteArray key(blockName);
    key.append(k <= 26 ? char('a' + k - 1) : char('A' + k - 27));
    return key;
}

PdbBuilder PdbBuilder::withFields(int fieldCount)
{
    PdbBuilder b;
    for (int k = 1; k <= fieldCount; ++k)
        b.fields.push_back({"F" + QByteArray::number(k)});
    return b;
}
