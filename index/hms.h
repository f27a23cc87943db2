#pragma once
#include <cstdint>

// Splits a length in seconds into hours, minutes (0..59) and seconds (0..59);
// with round set, a fraction above one half rounds the seconds up.
void HmsSplit(float seconds, uint32_t& hours, uint32_t& minutes, uint32_t& secs, int round);
