#include "text/decoders.h"

#include <cstring>

#include "text/cp932_table.h"
#include "text/utf8.h"

namespace {

// Windows-1252 bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t WINDOWS_1252_HIGH[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr uint8_t KATAKANA_FIRST = 0xA1;
constexpr uint8_t KATAKANA_LAST = 0xDF;
constexpr char32_t KATAKANA_BASE = 0xFF61;  // U+FF61 is byte 0xA1

bool IsHighSurrogate(uint16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(uint16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

char32_t Windows1252CodePoint(uint8_t b) { return b >= 0x80 && b <= 0x9F ? WINDOWS_1252_HIGH[b - 0x80] : b; }

size_t Windows1252ToUtf8(const char* text, size_t n, char* out, size_t size) {
    size_t length = 0;
    for (size_t i = 0; i < n; ++i) {
        char bytes[UTF8_MAX_CHAR_BYTES];
        const size_t k = EncodeUtf8(Windows1252CodePoint(uint8_t(text[i])), bytes);
        if (k > size - 1 - length) break;
        std::memcpy(out + length, bytes, k);
        length += k;
    }
    out[length] = '\0';
    return length;
}

char32_t Cp932SingleByte(uint8_t b) {
    if (b < 0x80) return b;
    if (b >= KATAKANA_FIRST && b <= KATAKANA_LAST) return KATAKANA_BASE + (b - KATAKANA_FIRST);
    return REPLACEMENT_CHARACTER;
}

char32_t Cp932Pair(uint8_t lead, uint8_t trail) {
    if (!IsCp932Lead(lead) || trail < CP932_TRAIL_FIRST || trail > CP932_TRAIL_LAST)
        return REPLACEMENT_CHARACTER;
    const size_t row = lead <= CP932_LEAD_LOW_LAST ? lead - CP932_LEAD_LOW_FIRST
                                                   : CP932_LEAD_LOW_ROWS + (lead - CP932_LEAD_HIGH_FIRST);
    const char16_t cp = CP932_PAIRS[row][trail - CP932_TRAIL_FIRST];
    return cp != 0 ? cp : REPLACEMENT_CHARACTER;
}

size_t TextDecoder::Feed(uint8_t b, char32_t out[MAX_CHARS_PER_BYTE]) {
    switch (encoding_) {
    case TextEncoding::CP932: return FeedCp932(b, out);
    case TextEncoding::UTF16BE: return FeedUtf16(b, out);
    case TextEncoding::WINDOWS_1252: break;
    }
    out[0] = Windows1252CodePoint(b);
    return 1;
}

size_t TextDecoder::Finish(char32_t out[MAX_CHARS_PER_BYTE]) {
    const bool isUnfinished = lead_ != 0 || highSurrogate_ != 0;
    lead_ = 0;
    highSurrogate_ = 0;
    hasHighByte_ = false;
    if (!isUnfinished) return 0;
    out[0] = REPLACEMENT_CHARACTER;
    return 1;
}

// A byte that cannot trail the waiting lead byte is read on its own after
// the lead's U+FFFD, so an ASCII letter or a terminator is never swallowed.
size_t TextDecoder::FeedCp932(uint8_t b, char32_t out[MAX_CHARS_PER_BYTE]) {
    size_t n = 0;
    if (lead_ != 0) {
        const uint8_t lead = lead_;
        lead_ = 0;
        if (IsCp932Trail(b)) {
            out[0] = Cp932Pair(lead, b);
            return 1;
        }
        out[n++] = REPLACEMENT_CHARACTER;
    }
    if (IsCp932Lead(b)) {
        lead_ = b;
    } else {
        out[n++] = Cp932SingleByte(b);
    }
    return n;
}

size_t TextDecoder::FeedUtf16(uint8_t b, char32_t out[MAX_CHARS_PER_BYTE]) {
    if (!hasHighByte_) {
        highByte_ = b;
        hasHighByte_ = true;
        return 0;
    }
    hasHighByte_ = false;
    const uint16_t unit = uint16_t(highByte_ << 8 | b);
    size_t n = 0;
    if (highSurrogate_ != 0) {
        const uint16_t high = highSurrogate_;
        highSurrogate_ = 0;
        if (IsLowSurrogate(unit)) {
            out[0] = 0x10000 + (char32_t(high - 0xD800) << 10) + (unit - 0xDC00);
            return 1;
        }
        out[n++] = REPLACEMENT_CHARACTER;
    }
    if (IsHighSurrogate(unit)) {
        highSurrogate_ = unit;
    } else {
        out[n++] = IsLowSurrogate(unit) ? REPLACEMENT_CHARACTER : char32_t(unit);
    }
    return n;
}
