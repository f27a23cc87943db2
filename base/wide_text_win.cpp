#include "base/wide_text_win.h"

#include <windows.h>

#include <climits>
#include <cstring>

#include "text/utf8.h"

std::wstring ToWide(const char* text) { return ToWide(text, text != nullptr ? std::strlen(text) : 0); }

std::wstring ToWide(const char* text, size_t size) {
    if (text == nullptr || size == 0 || size > INT_MAX) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, int(size), nullptr, 0);
    std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text, int(size), wide.data(), n);
    return wide;
}

std::string ToUtf8(const wchar_t* text, int length) {
    std::string out;
    AppendAsUtf8(text, length, &out);
    return out;
}

// Converted straight into the room after the text's end: a UTF-16 unit
// takes at most three bytes of UTF-8 (a surrogate pair, two units, four).
void AppendAsUtf8(const wchar_t* text, int length, std::string* out) {
    if (text == nullptr) return;
    if (length < 0) {
        const size_t size = std::wcslen(text);
        if (size > INT_MAX / 3) return;
        length = int(size);
    }
    if (length == 0 || length > INT_MAX / 3) return;
    const size_t at = out->size();
    out->resize(at + size_t(length) * 3);
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, out->data() + at, length * 3, nullptr, nullptr);
    out->resize(at + size_t(n > 0 ? n : 0));
}

// Cut on a character boundary, as every text of the program is.
size_t CopyUtf8(const std::string& text, char* buffer, size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return 0;
    const size_t n = Utf8CutLength(text.data(), text.size(), bufferSize - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

size_t CopyAsUtf8(const wchar_t* text, int length, char* buffer, size_t bufferSize) {
    return CopyUtf8(ToUtf8(text, length), buffer, bufferSize);
}
