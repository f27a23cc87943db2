#pragma once
#include <cstddef>
#include <cstdint>

// The identity a recorder writes into each disc's MCLISTnn.HMA: 16 bytes,
// different on every disc (the first twelve are often shared by the discs
// of one recorder, so all 16 count).
inline constexpr size_t DISC_IDENTITY_SIZE = 16;
// Room for 32 lower-case hexadecimal digits and the terminator.
inline constexpr size_t DISC_IDENTITY_TEXT_SIZE = 2 * DISC_IDENTITY_SIZE + 1;

// Where the identity lies in MCLISTnn.HMA, and the most of that file read:
// a shorter file holds no identity.
inline constexpr size_t DISC_LIST_IDENTITY_OFFSET = 0x40;
inline constexpr size_t DISC_LIST_READ_SIZE = DISC_LIST_IDENTITY_OFFSET + DISC_IDENTITY_SIZE;

struct DiscIdentity {
    bool isKnown;  // false: the disc has none (no MCLIST file, or a short one)
    uint8_t bytes[DISC_IDENTITY_SIZE];
};

// The identity in the first length bytes of an MCLIST file (at most
// DISC_LIST_READ_SIZE of them are looked at); not known when they end
// before it does.
DiscIdentity ReadDiscIdentity(const uint8_t* bytes, size_t length);

// Writes the identity as 32 lower-case hexadecimal digits; "" when it is
// not known. out holds at least DISC_IDENTITY_TEXT_SIZE bytes.
void FormatDiscIdentity(const DiscIdentity& identity, char* out);
