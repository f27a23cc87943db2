// UTF-8, the program's text, as UTF-16 for the length of one Win32 call and
// back. Only ui/ sees wide text. Invalid UTF-8 and lone surrogates become
// U+FFFD.
#pragma once

#include <string>

// A null text gives the empty one.
std::wstring ToWide(const char* text);
// length < 0: up to the terminator.
std::string ToUtf8(const wchar_t* text, int length = -1);
