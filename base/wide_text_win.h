// UTF-8, the program's text, as UTF-16 for the length of one Win32 call and
// back. Only ui/ sees wide text. Invalid UTF-8 and lone surrogates become
// U+FFFD.
#pragma once

#include <cstddef>
#include <string>

// A null text gives the empty one.
std::wstring ToWide(const char* text);
// The first size bytes of the text.
std::wstring ToWide(const char* text, size_t size);
// length < 0: up to the terminator.
std::string ToUtf8(const wchar_t* text, int length = -1);
// The UTF-8 of length UTF-16 units of text (to its end when negative)
// appended to out.
void AppendAsUtf8(const wchar_t* text, int length, std::string* out);

// Copies the text as UTF-8 into buffer (bufferSize bytes), cut on a
// character boundary to fit, always terminated. Returns the bytes copied.
size_t CopyAsUtf8(const wchar_t* text, int length, char* buffer, size_t bufferSize);
// The same for a UTF-8 text already at hand.
size_t CopyUtf8(const std::string& text, char* buffer, size_t bufferSize);
