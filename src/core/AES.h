// AES-128 in ECB mode over streams: whole 16-byte blocks, the last one zero-filled.
#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <stdexcept>

class QIODevice;

// A stream that delivered or accepted fewer bytes than asked ("Stream read error", "Stream write error").
class EStreamError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Misuse of the cipher layer, e.g. a ciphertext that is not whole blocks.
class EAESError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

using TAESKey128 = std::array<std::uint8_t, 16>;

// The first 16 bytes of the key text, zero-filled when the text is shorter.
TAESKey128 AESKeyFromText(const QByteArray& keyText);

// Count 0 takes the whole source from position 0; otherwise the smaller of count and what remains from the
// current position. A last partial block is zero-filled before enciphering.
void EncryptStreamECB(QIODevice& source, qint64 count, const TAESKey128& key, QIODevice& target);
// Same amount rule; the amount must be whole 16-byte blocks.
void DecryptStreamECB(QIODevice& source, qint64 count, const TAESKey128& key, QIODevice& target);
