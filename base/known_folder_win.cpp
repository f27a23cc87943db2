#include "base/known_folder_win.h"

#include <windows.h>

#include "base/wide_text_win.h"

// The variable is read wide: getenv gives it in the ANSI code page, which
// cannot hold every user name.
std::string AppDataFolder() {
    const wchar_t name[] = L"APPDATA";
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return std::string();
    std::wstring value(size, L'\0');
    const DWORD got = GetEnvironmentVariableW(name, value.data(), size);
    if (got == 0 || got >= size) return std::string();
    return ToUtf8(value.data(), int(got));
}
