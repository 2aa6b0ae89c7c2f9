#include "framecipher.h"

#include <cstddef>

namespace {

using u8 = std::uint8_t;
using u32 = std::uint32_t;

constexpr u8 xtime(u8 b)
{
    return u8((b << 1) ^ ((b & 0x80) ? 0x1B : 0x00));
}

constexpr u8 rotl8(u8 b, int n)
{
    return u8((b << n) | (b >> (8 - n)));
}

constexpr u8 gmul(u8 a, u8 b)
{
    u8 product = 0;
    while (b) {
        if (b & 1)
            product ^= a;
        a = xtime(a);
        b >>= 1;
    }
    return product;
}

constexpr u32 rotr32(u32 w, int n)
{
    return (w >> n) | (w << (32 - n));
}

struct Tables
{
    u8 sbox[256] = {};
    u8 invSbox[256] = {};
    // Round tables: SubBytes and MixColumns (or their inverses) of one byte,
    // rotated by 0, 8, 16 and 24 bits.
    u32 te[4][256] = {};
    u32 td[4][256] = {};
};

// Built once, by the compiler: logarithms with generator 3, the S-box as the
// multiplicative inverse followed by the affine map, and the inverse S-box by
// scanning the S-box.
constexpr Tables buildTables()
{
    u8 log[256] = {};
    u8 antilog[256] = {};
    antilog[0] = 1;
    log[1] = 0;
    u8 x = 1;
    for (int d = 1;; ++d) {
        x = u8(x ^ xtime(x));
        if (x == 1)
            break;
        antilog[d] = x;
        log[x] = u8(d);
    }
    antilog[255] = antilog[0];

    Tables t;
    t.sbox[0] = 0x63;
    for (int i = 1; i < 256; ++i) {
        const u8 b = antilog[255 - log[i]];
        t.sbox[i] = u8(b ^ rotl8(b, 1) ^ rotl8(b, 2) ^ rotl8(b, 3) ^ rotl8(b, 4) ^ 0x63);
    }
    for (int v = 0; v < 256; ++v) {
        for (int a = 0; a < 256; ++a) {
            if (t.sbox[a] == v) {
                t.invSbox[v] = u8(a);
                break;
            }
        }
    }
    for (int i = 0; i < 256; ++i) {
        const u8 s = t.sbox[i];
        const u32 e = (u32(gmul(s, 2)) << 24) | (u32(s) << 16) | (u32(s) << 8) | gmul(s, 3);
        const u8 v = t.invSbox[i];
        const u32 d = (u32(gmul(v, 14)) << 24) | (u32(gmul(v, 9)) << 16) | (u32(gmul(v, 13)) << 8) |
                      gmul(v, 11);
        for (int r = 0; r < 4; ++r) {
            t.te[r][i] = r ? rotr32(e, 8 * r) : e;
            t.td[r][i] = r ? rotr32(d, 8 * r) : d;
        }
    }
    return t;
}

constexpr Tables T = buildTables();

constexpr int ROUNDS = 10;
constexpr int SCHEDULE_WORDS = 4 * (ROUNDS + 1);

struct KeySchedule
{
    u8 key[16] = {};
    u32 enc[SCHEDULE_WORDS] = {};
    // Round keys of the equivalent inverse cipher: reversed, with
    // InvMixColumns applied to rounds 1 to 9. Decrypts to the same bytes as
    // the direct inverse cipher.
    u32 dec[SCHEDULE_WORDS] = {};
};

constexpr u32 load32(const u8 *p)
{
    return (u32(p[0]) << 24) | (u32(p[1]) << 16) | (u32(p[2]) << 8) | u32(p[3]);
}

inline void store32(u8 *p, u32 w)
{
    p[0] = u8(w >> 24);
    p[1] = u8(w >> 16);
    p[2] = u8(w >> 8);
    p[3] = u8(w);
}

constexpr u32 subWord(u32 w)
{
    return (u32(T.sbox[w >> 24]) << 24) | (u32(T.sbox[(w >> 16) & 0xFF]) << 16) |
           (u32(T.sbox[(w >> 8) & 0xFF]) << 8) | u32(T.sbox[w & 0xFF]);
}

constexpr KeySchedule buildSchedule(const u8 *key)
{
    KeySchedule s;
    for (int i = 0; i < 16; ++i)
        s.key[i] = key[i];
    u32 *w = s.enc;
    for (int i = 0; i < 4; ++i)
        w[i] = load32(s.key + 4 * i);
    u8 rcon = 0x01;
    for (int i = 4; i < SCHEDULE_WORDS; ++i) {
        u32 temp = w[i - 1];
        if (i % 4 == 0) {
            temp = subWord((temp << 8) | (temp >> 24)) ^ (u32(rcon) << 24);
            rcon = xtime(rcon);
        }
        w[i] = w[i - 4] ^ temp;
    }

    u32 *d = s.dec;
    for (int r = 0; r <= ROUNDS; ++r) {
        for (int c = 0; c < 4; ++c) {
            const u32 k = w[4 * (ROUNDS - r) + c];
            if (r == 0 || r == ROUNDS) {
                d[4 * r + c] = k;
            } else {
                d[4 * r + c] = T.td[0][T.sbox[k >> 24]] ^ T.td[1][T.sbox[(k >> 16) & 0xFF]] ^
                               T.td[2][T.sbox[(k >> 8) & 0xFF]] ^ T.td[3][T.sbox[k & 0xFF]];
            }
        }
    }
    return s;
}

constexpr u8 ZERO_KEY[16] = {};

// All zero until setKey; constant-initialised, so usable before any other
// static initialiser runs.
KeySchedule schedule = buildSchedule(ZERO_KEY);

void encryptBlock(const u32 *rk, u8 *block)
{
    u32 s0 = load32(block) ^ rk[0];
    u32 s1 = load32(block + 4) ^ rk[1];
    u32 s2 = load32(block + 8) ^ rk[2];
    u32 s3 = load32(block + 12) ^ rk[3];
    for (int r = 1; r < ROUNDS; ++r) {
        rk += 4;
        const u32 t0 = T.te[0][s0 >> 24] ^ T.te[1][(s1 >> 16) & 0xFF] ^ T.te[2][(s2 >> 8) & 0xFF] ^
                       T.te[3][s3 & 0xFF] ^ rk[0];
        const u32 t1 = T.te[0][s1 >> 24] ^ T.te[1][(s2 >> 16) & 0xFF] ^ T.te[2][(s3 >> 8) & 0xFF] ^
                       T.te[3][s0 & 0xFF] ^ rk[1];
        const u32 t2 = T.te[0][s2 >> 24] ^ T.te[1][(s3 >> 16) & 0xFF] ^ T.te[2][(s0 >> 8) & 0xFF] ^
                       T.te[3][s1 & 0xFF] ^ rk[2];
        const u32 t3 = T.te[0][s3 >> 24] ^ T.te[1][(s0 >> 16) & 0xFF] ^ T.te[2][(s1 >> 8) & 0xFF] ^
                       T.te[3][s2 & 0xFF] ^ rk[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    rk += 4;
    const u8 *S = T.sbox;
    auto last = [S](u32 a, u32 b, u32 c, u32 d) {
        return (u32(S[a >> 24]) << 24) | (u32(S[(b >> 16) & 0xFF]) << 16) |
               (u32(S[(c >> 8) & 0xFF]) << 8) | u32(S[d & 0xFF]);
    };
    store32(block, last(s0, s1, s2, s3) ^ rk[0]);
    store32(block + 4, last(s1, s2, s3, s0) ^ rk[1]);
    store32(block + 8, last(s2, s3, s0, s1) ^ rk[2]);
    store32(block + 12, last(s3, s0, s1, s2) ^ rk[3]);
}

void decryptBlock(const u32 *rk, u8 *block)
{
    u32 s0 = load32(block) ^ rk[0];
    u32 s1 = load32(block + 4) ^ rk[1];
    u32 s2 = load32(block + 8) ^ rk[2];
    u32 s3 = load32(block + 12) ^ rk[3];
    for (int r = 1; r < ROUNDS; ++r) {
        rk += 4;
        const u32 t0 = T.td[0][s0 >> 24] ^ T.td[1][(s3 >> 16) & 0xFF] ^ T.td[2][(s2 >> 8) & 0xFF] ^
                       T.td[3][s1 & 0xFF] ^ rk[0];
        const u32 t1 = T.td[0][s1 >> 24] ^ T.td[1][(s0 >> 16) & 0xFF] ^ T.td[2][(s3 >> 8) & 0xFF] ^
                       T.td[3][s2 & 0xFF] ^ rk[1];
        const u32 t2 = T.td[0][s2 >> 24] ^ T.td[1][(s1 >> 16) & 0xFF] ^ T.td[2][(s0 >> 8) & 0xFF] ^
                       T.td[3][s3 & 0xFF] ^ rk[2];
        const u32 t3 = T.td[0][s3 >> 24] ^ T.td[1][(s2 >> 16) & 0xFF] ^ T.td[2][(s1 >> 8) & 0xFF] ^
                       T.td[3][s0 & 0xFF] ^ rk[3];
        s0 = t0;
        s1 = t1;
        s2 = t2;
        s3 = t3;
    }
    rk += 4;
    const u8 *IS = T.invSbox;
    auto last = [IS](u32 a, u32 b, u32 c, u32 d) {
        return (u32(IS[a >> 24]) << 24) | (u32(IS[(b >> 16) & 0xFF]) << 16) |
               (u32(IS[(c >> 8) & 0xFF]) << 8) | u32(IS[d & 0xFF]);
    };
    store32(block, last(s0, s3, s2, s1) ^ rk[0]);
    store32(block + 4, last(s1, s0, s3, s2) ^ rk[1]);
    store32(block + 8, last(s2, s1, s0, s3) ^ rk[2]);
    store32(block + 12, last(s3, s2, s1, s0) ^ rk[3]);
}

// Only the low 16 bits of a length count; a counter wider than that can
// neither wrap nor run past the rounded-up length.
std::size_t blockCount(int length)
{
    const std::size_t bytes = std::size_t(unsigned(length) & 0xFFFFu);
    return (bytes + 15) / 16;
}

} // namespace

namespace FrameCipher {

void setKey(const std::uint8_t *key)
{
    schedule = buildSchedule(key);
}

void encrypt(std::uint8_t *data, int length)
{
    const u32 *rk = schedule.enc;
    u8 chain[16] = {};
    const std::size_t blocks = blockCount(length);
    for (std::size_t b = 0; b < blocks; ++b, data += 16) {
        for (int i = 0; i < 16; ++i)
            data[i] ^= chain[i];
        encryptBlock(rk, data);
        for (int i = 0; i < 16; ++i)
            chain[i] = data[i];
    }
}

void decrypt(std::uint8_t *data, int length)
{
    const u32 *rk = schedule.dec;
    u8 chain[16] = {};
    const std::size_t blocks = blockCount(length);
    for (std::size_t b = 0; b < blocks; ++b, data += 16) {
        u8 cipherText[16];
        for (int i = 0; i < 16; ++i)
            cipherText[i] = data[i];
        decryptBlock(rk, data);
        for (int i = 0; i < 16; ++i) {
            data[i] ^= chain[i];
            chain[i] = cipherText[i];
        }
    }
}

} // namespace FrameCipher
