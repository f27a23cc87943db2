// tavolin-cp932-table: writes cp932_table.cpp, the two-byte characters of
// Windows code page 932, to standard output:
//
//   build/native/tools/tavolin-cp932-table > text/cp932_table.cpp
//
// The source is glibc's iconv converter "CP932" (Debian's libc6, no other
// package), which follows Microsoft's own table for the code page: the NEC
// row 13 and NEC-selected IBM extensions, the IBM extensions and the
// user-defined area (U+E000..U+E757). Every pair is asked alone from a fresh
// conversion state; a pair iconv refuses, or answers with anything but one
// character, is written as 0 (no character).
#include <iconv.h>

#include <cstdio>

#include "text/cp932_table.h"

namespace {

// The character iconv gives for the bytes, or 0.
char32_t Convert(iconv_t cd, const unsigned char* bytes, size_t n) {
    char in[2] = {char(bytes[0]), char(n > 1 ? bytes[1] : 0)};
    char32_t out[2] = {};
    char* inAt = in;
    char* outAt = reinterpret_cast<char*>(out);
    size_t inLeft = n, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (iconv(cd, &inAt, &inLeft, &outAt, &outLeft) == size_t(-1) || inLeft != 0) return 0;
    return outLeft == sizeof out - sizeof(char32_t) ? out[0] : 0;
}

}  // namespace

int main() {
    iconv_t cd = iconv_open("UTF-32LE", "CP932");
    if (cd == iconv_t(-1)) {
        std::perror("tavolin-cp932-table: iconv_open CP932");
        return 1;
    }
    std::printf(
        "// Written by tavolin-cp932-table (cp932_table_gen.cpp) from glibc's iconv\n"
        "// converter \"CP932\"; do not edit. Row: lead byte; column: trail byte\n"
        "// 0x40..0xFC; 0: no character.\n"
        "#include \"text/cp932_table.h\"\n\n"
        "// clang-format off\n"
        "const char16_t CP932_PAIRS[CP932_LEAD_ROWS][CP932_TRAIL_COLUMNS] = {\n");
    constexpr size_t PER_LINE = 12;
    for (unsigned lead = CP932_LEAD_LOW_FIRST; lead <= CP932_LEAD_HIGH_LAST; ++lead) {
        if (lead > CP932_LEAD_LOW_LAST && lead < CP932_LEAD_HIGH_FIRST) continue;
        std::printf("    {  // 0x%02X\n", lead);
        for (unsigned trail = CP932_TRAIL_FIRST; trail <= CP932_TRAIL_LAST; ++trail) {
            const unsigned char pair[2] = {(unsigned char)lead, (unsigned char)trail};
            const char32_t cp = Convert(cd, pair, 2);
            if (cp > 0xFFFF) {
                std::fprintf(stderr, "tavolin-cp932-table: 0x%02X%02X gives a character past U+FFFF\n", lead,
                             trail);
                return 1;
            }
            const size_t column = trail - CP932_TRAIL_FIRST;
            std::printf("%s0x%04X,%s", column % PER_LINE == 0 ? "        " : " ", unsigned(cp),
                        column % PER_LINE == PER_LINE - 1 || trail == CP932_TRAIL_LAST ? "\n" : "");
        }
        std::printf("    },\n");
    }
    std::printf("};\n// clang-format on\n");
    iconv_close(cd);
    return 0;
}
