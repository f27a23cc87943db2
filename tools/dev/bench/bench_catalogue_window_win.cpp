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
    auto typeAll = [&](std::vector<double>& times) {
        for (int run = 0; run < 3; ++run)
            for (const std::wstring& text : typed) {
                const auto start = std::chrono::steady_clock::now();
                SetWindowTextW(find, text.c_str());  // EN_CHANGE: the find runs
                PaintNow(list);
                times.push_back(Ms(start));
            }
    };
    std::vector<double> keys;
    typeAll(keys);
    Print("catalogue_window_keystroke_ms", keys, "find, count and the rows in sight painted");
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

    // A sorted column: every found row is read and sorted.
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = list;
    click.hdr.code = LVN_COLUMNCLICK;
    click.iSubItem = 4;  // Title
    const auto sortStart = std::chrono::steady_clock::now();
    SendMessageW(window, WM_NOTIFY, 0, LPARAM(&click));
    PaintNow(list);
    std::printf("catalogue_window_sort_ms %.2f (%d rows by title)\n", Ms(sortStart), GetListViewRowCount(list));
    std::vector<double> sortedKeys;
    typeAll(sortedKeys);
    Print("catalogue_window_sorted_keystroke_ms", sortedKeys, "the same keys with the title column sorted");
    SendMessageW(window, WM_NOTIFY, 0, LPARAM(&click));
    SendMessageW(window, WM_NOTIFY, 0, LPARAM(&click));  // a third click: still sorted, ascending

    std::vector<double> shows;
    SetWindowTextW(find, L"");
    PaintNow(list);
    for (int row = 0; row < 15; ++row) {
        SelectListViewRow(list, row * 37);
        const auto start = std::chrono::steady_clock::now();
        SendMessageW(show, BM_CLICK, 0, 0);
        PaintNow(gMainWindow.trackList);
        shows.push_back(Ms(start));
    }
    Print("catalogue_window_show_disc_ms", shows, "a 36-track disc listed and painted in the main window");

    std::vector<double> reopens;
    for (int run = 0; run < 5; ++run) {
        ShowWindow(window, SW_HIDE);
        const auto start = std::chrono::steady_clock::now();
        OpenCatalogueWindow(GetModuleHandleW(nullptr));
        PaintNow(window);
        reopens.push_back(Ms(start));
    }
    Print("catalogue_window_reopen_ms", reopens, "shown again, found anew, painted");

    DestroyCatalogueWindow();
    DestroyWindow(MainWindowOf(main));
    DestroyWindowContext(main);
    return 0;
}
