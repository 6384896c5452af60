#pragma once

#include "core/crypto/blowfish.h"

#include <QByteArray>
#include <QString>

#include <array>

/**
 * The program's one cipher state: Blowfish in ECB mode, keyed from a
 * password, for enciphered database files.
 */
class CipherState
{
public:
    /// The 8-byte Blowfish key derived from @p passwordBytes (see cipherstate.cpp).
    static std::array<quint8, 8> CipherKey(const QByteArray &passwordBytes);

    /// Keys the cipher from @p password, taken as Windows-1252 bytes.
    void SetCipherKey(const QString &password);

    /// Rounds @p length up to a multiple of 8, grows @p buffer with zero bytes
    /// to at least that size, enciphers that many bytes in place and returns
    /// the rounded length.
    qsizetype EncipherBuffer(QByteArray &buffer, qsizetype length);
    /// The same in place: @p data has room for the rounded length, and the
    /// pad bytes after @p length become zero before they are enciphered.
    qsizetype EncipherBuffer(char *data, qsizetype length);

    /// Deciphers every complete 8-byte block of the @p length bytes at
    /// @p data in place; a final incomplete block is left as it is.
    void DecipherBuffer(char *data, qsizetype length) const;

    /// Whether a key has been set.
    bool hasKey() const { return mHasKey; }

private:
    Blowfish mBlowfish;
    bool mHasKey = false;
};
