#pragma once
#include <cstddef>
#include <cstdint>

// The identity a recorder writes into each disc's MCLISTnn.HMA: 16 bytes,
// different on every disc (the first twelve are often shared by the discs
// of one recorder, so all 16 count).
inline constexpr size_t DISC_IDENTITY_SIZE = 16;
// Room for 32 lower-case hexadecimal digits and the terminator.
inline constexpr size_t DISC_IDENTITY_TEXT_SIZE = 2 * DISC_IDENTITY_SIZE + 1;

struct DiscIdentity {
    bool isKnown;  // false: the disc has none (no MCLIST file, or a short one)
    uint8_t bytes[DISC_IDENTITY_SIZE];
};

// Writes the identity as 32 lower-case hexadecimal digits; "" when it is
// not known. out holds at least DISC_IDENTITY_TEXT_SIZE bytes.
void FormatDiscIdentity(const DiscIdentity& identity, char* out);
