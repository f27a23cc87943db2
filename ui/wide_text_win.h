// UTF-8, the program's text inside, and UTF-16, the text of the W functions
// of Win32: converted here and only for the length of a call.
#pragma once

#include <string>

// Invalid UTF-8 becomes U+FFFD.
std::wstring WideFromUtf8(const std::string& text);
// length: in wide characters. An unpaired surrogate becomes U+FFFD.
std::string Utf8FromWide(const wchar_t* text, size_t length);
