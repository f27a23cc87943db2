// catalogue_window: the real catalogue window in this process, beside the
// real main window, on a catalogue of generated discs (36 tracks each, texts
// in several scripts): the window opened and painted, a keystroke in Find
// until the list has repainted its rows, the same with a column sorted, and
// Show Disc until the main window's list has painted.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "app/catalogue_window_win.h"
#include "app/main_window_win.h"
#include "bench_cases.h"
#include "catalogue/catalogue.h"
#include "ui/list_view_win.h"
#include "ui/window_context_win.h"

namespace {

constexpr uint32_t TRACKS_PER_DISC = 36;

const char* const WORDS[] = {
    "Morning", "Lights", "River", "Café", "Über", "Señora", "Ça", "Noël", "東京", "夜明け", "さくら", "カタカナ",
    "漢字", "Καλημέρα", "Θάλασσα", "Ἀθῆναι", "Москва", "Зима", "Ночь", "서울", "바다", "Straße", "Øresund", "Łódź",
};

std::string Words(std::mt19937& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i) text += ' ';
        text += WORDS[random() % (sizeof WORDS / sizeof WORDS[0])];
    }
    return text;
}

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

bool WriteCatalogue(const std::string& path, uint32_t discCount) {
    Catalogue c;
    if (!OpenCatalogue(path, CatalogueMode::WRITE, c).isOpen) return false;
    std::mt19937 random(1);
    for (uint32_t disc = 0; disc < discCount; ++disc) {
        ClearCatalogue();
        for (uint32_t t = 0; t < TRACKS_PER_DISC; ++t) {
            const std::string title = Words(random, 3), artist = Words(random, 2), album = Words(random, 2);
            const std::string group = t < 12 ? Words(random, 2) : "";
            const std::string line = std::to_string(t + 1) + ". " + artist + " - " + title;
            const float length = 120.0f + float(random() % 300000) / 1000.0f;
            TrackReport report{line.c_str(), artist.c_str(), album.c_str(), title.c_str(), t + 1, &length,
                               132000, group.c_str(), t, 0x5A8B6000u + t};
            AppendTrack(report);
        }
        char key[DISC_KEY_SIZE];
        std::snprintf(key, sizeof key, "%08x%024x", disc, 7);
        const std::string title = Words(random, 2);
        StoredDiscInfo info{key, false, title.c_str(), 1, "E:\\", 2};
        if (AddDisc(c, info, gCatalogue.records, gCatalogue.count).result == AddResult::FAILED) return false;
    }
    ClearCatalogue();
    return true;
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

int RunCatalogueWindowBench(uint32_t discCount) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                       ("tavolin-bench-window-" + std::to_string(GetCurrentProcessId()) + ".sqlite");
    const std::string path = file.string();
    const auto writeStart = std::chrono::steady_clock::now();
    if (!WriteCatalogue(path, discCount)) {
        std::fprintf(stderr, "tavolin-bench: the catalogue %s could not be written\n", path.c_str());
        return 1;
    }
    std::printf("catalogue_window_discs %u tracks %u written in %.1f s\n", discCount, discCount * TRACKS_PER_DISC,
                Ms(writeStart) / 1000.0);

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

    // Typing a word letter by letter, then back to an empty Find.
    const wchar_t* const typed[] = {L"M", L"Mo", L"Mor", L"Morn", L"Morni", L"Mornin", L"Morning", L"東",
                                    L"東京",  L"κ",  L"κα",  L"καλ",  L"z",     L"zz",     L"",        L"Ł"};
    auto typeAll = [&](std::vector<double>& times) {
        for (int run = 0; run < 3; ++run)
            for (const wchar_t* text : typed) {
                const auto start = std::chrono::steady_clock::now();
                SetWindowTextW(find, text);  // EN_CHANGE: the find runs
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
    for (const wchar_t* text : typed) {
        char utf8[64];
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
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
    std::error_code ec;
    for (const char* ending : {"", "-wal", "-shm"}) std::filesystem::remove(path + ending, ec);
    return 0;
}
