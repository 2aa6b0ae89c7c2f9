// Cost of encrypting and decrypting one 64-byte frame with our cipher and with
// OpenSSL's AES-128-CBC, measured in the same run; the ratio is the figure.
#include "framecipher.h"
#include "protocolconstants.h"

#include <openssl/evp.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

// Best of several rounds, in nanoseconds per frame.
double measure(const std::function<void(std::uint8_t *)> &operation)
{
    std::uint8_t frame[FRAME_SIZE];
    for (int i = 0; i < FRAME_SIZE; ++i)
        frame[i] = std::uint8_t(i * 13 + 1);
    constexpr int perRound = 200000;
    double best = 1e30;
    for (int round = 0; round < 7; ++round) {
        const auto start = Clock::now();
        for (int i = 0; i < perRound; ++i)
            operation(frame);
        const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
        best = std::min(best, spent.count() / perRound);
    }
    volatile std::uint8_t sink = frame[0];
    (void)sink;
    return best;
}

void openssl(EVP_CIPHER_CTX *ctx, std::uint8_t *frame, int encrypt)
{
    static const std::uint8_t iv[16] = {};
    int written = 0;
    EVP_CipherInit_ex(ctx, nullptr, nullptr, nullptr, iv, encrypt);
    EVP_CipherUpdate(ctx, frame, &written, frame, FRAME_SIZE);
}

} // namespace

int main()
{
    FrameCipher::setKey(FRAME_KEY);
    EVP_CIPHER_CTX *enc = EVP_CIPHER_CTX_new();
    EVP_CIPHER_CTX *dec = EVP_CIPHER_CTX_new();
    EVP_CipherInit_ex(enc, EVP_aes_128_cbc(), nullptr, FRAME_KEY, nullptr, 1);
    EVP_CipherInit_ex(dec, EVP_aes_128_cbc(), nullptr, FRAME_KEY, nullptr, 0);
    EVP_CIPHER_CTX_set_padding(enc, 0);
    EVP_CIPHER_CTX_set_padding(dec, 0);

    const double ourEnc = measure([](std::uint8_t *f) { FrameCipher::encrypt(f, FRAME_SIZE); });
    const double ourDec = measure([](std::uint8_t *f) { FrameCipher::decrypt(f, FRAME_SIZE); });
    const double sslEnc = measure([enc](std::uint8_t *f) { openssl(enc, f, 1); });
    const double sslDec = measure([dec](std::uint8_t *f) { openssl(dec, f, 0); });
    EVP_CIPHER_CTX_free(enc);
    EVP_CIPHER_CTX_free(dec);

    std::printf("%-28s %10s %10s %8s\n", "64-byte frame", "ours ns", "OpenSSL ns", "ratio");
    std::printf("%-28s %10.1f %10.1f %8.2f\n", "encrypt", ourEnc, sslEnc, ourEnc / sslEnc);
    std::printf("%-28s %10.1f %10.1f %8.2f\n", "decrypt", ourDec, sslDec, ourDec / sslDec);
    std::printf("cipher: encrypt %.0f ns (%.2fx OpenSSL), decrypt %.0f ns (%.2fx OpenSSL)\n",
                ourEnc, ourEnc / sslEnc, ourDec, ourDec / sslDec);
    return 0;
}
