#include "base/shell_win.h"

#include <shellapi.h>

#include "base/wide_text_win.h"

std::vector<std::string> CommandLineArguments() {
    std::vector<std::string> arguments;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words == nullptr) return arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(ToUtf8(words[i]));
    LocalFree(words);
    return arguments;
}

void AcceptDroppedFiles(HWND window) { DragAcceptFiles(window, TRUE); }

std::vector<std::string> TakeDroppedPaths(WPARAM drop) {
    HDROP handle = reinterpret_cast<HDROP>(drop);
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(handle, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // The length without the terminator, then the name with it.
        const UINT length = DragQueryFileW(handle, i, nullptr, 0);
        std::wstring name(size_t(length) + 1, L'\0');
        const UINT got = DragQueryFileW(handle, i, name.data(), length + 1);
        paths.push_back(ToUtf8(name.data(), int(got < length ? got : length)));
    }
    DragFinish(handle);
    return paths;
}
