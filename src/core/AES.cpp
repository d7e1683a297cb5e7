// AES-128 ECB stream layer over OpenSSL EVP, padding off (the zero fill is ours).
#include "core/AES.h"

#include <QIODevice>

#include <memory>
#include <openssl/evp.h>

namespace {

constexpr int BlockSize = 16;

struct CipherCtxDeleter
{
    void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using CipherCtx = std::unique_ptr<EVP_CIPHER_CTX, CipherCtxDeleter>;

CipherCtx makeContext(const TAESKey128& key, bool encrypt)
{
    CipherCtx ctx(EVP_CIPHER_CTX_new());
    if (!ctx ||
        EVP_CipherInit_ex(ctx.get(), EVP_aes_128_ecb(), nullptr, key.data(), nullptr, encrypt ? 1 : 0) != 1)
        throw EAESError("Cannot initialise the AES cipher");
    EVP_CIPHER_CTX_set_padding(ctx.get(), 0);
    return ctx;
}

void cipherBlock(EVP_CIPHER_CTX* ctx, const unsigned char* in, unsigned char* out)
{
    int outLen = 0;
    if (EVP_CipherUpdate(ctx, out, &outLen, in, BlockSize) != 1 || outLen != BlockSize)
        throw EAESError("AES block operation failed");
}

qint64 amountToProcess(QIODevice& source, qint64 count)
{
    if (count == 0) {
        if (!source.seek(0))
            throw EStreamError("Stream read error");
        return source.size();
    }
    const qint64 remaining = source.size() - source.pos();
    return qMax<qint64>(0, qMin(count, remaining));
}

void readExactly(QIODevice& source, char* buffer, qint64 n)
{
    if (source.read(buffer, n) != n)
        throw EStreamError("Stream read error");
}

void writeExactly(QIODevice& target, const char* buffer, qint64 n)
{
    if (target.write(buffer, n) != n)
        throw EStreamError("Stream write error");
}

} // namespace

TAESKey128 AESKeyFromText(const QByteArray& keyText)
{
    TAESKey128 key{};
    const int n = qMin<int>(keyText.size(), BlockSize);
    for (int i = 0; i < n; ++i)
        key[size_t(i)] = std::uint8_t(keyText[i]);
    return key;
}

void EncryptStreamECB(QIODevice& source, qint64 count, const TAESKey128& key, QIODevice& target)
{
    qint64 amount = amountToProcess(source, count);
    if (amount == 0)
        return;
    CipherCtx ctx = makeContext(key, true);
    unsigned char in[BlockSize];
    unsigned char out[BlockSize];
    while (amount > 0) {
        const qint64 n = qMin<qint64>(amount, BlockSize);
        std::fill(std::begin(in), std::end(in), 0);
        readExactly(source, reinterpret_cast<char*>(in), n);
        cipherBlock(ctx.get(), in, out);
        writeExactly(target, reinterpret_cast<const char*>(out), BlockSize);
        amount -= n;
    }
}

void DecryptStreamECB(QIODevice& source, qint64 count, const TAESKey128& key, QIODevice& target)
{
    qint64 amount = amountToProcess(source, count);
    if (amount == 0)
        return;
    if (amount % BlockSize != 0)
        throw EAESError("Invalid buffer size for decryption");
    CipherCtx ctx = makeContext(key, false);
    unsigned char in[BlockSize];
    unsigned char out[BlockSize];
    for (; amount > 0; amount -= BlockSize) {
        readExactly(source, reinterpret_cast<char*>(in), BlockSize);
        cipherBlock(ctx.get(), in, out);
        writeExactly(target, reinterpret_cast<const char*>(out), BlockSize);
    }
}
