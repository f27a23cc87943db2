// catalogue_window: the real catalogue window in this process, beside the
// real main window, on an existing catalogue (tavolin-bench catalogue 1000
// FILE makes one): the window opened and painted, a keystroke in Find until
// the list has repainted its rows, the same with a column sorted, and Show
// Disc until the main window's list has painted.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "app/catalogue_window_win.h"
#include "app/main_window_win.h"
#include "bench_cases.h"
#include "catalogue/catalogue.h"
#include "ui/list_view_win.h"
#include "ui/window_context_win.h"

namespace {

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// Everything queued handled, then the window painted now.
void PaintNow(HWND window) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    UpdateWindow(window);
}

struct Figures {
    double median, worst;
};
Figures Summary(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

void Print(const char* name, const std::vector<double>& times, const char* what) {
    const Figures f = Summary(times);
    std::printf("%s median %.2f worst %.2f (%s)\n", name, f.median, f.worst, what);
    std::fflush(stdout);
}

// Messages the windows of this thread were sent or given, counted by hooks:
// what a step costs in work, where its wall time is too noisy to compare.
struct MessageCounts {
    uint64_t textRequests;  // LVN_GETDISPINFOW
    uint64_t paints;        // WM_PAINT, to any window
    uint64_t listPaints;    // WM_PAINT to a list view or list box
    uint64_t erases;        // WM_ERASEBKGND
    uint64_t all;
};
MessageCounts gCounts = {};

void CountMessage(HWND window, UINT message, LPARAM lParam) {
    ++gCounts.all;
    if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == LVN_GETDISPINFOW)
        ++gCounts.textRequests;
    if (message == WM_ERASEBKGND) ++gCounts.erases;
    if (message == WM_PAINT) {
        ++gCounts.paints;
        wchar_t name[32] = L"";
        GetClassNameW(window, name, 32);
        if (lstrcmpW(name, WC_LISTVIEWW) == 0 || lstrcmpW(name, L"ListBox") == 0) ++gCounts.listPaints;
    }
}

LRESULT CALLBACK SentHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const CWPSTRUCT* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
        CountMessage(m->hwnd, m->message, m->lParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK QueuedHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        const MSG* m = reinterpret_cast<const MSG*>(lParam);
        CountMessage(m->hwnd, m->message, m->lParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The counts of a step, per run of it.
void PrintCounts(const char* name, const MessageCounts& c, const CatalogueWindowCounts& store, size_t runs) {
    const double n = double(runs);
    std::printf("%s per run: %.1f text requests, %.1f paints (%.1f of lists), %.1f erases, %.1f messages, "
                "%.1f store queries, %.1f store rows read\n",
                name, double(c.textRequests) / n, double(c.paints) / n, double(c.listPaints) / n,
                double(c.erases) / n, double(c.all) / n, double(store.queries) / n, double(store.rowsRead) / n);
    std::fflush(stdout);
}

// Counting from here.
void StartCounting() {
    gCounts = {};
    ResetCatalogueWindowCounts();
}

}  // namespace

int RunCatalogueWindowBench(const std::string& path) {
    {
        Catalogue c;
        std::vector<StoredDisc> discs;
        uint64_t tracks = 0;
        const CatalogueOpenResult opened = OpenCatalogue(path, CatalogueMode::READ, c);
        if (!opened.isOpen || c.IsEmpty() || !ListDiscs(c, discs).ok || !CountTracks(c, "", tracks).ok) {
            std::fprintf(stderr, "tavolin-bench: %s: no catalogue to measure\n", path.c_str());
            return 1;
        }
        std::printf("catalogue_window_discs %zu tracks %llu\n", discs.size(), (unsigned long long)tracks);
    }

    int exitCode = 0;
    WindowContext* main = StartMainWindow(GetModuleHandleW(nullptr), &exitCode);
    if (main == nullptr) return 1;
    SetCataloguePath(path);

    const auto openStart = std::chrono::steady_clock::now();
    OpenCatalogueWindow(GetModuleHandleW(nullptr));
    HWND window = FindWindowA(CATALOGUE_CLASS_NAME, nullptr);
    HWND list = FindWindowExW(window, nullptr, WC_LISTVIEWW, nullptr);
    HWND find = FindWindowExW(window, nullptr, L"Edit", nullptr);
    HWND show = FindWindowExW(window, nullptr, L"Button", L"Show Disc");
    if (list == nullptr || find == nullptr || show == nullptr) return 1;
    PaintNow(window);
    std::printf("catalogue_window_open_ms %.2f (made, found every track, painted; %d rows)\n", Ms(openStart),
                GetListViewRowCount(list));

    // The store bench's words typed one character at a time, then Find emptied.
    std::vector<std::wstring> typed;
    for (const wchar_t* word : {L"Morning Light", L"\u039a\u03b1\u03bb\u03b7\u03bc\u03ad\u03c1\u03b1",
                                L"\u591c\u660e\u3051", L"Za\u017c\u00f3\u0142\u0107"}) {
        const std::wstring text = word;
        for (size_t n = 1; n <= text.size(); ++n) typed.push_back(text.substr(0, n));
    }
    typed.push_back(L"");
    // Each keystroke timed whole, and split: the find as the edit's change
    // notification runs it, then the paint of what it invalidated.
    std::vector<double> findParts, paintParts;
    auto typeAll = [&](std::vector<double>& times) {
        findParts.clear();
        paintParts.clear();
        StartCounting();
        for (int run = 0; run < 3; ++run)
            for (const std::wstring& text : typed) {
                const auto start = std::chrono::steady_clock::now();
                SetWindowTextW(find, text.c_str());  // EN_CHANGE: the find runs
                findParts.push_back(Ms(start));
                const auto painting = std::chrono::steady_clock::now();
                PaintNow(list);
                paintParts.push_back(Ms(painting));
                times.push_back(Ms(start));
            }
        return 3 * typed.size();
    };
    HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, SentHook, nullptr, GetCurrentThreadId());
    HHOOK queued = SetWindowsHookExW(WH_GETMESSAGE, QueuedHook, nullptr, GetCurrentThreadId());
    std::vector<double> keys;
    size_t runs = typeAll(keys);
    Print("catalogue_window_keystroke_ms", keys, "find, count and the rows in sight painted");
    Print("catalogue_window_keystroke_find_ms", findParts, "the edit's change handled: find, count, row count set");
    Print("catalogue_window_keystroke_paint_ms", paintParts, "then the paint, rows fetched as the list asks");
    PrintCounts("catalogue_window_keystroke_counts", gCounts, ReadCatalogueWindowCounts(), runs);
    // The store's share of a keystroke: the count and the first page alone,
    // on a connection of its own.
    std::vector<double> storeParts;
    Catalogue store;
    OpenCatalogue(path, CatalogueMode::READ, store);
    for (const std::wstring& text : typed) {
        char utf8[64];
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
        const auto start = std::chrono::steady_clock::now();
        uint64_t count = 0;
        CountTracks(store, utf8, count);
        FindTracks(store, utf8, [](const FoundTrack&) { return true; }, FindRange{0, 128});
        storeParts.push_back(Ms(start));
    }
    Print("catalogue_window_store_part_ms", storeParts, "CountTracks and FindTracks of 128 rows alone");

    // A sorted column.
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 4;  // Title
    StartCounting();
    const auto sortStart = std::chrono::steady_clock::now();
    SendMessageW(window, WM_NOTIFY, 0, LPARAM(&click));
    PaintNow(list);
    std::printf("catalogue_window_sort_ms %.2f (%d rows by title)\n", Ms(sortStart), GetListViewRowCount(list));
    PrintCounts("catalogue_window_sort_counts", gCounts, ReadCatalogueWindowCounts(), 1);
    std::vector<double> sortedKeys;
    runs = typeAll(sortedKeys);
    Print("catalogue_window_sorted_keystroke_ms", sortedKeys, "the same keys with the title column sorted");
    Print("catalogue_window_sorted_keystroke_find_ms", findParts, "the edit's change handled");
    Print("catalogue_window_sorted_keystroke_paint_ms", paintParts, "then the paint");
    PrintCounts("catalogue_window_sorted_keystroke_counts", gCounts, ReadCatalogueWindowCounts(), runs);
    SendMessageW(window, WM_NOTIFY, 0, LPARAM(&click));
    SendMessageW(window, WM_NOTIFY, 0, LPARAM(&click));  // a third click: still sorted, ascending

    std::vector<double> shows, clicks, showPaints;
    SetWindowTextW(find, L"");
    PaintNow(list);
    MessageCounts showCounts = {};
    CatalogueWindowCounts showStore = {};
    for (int row = 0; row < 15; ++row) {
        SelectListViewRow(list, row * 37);
        PaintNow(window);
        StartCounting();
        const auto start = std::chrono::steady_clock::now();
        SendMessageW(show, BM_CLICK, 0, 0);
        clicks.push_back(Ms(start));
        const auto painting = std::chrono::steady_clock::now();
        PaintNow(gMainWindow.trackList);
        showPaints.push_back(Ms(painting));
        shows.push_back(Ms(start));
        const CatalogueWindowCounts store = ReadCatalogueWindowCounts();
        showCounts.textRequests += gCounts.textRequests;
        showCounts.paints += gCounts.paints;
        showCounts.listPaints += gCounts.listPaints;
        showCounts.erases += gCounts.erases;
        showCounts.all += gCounts.all;
        showStore.queries += store.queries;
        showStore.rowsRead += store.rowsRead;
    }
    Print("catalogue_window_show_disc_ms", shows, "a 36-track disc listed and painted in the main window");
    Print("catalogue_window_show_disc_click_ms", clicks, "the click handled: read, listed");
    Print("catalogue_window_show_disc_paint_ms", showPaints, "then the main window painted");
    PrintCounts("catalogue_window_show_disc_counts", showCounts, showStore, shows.size());

    std::vector<double> reopens;
    StartCounting();
    for (int run = 0; run < 5; ++run) {
        ShowWindow(window, SW_HIDE);
        const auto start = std::chrono::steady_clock::now();
        OpenCatalogueWindow(GetModuleHandleW(nullptr));
        PaintNow(window);
        reopens.push_back(Ms(start));
    }
    Print("catalogue_window_reopen_ms", reopens, "shown again, found anew, painted");
    PrintCounts("catalogue_window_reopen_counts", gCounts, ReadCatalogueWindowCounts(), reopens.size());
    UnhookWindowsHookEx(queued);
    UnhookWindowsHookEx(sent);

    DestroyCatalogueWindow();
    DestroyWindow(MainWindowOf(main));
    DestroyWindowContext(main);
    return 0;
}
