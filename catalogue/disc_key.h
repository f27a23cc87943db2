// The key a disc is stored under: its identity, or where it has none, a
// hash of its index image. Both are 32 lower-case hexadecimal digits.
#pragma once
#include <cstddef>
#include <cstdint>

#include "index/disc_identity.h"

inline constexpr size_t DISC_KEY_SIZE = DISC_IDENTITY_TEXT_SIZE;  // digits and terminator
inline constexpr size_t DISC_KEY_PREFIX_MIN = 8;  // fewest digits that name a disc

// 128-bit FNV-1a of bytes, for keys and content checks (not for secrets).
struct Hash128 {
    uint64_t high, low;
};
Hash128 HashBytes(const void* bytes, size_t n, Hash128 seed);
Hash128 HashStart();
// 32 lower-case hexadecimal digits and the terminator into out.
void FormatHash128(Hash128 hash, char out[DISC_KEY_SIZE]);

// The disc's identity as its key; false when the identity is not known.
bool DiscKeyFromIdentity(const DiscIdentity& identity, char out[DISC_KEY_SIZE]);
// The key of a disc without identity: the hash of its whole index image.
void DiscKeyFromImage(const uint8_t* image, size_t n, char out[DISC_KEY_SIZE]);
// Whether text is a whole key: DISC_KEY_SIZE - 1 lower-case hexadecimal digits.
bool IsDiscKey(const char* text);
