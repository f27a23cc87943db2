#pragma once
#include <cstddef>
#include <cstdint>

// Texts inside the program are UTF-8. Buffers are sized in bytes; a limit
// that is a number of characters is named *_CHARS, and the buffer that holds
// that many characters of any kind is Utf8Size(chars) bytes.

inline constexpr size_t UTF8_MAX_CHAR_BYTES = 4;
inline constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

// Bytes that hold chars characters of any kind and a terminator.
constexpr size_t Utf8Size(size_t chars) { return chars * UTF8_MAX_CHAR_BYTES + 1; }

inline bool IsUtf8Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Writes the UTF-8 bytes of code point cp to out and returns their count
// (1 to 4). A surrogate or a value past U+10FFFF is written as U+FFFD.
size_t EncodeUtf8(char32_t cp, char out[UTF8_MAX_CHAR_BYTES]);

// The length of the longest start of text[0, n) that ends on a character
// boundary and holds at most maxBytes bytes and maxChars characters. A byte
// that begins no whole sequence counts as one character. When chars is
// given, it receives the characters of that start.
size_t Utf8CutLength(const char* text, size_t n, size_t maxBytes, size_t maxChars = SIZE_MAX,
                     size_t* chars = nullptr);

// The characters of text[0, n), counted as Utf8CutLength counts them.
size_t CountUtf8Chars(const char* text, size_t n);

// Whether text[0, n) is well-formed UTF-8: no stray or missing continuation
// byte, no overlong form, no surrogate, nothing past U+10FFFF.
bool IsValidUtf8(const char* text, size_t n);
