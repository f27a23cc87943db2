#include "base/known_folders_win.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <vector>

#include "base/wide_text_win.h"

namespace {
// The variable's value, asked for its length first: the value may change
// between the two calls, so a second length larger than the buffer counts
// as unset rather than as a cut value.
std::string EnvironmentValue(const wchar_t* name) {
    const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
    if (size == 0) return "";
    std::vector<wchar_t> value(size);
    const DWORD n = GetEnvironmentVariableW(name, value.data(), size);
    if (n == 0 || n >= size) return "";
    return ToUtf8(value.data(), int(n));
}
}  // namespace

std::string RoamingAppDataFolder() {
    std::string folder = EnvironmentValue(L"APPDATA");
    if (!folder.empty()) return folder;
    PWSTR known = nullptr;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &known)) && known)
        folder = ToUtf8(known);
    CoTaskMemFree(known);  // also when the call failed, which may leave a buffer
    return folder;
}
