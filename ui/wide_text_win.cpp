#include "ui/wide_text_win.h"

#include <windows.h>

#include <climits>
#include <cstring>

std::wstring ToWide(const char* text) {
    if (text == nullptr) return std::wstring();
    const size_t size = std::strlen(text);
    if (size == 0 || size > INT_MAX) return std::wstring();
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, int(size), nullptr, 0);
    std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text, int(size), wide.data(), n);
    return wide;
}

std::string ToUtf8(const wchar_t* text, int length) {
    if (text == nullptr) return std::string();
    if (length < 0) {
        const size_t size = std::wcslen(text);
        if (size > INT_MAX) return std::string();
        length = int(size);
    }
    if (length == 0) return std::string();
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), n, nullptr, nullptr);
    return out;
}
