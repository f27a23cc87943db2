#include "catalogue/disc_key.h"

#include <cstring>

// FNV-1a with the 128-bit parameters: offset basis
// 0x6c62272e07bb014262b821756295c58d, prime 2^88 + 0x13b. Multiplying by
// the prime is a shift and a small product of unsigned 128-bit numbers,
// which both builds' compilers (GCC, MinGW-w64 GCC, Clang) compute modulo
// 2^128 alike; one product a byte, as a whole index image is hashed.
Hash128 HashStart() { return {0x6c62272e07bb0142ULL, 0x62b821756295c58dULL}; }

Hash128 HashBytes(const void* bytes, size_t n, Hash128 h) {
    using Wide = unsigned __int128;
    const auto* p = static_cast<const uint8_t*>(bytes);
    constexpr uint64_t PRIME_LOW = 0x13b;
    constexpr unsigned PRIME_SHIFT = 88;
    Wide v = Wide(h.high) << 64 | h.low;
    for (size_t i = 0; i < n; ++i) {
        v ^= p[i];
        v = v * PRIME_LOW + (v << PRIME_SHIFT);
    }
    return {uint64_t(v >> 64), uint64_t(v)};
}

void FormatHash128(Hash128 hash, char out[DISC_KEY_SIZE]) {
    static const char DIGITS[] = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) {
        out[i] = DIGITS[(hash.high >> (60 - 4 * i)) & 0xf];
        out[16 + i] = DIGITS[(hash.low >> (60 - 4 * i)) & 0xf];
    }
    out[32] = '\0';
}

bool DiscKeyFromIdentity(const DiscIdentity& identity, char out[DISC_KEY_SIZE]) {
    FormatDiscIdentity(identity, out);
    return identity.isKnown;
}

void DiscKeyFromImage(const uint8_t* image, size_t n, char out[DISC_KEY_SIZE]) {
    FormatHash128(HashBytes(image, n, HashStart()), out);
}

bool IsDiscKey(const char* text) {
    if (!text || std::strlen(text) != DISC_KEY_SIZE - 1) return false;
    for (const char* c = text; *c; ++c)
        if (!((*c >= '0' && *c <= '9') || (*c >= 'a' && *c <= 'f'))) return false;
    return true;
}
