#pragma once
#include <cstddef>
#include <cstdint>

// The two-byte characters of Windows code page 932 (Shift-JIS with the NEC
// and IBM extensions and the user-defined area), one row per lead byte
// 0x81..0x9F and 0xE0..0xFC, one column per trail byte 0x40..0xFC; 0 where
// the pair is no character. cp932_table.cpp is written by
// cp932_table_gen.cpp from glibc's iconv converter "CP932".
inline constexpr uint8_t CP932_LEAD_LOW_FIRST = 0x81;
inline constexpr uint8_t CP932_LEAD_LOW_LAST = 0x9F;
inline constexpr uint8_t CP932_LEAD_HIGH_FIRST = 0xE0;
inline constexpr uint8_t CP932_LEAD_HIGH_LAST = 0xFC;
inline constexpr size_t CP932_LEAD_LOW_ROWS = CP932_LEAD_LOW_LAST - CP932_LEAD_LOW_FIRST + 1;
inline constexpr size_t CP932_LEAD_ROWS =
    CP932_LEAD_LOW_ROWS + (CP932_LEAD_HIGH_LAST - CP932_LEAD_HIGH_FIRST + 1);
inline constexpr uint8_t CP932_TRAIL_FIRST = 0x40;
inline constexpr uint8_t CP932_TRAIL_LAST = 0xFC;
inline constexpr size_t CP932_TRAIL_COLUMNS = CP932_TRAIL_LAST - CP932_TRAIL_FIRST + 1;

extern const char16_t CP932_PAIRS[CP932_LEAD_ROWS][CP932_TRAIL_COLUMNS];
