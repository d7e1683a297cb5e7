// The self-restoring archive: the restorer program's ELF image followed by magic, salt, PBKDF2 iteration
// count, nonce, AES-256-GCM cipher text and tag. Shared by the archive library, the restorer and the tests.
#pragma once

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace CryptSfx {

inline constexpr char Magic[8] = {'T', 'V', 'S', 'F', 'X', '0', '1', '\0'};
inline constexpr size_t SaltSize = 16;
inline constexpr size_t NonceSize = 12;
inline constexpr size_t TagSize = 16;
inline constexpr size_t KeySize = 32;
inline constexpr size_t HeaderSize = sizeof(Magic) + SaltSize + 4 + NonceSize;
// PBKDF2-HMAC-SHA256 rounds written into every archive, and the most a restorer accepts.
inline constexpr uint32_t Iterations = 200000;
inline constexpr uint32_t MaxIterations = 10000000;

struct Archive
{
    const uint8_t* header = nullptr; // magic .. nonce, authenticated with the cipher text
    const uint8_t* salt = nullptr;
    uint32_t iterations = 0;
    const uint8_t* nonce = nullptr;
    const uint8_t* cipherText = nullptr;
    size_t cipherSize = 0;
    const uint8_t* tag = nullptr;
};

inline uint64_t ReadLe(const uint8_t* p, int bytes)
{
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | p[i];
    return v;
}

// Where a 64-bit little-endian ELF file's image ends (the section headers or the last segment, whichever
// lies further); 0 when the bytes are no such ELF file.
inline size_t ElfImageEnd(const uint8_t* data, size_t size)
{
    if (size < 64 ||
        std::memcmp(data,
                    "\x7f"
                    "ELF",
                    4) != 0 ||
        data[4] != 2 || data[5] != 1)
        return 0;
    const uint64_t phoff = ReadLe(data + 0x20, 8);
    const uint64_t shoff = ReadLe(data + 0x28, 8);
    const uint64_t phentsize = ReadLe(data + 0x36, 2);
    const uint64_t phnum = ReadLe(data + 0x38, 2);
    const uint64_t shentsize = ReadLe(data + 0x3A, 2);
    const uint64_t shnum = ReadLe(data + 0x3C, 2);
    uint64_t end = 64;
    if (shoff > size || shnum * shentsize > size - shoff)
        return 0;
    end = std::max<uint64_t>(end, shoff + shnum * shentsize);
    if (phoff > size || phentsize < 56 || phnum * phentsize > size - phoff)
        return 0;
    for (uint64_t i = 0; i < phnum; ++i) {
        const uint8_t* ph = data + phoff + i * phentsize;
        const uint64_t offset = ReadLe(ph + 8, 8);
        const uint64_t fileSize = ReadLe(ph + 32, 8);
        if (offset > size || fileSize > size - offset)
            return 0;
        end = std::max<uint64_t>(end, offset + fileSize);
    }
    return size_t(end);
}

// Reads the archive that starts at start; false when the bytes there are no archive.
inline bool ParseArchive(const uint8_t* data, size_t size, size_t start, Archive& out)
{
    if (start > size || size - start < HeaderSize + TagSize)
        return false;
    const uint8_t* p = data + start;
    if (std::memcmp(p, Magic, sizeof(Magic)) != 0)
        return false;
    out.header = p;
    out.salt = p + sizeof(Magic);
    out.iterations = uint32_t(ReadLe(out.salt + SaltSize, 4));
    if (out.iterations < Iterations || out.iterations > MaxIterations)
        return false;
    out.nonce = out.salt + SaltSize + 4;
    out.cipherText = p + HeaderSize;
    out.cipherSize = size - start - HeaderSize - TagSize;
    out.tag = out.cipherText + out.cipherSize;
    return true;
}

// The whole file; false when it cannot be read.
inline bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& out)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    out.clear();
    uint8_t buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

inline bool DeriveKey(const std::string& password, const uint8_t* salt, uint32_t iterations, uint8_t* key)
{
    return PKCS5_PBKDF2_HMAC(password.data(), int(password.size()), salt, int(SaltSize), int(iterations),
                             EVP_sha256(), int(KeySize), key) == 1;
}

// One AES-256-GCM pass; encrypt writes the tag, decrypt checks it. False on any failure.
inline bool Gcm(bool encrypt, const uint8_t* key, const uint8_t* nonce, const uint8_t* aad, size_t aadSize,
                const uint8_t* in, size_t inSize, uint8_t* out, uint8_t* tag)
{
    EVP_CIPHER_CTX* ctx = EVP_CIPHER_CTX_new();
    if (!ctx)
        return false;
    int len = 0;
    bool ok = EVP_CipherInit_ex(ctx, EVP_aes_256_gcm(), nullptr, nullptr, nullptr, encrypt ? 1 : 0) == 1 &&
              EVP_CIPHER_CTX_ctrl(ctx, EVP_CTRL_GCM_SET_IVLEN, int(NonceSize), nullptr) == 1 &&
              EVP_CipherInit_ex(ctx, nullptr, nullptr, key, nonce, -1) == 1 &&
              EVP_CipherUpdate(ctx, nullptr, &len, aad, int(aadSize)) == 1;
    // Large texts go through in pieces that fit an int.
    size_t done = 0;
    while (ok && done < inSize) {
        const int piece = int(std::min<size_t>(inSize - done, 1 << 30));
        ok = EVP_CipherUpdate(ctx, out + done, &len, in + done, piece) == 1;
        done += size_t(piece);
    }
    if (ok && !encrypt)
        ok = EVP_CIPHER_CTX_ctrl(ctx, EVP_CTRL_GCM_SET_TAG, int(TagSize), tag) == 1;
    uint8_t last[16];
    ok = ok && EVP_CipherFinal_ex(ctx, last, &len) == 1;
    if (ok && encrypt)
        ok = EVP_CIPHER_CTX_ctrl(ctx, EVP_CTRL_GCM_GET_TAG, int(TagSize), tag) == 1;
    EVP_CIPHER_CTX_free(ctx);
    return ok;
}

// The archive bytes (header, cipher text, tag) of plain under password; empty on failure.
inline std::vector<uint8_t> Seal(const std::vector<uint8_t>& plain, const std::string& password,
                                 uint32_t iterations = Iterations)
{
    std::vector<uint8_t> out(HeaderSize + plain.size() + TagSize);
    uint8_t* p = out.data();
    std::memcpy(p, Magic, sizeof(Magic));
    uint8_t* salt = p + sizeof(Magic);
    uint8_t* nonce = salt + SaltSize + 4;
    for (int i = 0; i < 4; ++i)
        salt[SaltSize + size_t(i)] = uint8_t(iterations >> (8 * i));
    uint8_t key[KeySize];
    const bool ok = RAND_bytes(salt, int(SaltSize)) == 1 && RAND_bytes(nonce, int(NonceSize)) == 1 &&
                    DeriveKey(password, salt, iterations, key) &&
                    Gcm(true, key, nonce, p, HeaderSize, plain.data(), plain.size(), p + HeaderSize,
                        p + HeaderSize + plain.size());
    OPENSSL_cleanse(key, sizeof(key));
    return ok ? out : std::vector<uint8_t>();
}

// The plain text of a parsed archive; false when the password is wrong or the archive was changed.
inline bool Open(const Archive& archive, const std::string& password, std::vector<uint8_t>& plain)
{
    uint8_t key[KeySize];
    if (!DeriveKey(password, archive.salt, archive.iterations, key))
        return false;
    plain.assign(archive.cipherSize, 0);
    uint8_t tag[TagSize];
    std::memcpy(tag, archive.tag, TagSize);
    const bool ok = Gcm(false, key, archive.nonce, archive.header, HeaderSize, archive.cipherText,
                        archive.cipherSize, plain.data(), tag);
    OPENSSL_cleanse(key, sizeof(key));
    if (!ok) {
        OPENSSL_cleanse(plain.data(), plain.size());
        plain.clear();
    }
    return ok;
}

} // namespace CryptSfx
