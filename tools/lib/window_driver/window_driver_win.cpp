#include "tools/lib/window_driver/window_driver_win.h"

#include <algorithm>
#include <cstring>
#include <sstream>

#include "base/wide_text_win.h"

namespace window_driver {
namespace {

// Reads from another process must not hang a test on a stuck program.
constexpr UINT SEND_TIMEOUT_MS = 5000;

LRESULT SendA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, SEND_TIMEOUT_MS, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

LRESULT SendW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, SEND_TIMEOUT_MS, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

std::string ClassOf(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// One line of a list or combo box as wide text, converted.
std::string ReadLineW(HWND control, UINT getLength, UINT getText, int index) {
    const LRESULT len = SendW(control, getLength, static_cast<WPARAM>(index), 0);
    if (len <= 0) return std::string();
    std::vector<wchar_t> buffer(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got =
        SendW(control, getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    if (got < 0) got = 0;
    if (got > len) got = len;
    return ToUtf8(buffer.data(), static_cast<int>(got));
}

bool Matches(const char* wanted, const std::string& actual, bool ignoreCase) {
    if (wanted == nullptr) return true;
    return ignoreCase ? lstrcmpiA(wanted, actual.c_str()) == 0 : actual == wanted;
}

struct TopSearch {
    const char* className;
    const char* title;
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND window, LPARAM param) {
    TopSearch* s = reinterpret_cast<TopSearch*>(param);
    if (!IsWindowVisible(window)) return TRUE;
    if (s->processId != 0) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != s->processId) return TRUE;
    }
    if (!Matches(s->className, ClassOf(window), true)) return TRUE;
    if (s->title != nullptr) {
        wchar_t title[512] = L"";
        GetWindowTextW(window, title, 512);
        if (ToUtf8(title) != s->title) return TRUE;
    }
    s->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    std::vector<ChildWindow>* out = reinterpret_cast<std::vector<ChildWindow>*>(param);
    ChildWindow c;
    c.window = window;
    c.className = ClassOf(window);
    c.text = ReadWindowText(window);
    c.id = GetDlgCtrlID(window);
    c.style = GetWindowLongA(window, GWL_STYLE);
    GetWindowRect(window, &c.rect);
    out->push_back(c);
    return TRUE;
}

void Notify(HWND control, WORD code, bool post) {
    const WPARAM wParam = MAKEWPARAM(GetDlgCtrlID(control), code);
    const LPARAM lParam = reinterpret_cast<LPARAM>(control);
    HWND parent = GetParent(control);
    if (post) {
        PostMessageA(parent, WM_COMMAND, wParam, lParam);
    } else {
        SendA(parent, WM_COMMAND, wParam, lParam);
    }
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    bool quit = false;
    WPARAM quitCode = 0;
    bool held = false;
    for (;;) {
        if (condition()) {
            held = true;
            break;
        }
        if (GetTickCount64() >= deadline) break;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(POLL_INTERVAL_MS);
    }
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
    return held;
}

HWND FindTopWindow(const char* className, const char* title, DWORD processId) {
    TopSearch s{className, title, processId, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
    return s.found.empty() ? nullptr : s.found.front();
}

HWND WaitForTopWindow(const char* className, const char* title, DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindTopWindow(className, title, processId)) != nullptr; }, timeoutMs);
    return found;
}

std::vector<HWND> FindTopWindows(const char* className, DWORD processId) {
    TopSearch s{className, nullptr, processId, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool WaitForClose(HWND window, DWORD timeoutMs) {
    return WaitFor([&] { return !IsWindow(window); }, timeoutMs);
}

std::vector<ChildWindow> ListChildren(HWND parent) {
    std::vector<ChildWindow> out;
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&out));
    return out;
}

HWND FindChild(HWND parent, const char* className, const char* text) {
    for (const ChildWindow& c : ListChildren(parent)) {
        if (Matches(className, c.className, true) && Matches(text, c.text, false)) return c.window;
    }
    return nullptr;
}

std::string ReadWindowText(HWND window) {
    const LRESULT len = SendW(window, WM_GETTEXTLENGTH, 0, 0);
    if (len <= 0) return std::string();
    std::vector<wchar_t> buffer(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = SendW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    if (got < 0) got = 0;
    if (got > len) got = len;
    return ToUtf8(buffer.data(), static_cast<int>(got));
}

std::vector<std::string> ReadListLines(HWND list) {
    std::vector<std::string> lines;
    const LRESULT count = SendW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; i++) {
        lines.push_back(ReadLineW(list, LB_GETTEXTLEN, LB_GETTEXT, static_cast<int>(i)));
    }
    return lines;
}

std::vector<std::string> ReadComboLines(HWND combo) {
    std::vector<std::string> lines;
    const LRESULT count = SendW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; i++) {
        lines.push_back(ReadLineW(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<int>(i)));
    }
    return lines;
}

std::vector<intptr_t> ReadListItemData(HWND list) {
    std::vector<intptr_t> data;
    const LRESULT count = SendA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; i++) {
        data.push_back(static_cast<intptr_t>(SendA(list, LB_GETITEMDATA, static_cast<WPARAM>(i), 0)));
    }
    return data;
}

int ReadListCount(HWND list) { return static_cast<int>(SendA(list, LB_GETCOUNT, 0, 0)); }

void ClickButton(HWND button, bool post) {
    if (post) {
        PostMessageA(button, BM_CLICK, 0, 0);
    } else {
        SendA(button, BM_CLICK, 0, 0);
    }
}

namespace {
void CALLBACK ClickReturned(HWND, UINT, ULONG_PTR flag, LRESULT) { *reinterpret_cast<bool*>(flag) = true; }
}  // namespace

PendingClick::PendingClick(HWND button) : isReturned_(new bool(false)) {
    // No answer comes for a click that could not be sent.
    if (!SendMessageCallbackA(button, BM_CLICK, 0, 0, ClickReturned,
                              reinterpret_cast<ULONG_PTR>(isReturned_))) {
        *isReturned_ = true;
    }
}

// A click whose handler never returned (its program ended first) keeps its
// flag, which a late answer may still write.
PendingClick::~PendingClick() {
    if (*isReturned_) delete isReturned_;
}

void SelectListLine(HWND list, int index, bool post) {
    const LONG style = GetWindowLongA(list, GWL_STYLE);
    if (style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) {
        // LB_SETCURSEL refuses to work on a multiple-selection list.
        SendA(list, LB_SETSEL, FALSE, -1);
        SendA(list, LB_SETSEL, TRUE, index);
        SendA(list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    } else {
        SendA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    Notify(list, LBN_SELCHANGE, post);
}

void SelectComboItem(HWND combo, int index, bool post) {
    SendA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(combo, CBN_SELCHANGE, post);
}

HWND FindMessageBox(const char* title, DWORD processId) {
    TopSearch s{DIALOG_CLASS, title, processId, {}};
    EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&s));
    for (HWND box : s.found) {
        if (GetDlgItem(box, MESSAGE_TEXT_ID) != nullptr) return box;
    }
    return nullptr;
}

HWND WaitForMessageBox(const char* title, DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindMessageBox(title, processId)) != nullptr; }, timeoutMs);
    return found;
}

std::string MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, MESSAGE_TEXT_ID);
    return text != nullptr ? ReadWindowText(text) : std::string();
}

bool AnswerMessageBox(HWND box, int buttonId, DWORD timeoutMs) {
    HWND button = GetDlgItem(box, buttonId);
    if (button == nullptr) return false;
    PostMessageA(button, BM_CLICK, 0, 0);
    return WaitForClose(box, timeoutMs);
}

bool DriveFileDialog(HWND dialog, const char* path, bool confirmOverwrite, DWORD timeoutMs) {
    HWND field = GetDlgItem(dialog, FILE_NAME_FIELD_ID);
    HWND ok = GetDlgItem(dialog, IDOK);
    if (field == nullptr || ok == nullptr) return false;
    const std::wstring widePath = ToWide(path);
    SendW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widePath.c_str()));
    PostMessageA(ok, BM_CLICK, 0, 0);

    const DWORD pid = ProcessOf(dialog);
    HWND prompt = nullptr;
    WaitFor(
        [&] {
            if (!IsWindow(dialog)) return true;
            for (HWND box : FindTopWindows(DIALOG_CLASS, pid)) {
                if (box != dialog && GetDlgItem(box, MESSAGE_TEXT_ID) != nullptr) {
                    prompt = box;
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    if (!IsWindow(dialog)) return true;
    if (prompt == nullptr) return false;
    if (!AnswerMessageBox(prompt, confirmOverwrite ? IDYES : IDNO, timeoutMs)) return false;
    if (!confirmOverwrite) return false;
    return WaitForClose(dialog, timeoutMs);
}

bool CancelDialog(HWND dialog, DWORD timeoutMs) {
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel == nullptr) return false;
    PostMessageA(cancel, BM_CLICK, 0, 0);
    return WaitForClose(dialog, timeoutMs);
}

}  // namespace window_driver

namespace window_driver {

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string TempPath(const char* name) {
    char dir[MAX_PATH] = "";
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + "tavolin_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

void RemoveTree(const std::string& dir, bool removeSelf) {
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(ToWide((dir + "\\*").c_str()).c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = ToUtf8(found.cFileName);
            if (name == "." || name == "..") continue;
            const std::string path = dir + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path, true);
            else
                DeleteFileW(ToWide(path.c_str()).c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    if (removeSelf) RemoveDirectoryW(ToWide(dir.c_str()).c_str());
}

std::string ReadOwnListLine(HWND list, int i) {
    const LRESULT len = SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0);
    std::wstring text(size_t(len > 0 ? len : 0) + 10, L'\0');
    SendMessageW(list, LB_GETTEXT, WPARAM(i), LPARAM(text.data()));
    return ToUtf8(text.c_str());
}

ListState ReadListState(HWND list) {
    ListState s{};
    s.count = int(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < s.count; ++i) {
        s.texts.push_back(ReadOwnListLine(list, i));
        s.items.push_back(intptr_t(SendMessageA(list, LB_GETITEMDATA, WPARAM(i), 0)));
    }
    s.topIndex = int(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    s.caretIndex = int(SendMessageA(list, LB_GETCARETINDEX, 0, 0));
    s.anchorIndex = int(SendMessageA(list, LB_GETANCHORINDEX, 0, 0));
    s.currentIndex = int(SendMessageA(list, LB_GETCURSEL, 0, 0));
    s.selectedCount = int(SendMessageA(list, LB_GETSELCOUNT, 0, 0));
    s.horizontalExtent = int(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    s.hasVerticalBar =
        GetScrollBarInfo(list, OBJID_VSCROLL, &bar) && !(bar.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    return s;
}

void PrintTo(const ListState& s, std::ostream* out) {
    *out << "{count " << s.count << ", lines " << s.texts.size() << " (first \""
         << (s.texts.empty() ? "" : s.texts[0]) << "\"), top " << s.topIndex << ", caret " << s.caretIndex
         << ", anchor " << s.anchorIndex << ", current " << s.currentIndex << ", selected " << s.selectedCount
         << ", extent " << s.horizontalExtent << ", vertical bar " << s.hasVerticalBar << "}";
}

std::string ListStateDifference(const ListState& actual, const ListState& expected) {
    std::ostringstream failure;
    auto field = [&](const char* name, auto a, auto e) {
        if (a != e) failure << "\n  " << name << ": " << a << ", expected " << e;
    };
    field("count", actual.count, expected.count);
    const size_t lines = std::max(actual.texts.size(), expected.texts.size());
    for (size_t i = 0; i < lines; ++i) {
        const bool sameText =
            i < actual.texts.size() && i < expected.texts.size() && actual.texts[i] == expected.texts[i];
        const bool sameItem =
            i < actual.items.size() && i < expected.items.size() && actual.items[i] == expected.items[i];
        if (sameText && sameItem) continue;
        failure << "\n  line " << i << ": \"" << (i < actual.texts.size() ? actual.texts[i] : "<none>")
                << "\" (" << (i < actual.items.size() ? actual.items[i] : -1) << "), expected \""
                << (i < expected.texts.size() ? expected.texts[i] : "<none>") << "\" ("
                << (i < expected.items.size() ? expected.items[i] : -1) << ") (first of the differing lines)";
        break;
    }
    field("topIndex", actual.topIndex, expected.topIndex);
    field("caretIndex", actual.caretIndex, expected.caretIndex);
    field("anchorIndex", actual.anchorIndex, expected.anchorIndex);
    field("currentIndex", actual.currentIndex, expected.currentIndex);
    field("selectedCount", actual.selectedCount, expected.selectedCount);
    field("horizontalExtent", actual.horizontalExtent, expected.horizontalExtent);
    field("hasVerticalBar", actual.hasVerticalBar, expected.hasVerticalBar);
    return failure.str();
}

}  // namespace window_driver
