#pragma once

#include <QtGlobal>

/**
 * The Blowfish block cipher: 64-bit blocks, 16 rounds, keys of 1 to 56 bytes
 * (longer keys are accepted; bytes past the 72nd have no effect).
 *
 * A default-constructed object holds the unkeyed tables; call setKey() before use.
 */
class Blowfish
{
public:
    Blowfish();

    /// Schedules @p length bytes of @p key, replacing any earlier key.
    void setKey(const quint8 *key, qsizetype length);

    /// Enciphers the block @p left (first half) and @p right in place.
    void encryptBlock(quint32 &left, quint32 &right) const;
    /// Deciphers the block @p left (first half) and @p right in place.
    void decryptBlock(quint32 &left, quint32 &right) const;

    /// Enciphers every complete 8-byte block of @p data in place, each
    /// independently; a final incomplete block is left untouched.
    void encryptEcb(char *data, qsizetype size) const;
    /// Deciphers every complete 8-byte block of @p data in place; a final
    /// incomplete block is left untouched.
    void decryptEcb(char *data, qsizetype size) const;

private:
    quint32 round(quint32 x) const;

    quint32 mP[18];
    quint32 mS[4][256];
};
