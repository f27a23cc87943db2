#include "text/utf8.h"

#include <cstdint>
#include <cstring>

namespace {

// True when the eight bytes at p are all ASCII.
bool AreEightAscii(const unsigned char* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080u) == 0;
}

// Bytes of the character that begins at p, of which left bytes belong to
// the text: the length its lead byte names when its continuation bytes
// follow, 1 for a byte that begins no whole sequence.
size_t CharLength(const unsigned char* p, size_t left) {
    const unsigned char c = p[0];
    const size_t length = c < 0xC2 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF5 ? 4 : 1;
    for (size_t k = 1; k < length; ++k)
        if (k == left || !IsUtf8Continuation(p[k])) return 1;
    return length;
}

}  // namespace

size_t EncodeUtf8(char32_t cp, char out[UTF8_MAX_CHAR_BYTES]) {
    if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = REPLACEMENT_CHARACTER;
    if (cp < 0x80) {
        out[0] = char(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = char(0xC0 | cp >> 6);
        out[1] = char(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = char(0xE0 | cp >> 12);
        out[1] = char(0x80 | (cp >> 6 & 0x3F));
        out[2] = char(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = char(0xF0 | cp >> 18);
    out[1] = char(0x80 | (cp >> 12 & 0x3F));
    out[2] = char(0x80 | (cp >> 6 & 0x3F));
    out[3] = char(0x80 | (cp & 0x3F));
    return 4;
}

// ASCII bytes, the most common, are taken eight at a time where they fit,
// and one by one without looking further.
size_t Utf8CutLength(const char* text, size_t n, size_t maxBytes, size_t maxChars, size_t* chars) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const size_t limit = n < maxBytes ? n : maxBytes;
    size_t at = 0, count = 0;
    while (limit - at >= 8 && maxChars - count >= 8 && AreEightAscii(p + at)) {
        at += 8;
        count += 8;
    }
    for (; at < limit && count < maxChars; ++count) {
        if (p[at] < 0x80) {
            ++at;
            continue;
        }
        const size_t length = CharLength(p + at, n - at);
        if (length > limit - at) break;
        at += length;
    }
    if (chars) *chars = count;
    return at;
}

size_t CountUtf8Chars(const char* text, size_t n) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    size_t chars = 0;
    for (size_t at = 0; at < n; ++chars) at += p[at] < 0x80 ? 1 : CharLength(p + at, n - at);
    return chars;
}

bool IsValidUtf8(const char* text, size_t n) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    for (size_t at = 0; at < n;) {
        const unsigned char c = p[at];
        if (c < 0x80) {
            ++at;
            continue;
        }
        const size_t length = CharLength(p + at, n - at);
        if (length == 1 || length > n - at) return false;
        // The second byte's range rules out overlong forms, surrogates and
        // code points past U+10FFFF.
        const unsigned char second = p[at + 1];
        if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second > 0x9F) || (c == 0xF0 && second < 0x90) ||
            (c == 0xF4 && second > 0x8F))
            return false;
        at += length;
    }
    return true;
}
