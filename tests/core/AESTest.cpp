// AES-128 ECB stream layer: published vectors, amount rules, zero fill and stream errors.
#include "core/AES.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

TAESKey128 keyFromHex(const char* hex)
{
    return AESKeyFromText(QByteArray::fromHex(hex));
}

QByteArray encrypt(QByteArray plain, const TAESKey128& key, qint64 count = 0)
{
    QBuffer source(&plain);
    source.open(QIODevice::ReadOnly);
    QByteArray out;
    QBuffer target(&out);
    target.open(QIODevice::WriteOnly);
    EncryptStreamECB(source, count, key, target);
    return out;
}

QByteArray decrypt(QByteArray cipher, const TAESKey128& key)
{
    QBuffer source(&cipher);
    source.open(QIODevice::ReadOnly);
    QByteArray out;
    QBuffer target(&out);
    target.open(QIODevice::WriteOnly);
    DecryptStreamECB(source, 0, key, target);
    return out;
}

TEST(AES, PublishedVectorsBothWays)
{
    struct Case
    {
        const char* key;
        const char* plain;
        const char* cipher;
    };
    const Case cases[] = {
        // FIPS-197 appendix C.1
        {"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff",
         "69c4e0d86a7b0430d8cdb78070b4c55a"},
        // SP 800-38A F.1.1, ECB-AES128, two blocks
        {"2b7e151628aed2a6abf7158809cf4f3c",
         "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51",
         "3ad77bb40d7a3660a89ecaf32466ef97f5d3d58503b9699de785895a96fdbaaf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cipher);
        const TAESKey128 key = keyFromHex(c.key);
        EXPECT_EQ(encrypt(QByteArray::fromHex(c.plain), key).toHex(), QByteArray(c.cipher));
        EXPECT_EQ(decrypt(QByteArray::fromHex(c.cipher), key).toHex(), QByteArray(c.plain));
    }
}

TEST(AES, KeyTextIsCutOrZeroFilledToSixteenBytes)
{
    EXPECT_EQ(AESKeyFromText("abc"), AESKeyFromText(QByteArray("abc") + QByteArray(13, '\0')));
    EXPECT_EQ(AESKeyFromText("0123456789abcdefXYZ"), AESKeyFromText("0123456789abcdef"));
}

TEST(AES, PartialLastBlockIsZeroFilled)
{
    const TAESKey128 key = AESKeyFromText("4817kq603vbnawzd");
    const QByteArray plain = "twenty bytes of text";
    const QByteArray cipher = encrypt(plain, key);
    ASSERT_EQ(cipher.size(), 32);
    EXPECT_EQ(cipher, encrypt(plain + QByteArray(12, '\0'), key));
    EXPECT_EQ(decrypt(cipher, key), plain + QByteArray(12, '\0'));
}

TEST(AES, CountZeroRewindsOtherCountsStartAtThePositionAndStopAtTheEnd)
{
    const TAESKey128 key = AESKeyFromText("k");
    QByteArray data = "0123456789abcdefghijklmnopqrstuv";
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    QByteArray out;
    QBuffer target(&out);
    target.open(QIODevice::WriteOnly);

    source.seek(20);
    EncryptStreamECB(source, 0, key, target);
    EXPECT_EQ(out, encrypt(data, key));

    out.clear();
    target.seek(0);
    source.seek(16);
    EncryptStreamECB(source, 100, key, target); // only 16 bytes remain
    EXPECT_EQ(out, encrypt(data.mid(16), key));

    out.clear();
    target.seek(0);
    source.seek(4);
    EncryptStreamECB(source, 3, key, target);
    EXPECT_EQ(out, encrypt("456", key));
    EXPECT_EQ(source.pos(), 7);
}

TEST(AES, DecryptRefusesPartialBlocksAndNothingIsNothing)
{
    const TAESKey128 key = AESKeyFromText("k");
    try {
        decrypt(QByteArray(17, 'x'), key);
        FAIL() << "no exception";
    } catch (const EAESError& e) {
        EXPECT_STREQ(e.what(), "Invalid buffer size for decryption");
    }
    EXPECT_TRUE(decrypt(QByteArray(), key).isEmpty());
}

TEST(AES, ShortWriteIsAStreamError)
{
    QByteArray data(16, 'a');
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    QByteArray out;
    QBuffer target(&out);
    target.open(QIODevice::ReadOnly); // refuses writes
    try {
        EncryptStreamECB(source, 0, AESKeyFromText("k"), target);
        FAIL() << "no exception";
    } catch (const EStreamError& e) {
        EXPECT_STREQ(e.what(), "Stream write error");
    }
}

} // namespace
