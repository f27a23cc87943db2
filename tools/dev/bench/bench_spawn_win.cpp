// Starting a program with its standard output in a file (Windows).
#include <windows.h>

#include <vector>

#include "bench_cases.h"

const char* const LIST_PROGRAM_NAME = "tavolin-list.exe";

std::filesystem::path BenchProgramFolder() {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n == 0 || n == MAX_PATH) return L".";
    return std::filesystem::path(self).parent_path();
}

namespace {
// One argument of a command line as CommandLineToArgvW reads it back: quoted
// when it holds a space or a tab, backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring out = L"\"";
    size_t slashes = 0;
    for (wchar_t c : arg) {
        if (c == L'"') out.append(slashes + 1, L'\\');
        slashes = c == L'\\' ? slashes + 1 : 0;
        out += c;
    }
    out.append(slashes, L'\\');
    return out + L"\"";
}
}  // namespace

int RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& output) {
    std::wstring line = Quoted(program.wstring());
    for (const std::string& a : args) line += L" " + Quoted(std::filesystem::path(a).wstring());
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileW(output.wstring().c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return -1;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::vector<wchar_t> text(line.begin(), line.end());
    text.push_back(L'\0');
    const BOOL started = CreateProcessW(program.wstring().c_str(), text.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(out);
    if (!started) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = DWORD(-1);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return int(code);
}
