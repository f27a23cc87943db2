#include "ui/wide_text_win.h"

#include <windows.h>

#include <climits>

std::wstring WideFromUtf8(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX) return std::wstring();
    const int size = int(text.size());
    const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, nullptr, 0);
    std::wstring wide(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), n);
    return wide;
}

std::string Utf8FromWide(const wchar_t* text, size_t length) {
    if (text == nullptr || length == 0 || length > INT_MAX) return std::string();
    const int size = int(length);
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, size, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, size, out.data(), n, nullptr, nullptr);
    return out;
}
