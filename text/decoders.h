#pragma once
#include <cstddef>
#include <cstdint>

// The encodings a recorder writes the texts of its track index in.
enum class TextEncoding {
    WINDOWS_1252,  // one byte per character
    CP932,         // Shift-JIS as Windows code page 932: one or two bytes per character
    UTF16BE,       // UTF-16 big-endian, surrogate pairs for characters past U+FFFF
};

// The character of a Windows-1252 byte. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control
// characters of the same value.
char32_t Windows1252CodePoint(uint8_t b);

// Converts the Windows-1252 text[0, n) to UTF-8 in out (size bytes, size >
// 0), cut on a character boundary where it does not fit, and terminated.
// Returns the bytes written.
size_t Windows1252ToUtf8(const char* text, size_t n, char* out, size_t size);

// Code page 932: lead bytes begin a two-byte character, trail bytes may end one.
inline bool IsCp932Lead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
inline bool IsCp932Trail(uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }

// The character of a byte that stands alone in code page 932: ASCII (0x5C
// is the backslash, 0x7E the tilde), the half-width katakana 0xA1..0xDF, and
// U+FFFD for every byte that is no character on its own.
char32_t Cp932SingleByte(uint8_t b);

// The character of a lead and a trail byte, U+FFFD when the pair is none.
char32_t Cp932Pair(uint8_t lead, uint8_t trail);

// Decodes a byte stream in one encoding into characters, byte by byte.
// Whatever has no character becomes U+FFFD and never takes a character that
// follows it along: a CP932 lead byte without a trail byte, a pair with no
// character, a UTF-16 surrogate without its other half.
class TextDecoder {
public:
    static constexpr size_t MAX_CHARS_PER_BYTE = 2;

    explicit TextDecoder(TextEncoding encoding) : encoding_(encoding) {}

    // Takes the next byte; writes the characters it completes to out and
    // returns their count (0 to 2).
    size_t Feed(uint8_t b, char32_t out[MAX_CHARS_PER_BYTE]);

    // At the end of the stream: U+FFFD for a character left unfinished (0 or
    // 1 written). A last odd byte of a UTF-16 stream is padding and gives
    // nothing.
    size_t Finish(char32_t out[MAX_CHARS_PER_BYTE]);

private:
    size_t FeedCp932(uint8_t b, char32_t out[MAX_CHARS_PER_BYTE]);
    size_t FeedUtf16(uint8_t b, char32_t out[MAX_CHARS_PER_BYTE]);

    TextEncoding encoding_;
    uint8_t lead_ = 0;          // CP932: a lead byte waiting for its trail
    bool hasHighByte_ = false;  // UTF-16: the first byte of a unit has come
    uint8_t highByte_ = 0;
    uint16_t highSurrogate_ = 0;  // UTF-16: a high surrogate waiting for its low one
};
