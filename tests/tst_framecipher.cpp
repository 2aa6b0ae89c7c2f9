#include "framecipher.h"
#include "protocolconstants.h"

#include <QRandomGenerator>
#include <QtTest>

#include <openssl/evp.h>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

std::uint8_t *bytes(QByteArray &data)
{
    return reinterpret_cast<std::uint8_t *>(data.data());
}

void xorInto(QByteArray &target, const QByteArray &mask)
{
    for (int i = 0; i < mask.size(); ++i)
        target[i] = char(target.at(i) ^ mask.at(i));
}

// OpenSSL's AES-128-CBC with a zero IV and no padding: an independent oracle.
QByteArray opensslCbc(const std::uint8_t *key, const QByteArray &input, bool encrypt)
{
    const std::uint8_t iv[16] = {};
    EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
    EVP_CipherInit_ex(ctx, EVP_aes_128_cbc(), nullptr, key, iv, encrypt ? 1 : 0);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    QByteArray output(input.size() + 16, '\0');
    int written = 0;
    int last = 0;
    EVP_CipherUpdate(ctx, reinterpret_cast<unsigned char *>(output.data()), &written,
                     reinterpret_cast<const unsigned char *>(input.constData()), input.size());
    EVP_CipherFinal_ex(ctx, reinterpret_cast<unsigned char *>(output.data()) + written, &last);
    EVP_CIPHER_CTX_free(ctx);
    output.resize(written + last);
    return output;
}

// NIST SP 800-38A, F.2.1 and F.2.2 (CBC-AES128).
const char SP800_KEY[] = "2b7e151628aed2a6abf7158809cf4f3c";
const char SP800_IV[] = "000102030405060708090a0b0c0d0e0f";
const char SP800_PLAIN[] = "6bc1bee22e409f96e93d7e117393172a"
                           "ae2d8a571e03ac9c9eb76fac45af8e51"
                           "30c81c46a35ce411e5fbc1191a0a52ef"
                           "f69f2445df4f9b17ad2b417be66c3710";
const char SP800_CIPHER[] = "7649abac8119b246cee98e9b12e9197d"
                            "5086cb9b507219ee95db113a917678b2"
                            "73bed6b8e3c1743b7116e69e22229516"
                            "3ff1caa1681fac09120eca307586e1a7";

} // namespace

class TestFrameCipher : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void fips197AppendixC1();
    void sp800CbcEncrypt();
    void sp800CbcDecrypt();
    void matchesOpenSslOnRandomFrames();
    void eachCallStartsFromZeroChain();
    void callsDoNotLeakIntoEachOther();
    void errorPropagation();
    void lengthZeroTouchesNothing();
    void partialBlockIsProcessedWhole();
    void onlyLowSixteenBitsOfLengthCount();
};

void TestFrameCipher::cleanup()
{
    FrameCipher::setKey(FRAME_KEY);
}

void TestFrameCipher::fips197AppendixC1()
{
    const QByteArray key = hex("000102030405060708090a0b0c0d0e0f");
    FrameCipher::setKey(reinterpret_cast<const std::uint8_t *>(key.constData()));
    QByteArray block = hex("00112233445566778899aabbccddeeff");
    FrameCipher::encrypt(bytes(block), 16);
    QCOMPARE(block.toHex(), QByteArray("69c4e0d86a7b0430d8cdb78070b4c55a"));
    FrameCipher::decrypt(bytes(block), 16);
    QCOMPARE(block.toHex(), QByteArray("00112233445566778899aabbccddeeff"));
}

void TestFrameCipher::sp800CbcEncrypt()
{
    const QByteArray key = hex(SP800_KEY);
    FrameCipher::setKey(reinterpret_cast<const std::uint8_t *>(key.constData()));
    // The vectors' IV is not zero: CBC XORs it into the first plaintext block.
    QByteArray data = hex(SP800_PLAIN);
    xorInto(data, hex(SP800_IV));
    FrameCipher::encrypt(bytes(data), data.size());
    QCOMPARE(data.toHex(), QByteArray(SP800_CIPHER));
}

void TestFrameCipher::sp800CbcDecrypt()
{
    const QByteArray key = hex(SP800_KEY);
    FrameCipher::setKey(reinterpret_cast<const std::uint8_t *>(key.constData()));
    QByteArray data = hex(SP800_CIPHER);
    FrameCipher::decrypt(bytes(data), data.size());
    xorInto(data, hex(SP800_IV));
    QCOMPARE(data.toHex(), QByteArray(SP800_PLAIN));
}

void TestFrameCipher::matchesOpenSslOnRandomFrames()
{
    FrameCipher::setKey(FRAME_KEY);
    QRandomGenerator random(20261207);
    for (int n = 0; n < 2000; ++n) {
        QByteArray frame(64, '\0');
        random.fillRange(reinterpret_cast<quint32 *>(frame.data()), 16);
        QByteArray ours = frame;
        FrameCipher::encrypt(bytes(ours), 64);
        QCOMPARE(ours, opensslCbc(FRAME_KEY, frame, true));
        QByteArray back = frame;
        FrameCipher::decrypt(bytes(back), 64);
        QCOMPARE(back, opensslCbc(FRAME_KEY, frame, false));
        FrameCipher::decrypt(bytes(ours), 64);
        QCOMPARE(ours, frame);
    }
}

void TestFrameCipher::eachCallStartsFromZeroChain()
{
    QByteArray first(64, 'x');
    QByteArray second(64, 'x');
    FrameCipher::encrypt(bytes(first), 64);
    FrameCipher::encrypt(bytes(second), 64);
    QCOMPARE(first, second);
}

void TestFrameCipher::callsDoNotLeakIntoEachOther()
{
    const QByteArray plain =
        QByteArray("a device frame of sixty-four bytes, give or take a few").leftJustified(64, '.');
    QByteArray alone = plain;
    FrameCipher::encrypt(bytes(alone), 64);

    QByteArray other = plain;
    FrameCipher::decrypt(bytes(other), 64);
    QByteArray afterDecrypt = plain;
    FrameCipher::encrypt(bytes(afterDecrypt), 64);
    QCOMPARE(afterDecrypt, alone);

    QByteArray decryptedAlone = alone;
    FrameCipher::decrypt(bytes(decryptedAlone), 64);
    QCOMPARE(decryptedAlone, plain);
}

void TestFrameCipher::errorPropagation()
{
    QByteArray plain(64, '\0');
    for (int i = 0; i < 64; ++i)
        plain[i] = char(i);
    QByteArray cipher = plain;
    FrameCipher::encrypt(bytes(cipher), 64);

    const int k = 1;
    const int position = 5;
    const char delta = 0x5A;
    cipher[16 * k + position] = char(cipher.at(16 * k + position) ^ delta);
    FrameCipher::decrypt(bytes(cipher), 64);

    QCOMPARE(cipher.mid(0, 16), plain.mid(0, 16));
    QVERIFY(cipher.mid(16 * k, 16) != plain.mid(16 * k, 16));
    int changed = 0;
    for (int i = 0; i < 16; ++i)
        changed += cipher.at(16 * k + i) != plain.at(16 * k + i);
    QVERIFY2(changed >= 12, "a changed ciphertext byte garbles its whole block");
    for (int i = 0; i < 16; ++i) {
        const char expected = i == position ? char(plain.at(32 + i) ^ delta) : plain.at(32 + i);
        QCOMPARE(cipher.at(32 + i), expected);
    }
    QCOMPARE(cipher.mid(48, 16), plain.mid(48, 16));
}

void TestFrameCipher::lengthZeroTouchesNothing()
{
    QByteArray data(32, '\x11');
    FrameCipher::encrypt(bytes(data), 0);
    QCOMPARE(data, QByteArray(32, '\x11'));
    FrameCipher::decrypt(bytes(data), 0);
    QCOMPARE(data, QByteArray(32, '\x11'));
}

void TestFrameCipher::partialBlockIsProcessedWhole()
{
    QByteArray data(48, '\x22');
    QByteArray twoBlocks(32, '\x22');
    FrameCipher::encrypt(bytes(data), 17);
    FrameCipher::encrypt(bytes(twoBlocks), 32);
    QCOMPARE(data.left(32), twoBlocks);
    QCOMPARE(data.mid(32), QByteArray(16, '\x22'));
    FrameCipher::decrypt(bytes(data), 17);
    QCOMPARE(data, QByteArray(48, '\x22'));
}

void TestFrameCipher::onlyLowSixteenBitsOfLengthCount()
{
    // 0x10040 counts as 0x40: four blocks, and nothing past them.
    QByteArray data(80, '\x33');
    QByteArray reference(64, '\x33');
    FrameCipher::encrypt(bytes(data), 0x10040);
    FrameCipher::encrypt(bytes(reference), 64);
    QCOMPARE(data.left(64), reference);
    QCOMPARE(data.mid(64), QByteArray(16, '\x33'));

    // The largest count rounds up to 4096 blocks and stops there.
    QByteArray large(65536 + 16, '\x44');
    FrameCipher::encrypt(bytes(large), 0xFFFF);
    QCOMPARE(large.mid(65536), QByteArray(16, '\x44'));
    FrameCipher::decrypt(bytes(large), 0xFFFF);
    QCOMPARE(large, QByteArray(65536 + 16, '\x44'));
}

QTEST_APPLESS_MAIN(TestFrameCipher)
#include "tst_framecipher.moc"
