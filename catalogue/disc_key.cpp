#include "catalogue/disc_key.h"

#include <cstring>

// FNV-1a with the 128-bit parameters: offset basis
// 0x6c62272e07bb014262b821756295c58d, prime 2^88 + 0x13b. Multiplying by
// the prime is a shift and a small product, done in 64-bit halves so every
// compiler of both builds computes the same bits.
Hash128 HashStart() { return {0x6c62272e07bb0142ULL, 0x62b821756295c58dULL}; }

Hash128 HashBytes(const void* bytes, size_t n, Hash128 h) {
    const auto* p = static_cast<const uint8_t*>(bytes);
    constexpr uint64_t PRIME_LOW = 0x13b;
    constexpr unsigned PRIME_SHIFT = 88 - 64;  // 2^88 reaches only the high half
    for (size_t i = 0; i < n; ++i) {
        h.low ^= p[i];
        // (high, low) * 0x13b: low's product split in 32-bit halves for its carry.
        const uint64_t lowLo = (h.low & 0xffffffffULL) * PRIME_LOW;
        const uint64_t lowHi = (h.low >> 32) * PRIME_LOW;
        const uint64_t newLow = lowLo + (lowHi << 32);
        const uint64_t carry = (lowHi >> 32) + (newLow < lowLo ? 1 : 0);
        const uint64_t newHigh = h.high * PRIME_LOW + carry + (h.low << PRIME_SHIFT);
        h = {newHigh, newLow};
    }
    return h;
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
