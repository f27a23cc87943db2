#include "tools/lib/app_driver/app_driver_win.h"

#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tools/shipped/demo/demo_disc.h"
#include "tools/lib/window_driver/window_driver_win.h"
#include "base/file_system_win.h"
#include "base/wide_text_win.h"

namespace app_driver {
namespace wd = window_driver;

namespace {

constexpr DWORD START_TIMEOUT_MS = 15000;
constexpr char MARKER_NAME[] = "_MDHIFI.HMA";

std::string Root(char drive) { return std::string(1, drive) + ":\\"; }

// Paths are UTF-8, as the program's own.
std::wstring Wide(const std::string& text) { return ToWide(text.data(), text.size()); }

double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) * 1000.0 / double(f.QuadPart);
}

std::string Unescape(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] != '\\' || i + 1 == field.size()) {
            out += field[i];
            continue;
        }
        const char c = field[++i];
        out += c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

// One argument for a command line, quoted: backslashes before the closing
// quote doubled, since the parser halves them there ("D:\\" stays D:\).
void AppendQuoted(std::string& command, const std::string& argument) {
    command += '"';
    command += argument;
    size_t trailing = 0;
    while (trailing < argument.size() && argument[argument.size() - 1 - trailing] == '\\') ++trailing;
    command.append(trailing, '\\');
    command += '"';
}

std::string Folder(const std::string& path) { return path.substr(0, path.find_last_of('\\')); }

std::string ModulePath() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

struct Placed {
    HWND window;
    RECT rect;
};

// Visible descendants of a class, in screen coordinates.
std::vector<Placed> ChildrenOf(HWND parent, const char* className) {
    std::vector<Placed> out;
    for (const wd::ChildWindow& c : wd::ListChildren(parent))
        if (lstrcmpiA(c.className.c_str(), className) == 0 && IsWindowVisible(c.window))
            out.push_back({c.window, c.rect});
    return out;
}

// The control of a class nearest to the right of the label on its line.
HWND OnLabelLine(HWND parent, const char* label, const char* className) {
    HWND labelWindow = nullptr;
    RECT labelRect = {};
    for (const wd::ChildWindow& c : wd::ListChildren(parent))
        if (lstrcmpiA(c.className.c_str(), "Static") == 0 && c.text == label && IsWindowVisible(c.window)) {
            labelWindow = c.window;
            labelRect = c.rect;
            break;
        }
    if (labelWindow == nullptr) return nullptr;
    HWND best = nullptr;
    LONG bestLeft = LONG_MAX;
    const LONG middle = (labelRect.top + labelRect.bottom) / 2;
    for (const Placed& p : ChildrenOf(parent, className))
        if (p.rect.left >= labelRect.right - 2 && p.rect.top <= middle && p.rect.bottom >= middle &&
            p.rect.left < bestLeft) {
            best = p.window;
            bestLeft = p.rect.left;
        }
    return best;
}

// One combo item's text, read as wide text across processes.
std::string ComboItem(HWND combo, int index) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(combo, CB_GETLBTEXTLEN, WPARAM(index), 0, SMTO_NORMAL, 5000, &length) ||
        LRESULT(length) <= 0)
        return std::string();
    std::vector<wchar_t> text(size_t(length) + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(combo, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_NORMAL, 5000, &got);
    return ToUtf8(text.data(), int(got < DWORD_PTR(length) ? got : length));
}

// Index of the combo item with exactly this text, or -1. The search runs in
// the program (one wide CB_FINDSTRINGEXACT, which ignores case) and the item
// found is read back to compare exactly; only when that differs are all
// items read. Reading every item of every panel combo across processes
// costs about half a second.
int FindComboItem(HWND combo, const std::string& item) {
    const std::wstring wide = Wide(item);
    DWORD_PTR found = DWORD_PTR(CB_ERR);
    SendMessageTimeoutW(combo, CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(wide.data()),
                        SMTO_NORMAL, 5000, &found);
    if (LRESULT(found) == CB_ERR) return -1;
    if (ComboItem(combo, int(found)) == item) return int(found);
    const std::vector<std::string> items = wd::ReadComboLines(combo);
    const auto at = std::find(items.begin(), items.end(), item);
    return at == items.end() ? -1 : int(at - items.begin());
}

}  // namespace

bool WriteWithTime(const std::string& path, const std::vector<uint8_t>& bytes, int minutes) {
    HANDLE f = OpenFileByPath(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = bytes.empty() ||
              (WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr) && written == bytes.size());
    SYSTEMTIME base = {2021, 3, 4, 4, 5, 6, 0, 0};
    FILETIME ft;
    SystemTimeToFileTime(&base, &ft);
    ULARGE_INTEGER t = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    t.QuadPart += uint64_t(minutes) * 60 * 10000000;
    ft = {t.LowPart, t.HighPart};
    ok = SetFileTime(f, nullptr, nullptr, &ft) && ok;
    return CloseHandle(f) && ok;
}

std::string TavolinPath() {
    // Read from the process environment, so a value set with
    // SetEnvironmentVariableA counts too.
    char path[MAX_PATH] = "";
    const DWORD n = GetEnvironmentVariableA("TAVOLIN_EXE", path, sizeof path);
    if (n > 0 && n < sizeof path) return path;
    return Folder(ModulePath()) + "\\tavolin.exe";
}

std::string WorkFolder() {
    const std::string folder = Folder(ModulePath()) + "\\e2e_work";
    CreateFolder(folder.c_str());
    return folder;
}

std::string WorkFolderIn(const std::string& names) {
    std::string folder = WorkFolder();
    std::stringstream parts(names);
    for (std::string part; std::getline(parts, part, '\\');) {
        folder += "\\" + part;
        CreateFolder(folder.c_str());
    }
    return folder;
}

bool DeleteFileAt(const std::string& path) { return DeletePath(path.c_str()); }

std::string ReadFileBytes(const std::string& path) {
    HANDLE f = OpenFileByPath(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (f == INVALID_HANDLE_VALUE) return std::string();
    std::string out;
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
    CloseHandle(f);
    return out;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    return WriteWithTime(path, std::vector<uint8_t>(bytes.begin(), bytes.end()), 0);
}

void EmptyDrive(char drive) { window_driver::RemoveTree(Root(drive) + ".", false); }

void WriteRecorder(char drive, const std::vector<IndexFile>& files) {
    const std::string dir = Root(drive) + "HMDHIFI";
    CreateFolder(dir.c_str());
    WriteWithTime(dir + "\\" + MARKER_NAME, {}, 0);
    for (const IndexFile& f : files) {
        char name[32];
        std::snprintf(name, sizeof name, "\\TRKIDX%02x.HMA", unsigned(f.number));
        WriteWithTime(dir + name, f.bytes, f.minutes);
    }
}

void WriteRecorderCopy(const std::string& folder, const std::vector<IndexFile>& files) {
    CreateFolder(folder.c_str());
    WriteWithTime(folder + "\\_MdHiFi.hma", {}, 0);
    for (const IndexFile& f : files) {
        char name[32];
        std::snprintf(name, sizeof name, "\\TrkIdx%02X.hMa", unsigned(f.number));
        WriteWithTime(folder + name, f.bytes, f.minutes);
    }
}

bool WriteDemoRecorderOn(char drive) {
    std::string error;
    return WriteDemoRecorder(std::filesystem::path(Root(drive)), error);
}

bool ListWithTool(char drive, Listing* listing) { return ListWithTool(Root(drive), listing); }

// The command line goes wide, so a text in any script reaches the tool whole.
bool RunListTool(const std::vector<std::string>& arguments, std::string* out) {
    const std::string tool = Folder(TavolinPath()) + "\\tools\\tavolin-list.exe";
    std::string command = "\"";
    command += tool;
    command += "\"";
    for (const std::string& argument : arguments) {
        command += ' ';
        AppendQuoted(command, argument);
    }
    std::wstring wideCommand = Wide(command);
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0)) return false;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    const BOOL started =
        CreateProcessW(nullptr, wideCommand.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    CloseHandle(writeEnd);
    out->clear();
    if (started) {
        char buffer[65536];
        DWORD n = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0) out->append(buffer, n);
        WaitForSingleObject(pi.hProcess, START_TIMEOUT_MS);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(readEnd);
    return started != FALSE;
}

bool ListWithTool(const std::string& path, Listing* listing) {
    std::string out;
    if (!RunListTool({"--tsv", path}, &out)) return false;

    *listing = Listing{};
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() >= 3 && f[0] == "disc") {
            listing->discTitle = Unescape(f[2]);
        } else if (f.size() >= 9) {
            // Fields after the ninth are newer ones: the tenth is the
            // recording time.
            listing->tracks.push_back({uint32_t(std::strtoul(f[1].c_str(), nullptr, 10)),
                                       std::strtof(f[2].c_str(), nullptr),
                                       int32_t(std::strtol(f[3].c_str(), nullptr, 10)), Unescape(f[4]),
                                       Unescape(f[5]), Unescape(f[6]), Unescape(f[7]), Unescape(f[8]),
                                       f.size() > 9 ? f[9] : std::string()});
        }
    }
    return true;
}

Tavolin::~Tavolin() {
    if (pi_.hProcess != nullptr) {
        if (IsRunning()) {
            TerminateProcess(pi_.hProcess, 99);
            WaitForSingleObject(pi_.hProcess, 5000);
        }
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
    }
}

bool Tavolin::Start(const std::vector<std::string>& arguments) {
    logPath_ = WorkFolder() + "\\tavolin-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(GetTickCount()) + ".log";
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE log = CreateFileA(logPath_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                             CREATE_ALWAYS, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = log;
    si.hStdError = log;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    // Built by appends: GCC 12 warns falsely (-Wrestrict) on "\"" + string.
    std::string command = "\"";
    command += TavolinPath();
    command += '"';
    for (const std::string& argument : arguments) {
        command += ' ';
        AppendQuoted(command, argument);
    }
    const double started = NowMs();
    const BOOL ok =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi_);
    if (log != INVALID_HANDLE_VALUE) CloseHandle(log);
    if (!ok) {
        error_ = "CreateProcess failed for " + command;
        return false;
    }
    processId_ = pi_.dwProcessId;
    WaitForInputIdle(pi_.hProcess, START_TIMEOUT_MS);
    window_ = wd::WaitForTopWindow(MAIN_CLASS, nullptr, processId_, START_TIMEOUT_MS);
    if (window_ == nullptr) {
        error_ = "no main window";
        return false;
    }
    // The window shows before its controls exist; it is ready once the Load
    // Format button, the last one made, is there and the start-up resize has
    // moved the track list off 0.
    if (!wd::WaitFor([&] { return FindControls() && ClientRect(controls_.trackList).left == 1; },
                     START_TIMEOUT_MS)) {
        error_ = "controls not found";
        return false;
    }
    startMs_ = NowMs() - started;
    return true;
}

bool Tavolin::FindControls() {
    MainControls c = {};
    RECT exampleRect = {};
    for (const wd::ChildWindow& w : wd::ListChildren(window_)) {
        const std::string& cls = w.className;
        if (lstrcmpiA(cls.c_str(), "ListBox") == 0)
            c.trackList = w.window;
        else if (lstrcmpiA(cls.c_str(), "Button") == 0) {
            // A scan that start-up began may be running or refused.
            if (w.text == "Get Tracks..." || w.text == "Scanning..." || w.text == "Get Tracks")
                c.getTracks = w.window;
            else if (w.text == "Export List")
                c.exportList = w.window;
            else if (w.text == "Save Format")
                c.saveFormat = w.window;
            else if (w.text == "Load Format")
                c.loadFormat = w.window;
        } else if (lstrcmpiA(cls.c_str(), "Static") == 0) {
            if (w.text == "." || w.text.rfind("Found ", 0) == 0)
                c.status = w.window;
            else if (w.text == "Example:") {
                c.example = w.window;
                exampleRect = w.rect;
            }
        }
    }
    if (c.example != nullptr)
        for (const Placed& p : ChildrenOf(window_, "Static"))
            if (p.window != c.example && p.rect.top == exampleRect.top && p.rect.left > exampleRect.left)
                c.preview = p.window;
    controls_ = c;
    return c.trackList && c.getTracks && c.status && c.example && c.preview && c.exportList && c.saveFormat &&
           c.loadFormat;
}

bool Tavolin::IsRunning() const {
    return pi_.hProcess != nullptr && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Tavolin::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
    if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(pi_.hProcess, exitCode);
    return true;
}

bool Tavolin::Close(DWORD timeoutMs, DWORD* exitCode) {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return WaitExit(timeoutMs, exitCode);
}

std::string Tavolin::Log() const { return ReadFileBytes(logPath_); }

bool Tavolin::HasCrashReport() const { return Log().find("Unhandled") != std::string::npos; }

std::string Tavolin::Caption() const { return wd::ReadWindowText(window_); }

std::vector<std::string> Tavolin::Lines() const { return wd::ReadListLines(controls_.trackList); }

RECT Tavolin::ClientRect(HWND control) const {
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND Tavolin::PanelCombo(const char* label) const { return OnLabelLine(window_, label, "ComboBox"); }

HWND Tavolin::PanelEdit(const char* label) const { return OnLabelLine(window_, label, "Edit"); }

HWND Tavolin::PanelComboWithItem(const char* item, int nth) const {
    std::vector<Placed> combos;
    for (const Placed& p : ChildrenOf(window_, "ComboBox"))
        if (FindComboItem(p.window, item) >= 0) combos.push_back(p);
    std::sort(combos.begin(), combos.end(), [](const Placed& a, const Placed& b) {
        return a.rect.top != b.rect.top ? a.rect.top < b.rect.top : a.rect.left < b.rect.left;
    });
    return nth < int(combos.size()) ? combos[size_t(nth)].window : nullptr;
}

bool Tavolin::Choose(HWND combo, const char* item) {
    const int index = FindComboItem(combo, item);
    if (index < 0) return false;
    wd::SelectComboItem(combo, index);
    Settle();
    return true;
}

// A sent message is handled before anything posted, so it cannot tell when
// the window is through its queue. A posted message with a visible effect
// can: the Export List button's pushed look, set with a posted BM_SETSTATE
// and read back with BM_GETSTATE, says that every message posted before it
// has been handled; then the look is put back the same way.
void Tavolin::Settle() const {
    for (bool isPushed : {true, false}) {
        PostMessageA(controls_.exportList, BM_SETSTATE, isPushed, 0);
        wd::WaitFor([&] {
            DWORD_PTR state = 0;
            SendMessageTimeoutA(controls_.exportList, BM_GETSTATE, 0, 0, SMTO_NORMAL, 5000, &state);
            return ((state & BST_PUSHED) != 0) == isPushed;
        });
    }
}

HWND Tavolin::ClickForDialog(HWND button, const char* dialogTitle) {
    wd::ClickButton(button, true);
    return wd::WaitForTopWindow(wd::DIALOG_CLASS, dialogTitle, processId_);
}

bool Tavolin::Drop(const std::vector<std::string>& paths) {
    const DROPFILES header = {sizeof header, {}, FALSE, TRUE};
    std::string block(reinterpret_cast<const char*>(&header), sizeof header);
    for (const std::string& path : paths) {
        const std::wstring name = Wide(path);
        block.append(reinterpret_cast<const char*>(name.c_str()), (name.size() + 1) * sizeof(wchar_t));
    }
    block.append(sizeof(wchar_t), '\0');  // the list ends with an empty name
    void* remote =
        VirtualAllocEx(pi_.hProcess, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    SIZE_T written = 0;
    return remote != nullptr &&
           WriteProcessMemory(pi_.hProcess, remote, block.data(), block.size(), &written) &&
           written == block.size() && PostMessageW(window_, WM_DROPFILES, WPARAM(remote), 0);
}

}  // namespace app_driver
