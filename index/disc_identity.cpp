#include "index/disc_identity.h"

#include "index/track_index.h"

DiscIdentity ReadDiscIdentity(const uint8_t* bytes, size_t length) {
    DiscIdentity identity = {};
    const TrackIndexFile file = {bytes, length};
    if (bytes == nullptr || length < DISC_LIST_READ_SIZE) return identity;
    for (size_t i = 0; i < DISC_IDENTITY_SIZE; ++i)
        identity.bytes[i] = ImageByte(file, DISC_LIST_IDENTITY_OFFSET + i);
    identity.isKnown = true;
    return identity;
}

void FormatDiscIdentity(const DiscIdentity& identity, char* out) {
    static const char DIGITS[] = "0123456789abcdef";
    if (!identity.isKnown) {
        out[0] = '\0';
        return;
    }
    for (size_t i = 0; i < DISC_IDENTITY_SIZE; ++i) {
        out[2 * i] = DIGITS[identity.bytes[i] >> 4];
        out[2 * i + 1] = DIGITS[identity.bytes[i] & 0xF];
    }
    out[2 * DISC_IDENTITY_SIZE] = '\0';
}
