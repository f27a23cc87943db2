#pragma once
#include <cstddef>
#include <cstdint>

// Splits a length in seconds into hours, minutes (0..59) and seconds (0..59);
// with round set, a fraction above one half rounds the seconds up.
void HmsSplit(float seconds, uint32_t& hours, uint32_t& minutes, uint32_t& secs, int round);

// Room for the longest length text, "4294967295h:59m:59s", and its terminator.
inline constexpr size_t HMS_TEXT_SIZE = 24;

// A length as every line shows it: hours and minutes only when not 0, the
// seconds always with two digits ("1h:2m:03s", "4m:00s", "07s"). Written
// into out (size bytes), cut to fit and terminated.
void FormatHms(float seconds, int round, char* out, size_t size);
