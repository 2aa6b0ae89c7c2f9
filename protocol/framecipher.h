#pragma once

#include <cstdint>

// AES-128 (FIPS-197) in CBC mode over device frames. Every call starts from an
// all-zero chaining value and works in place on whole 16-byte blocks: a
// trailing partial block is processed as a whole block, so the buffer must
// hold the length rounded up to a multiple of 16. Only the low 16 bits of the
// length count.
//
// The key schedule is kept in static storage and written only by setKey, so
// the functions are not reentrant while a key is being set; encrypt and
// decrypt themselves only read shared state.
namespace FrameCipher {

void setKey(const std::uint8_t *key);
void encrypt(std::uint8_t *data, int length);
void decrypt(std::uint8_t *data, int length);

} // namespace FrameCipher
