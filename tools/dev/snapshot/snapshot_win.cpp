// tavolin-snapshot READY DONE: the main job's unattended run. Starts
// tavolin.exe (beside this program's folder), presses Get Tracks, waits for
// the listing, lays out a line in the format slots, scrolls to the list's
// end and selects a line there (the preview shows it), then prints the window's rectangle on
// the screen ("window X Y WIDTH HEIGHT") and every line of the list, and
// creates the file READY. Once the file DONE exists it closes the window.
// With TAVOLIN_CATALOGUE set, Tavolin uses that catalogue file, and two more
// files CATALOGUE_READY CATALOGUE_DONE follow: after DONE it presses
// Catalogue..., finds "\u6771\u4eac" (Tokyo), prints the catalogue window's rectangle
// ("catalogue X Y WIDTH HEIGHT") and its status, creates CATALOGUE_READY and
// waits for CATALOGUE_DONE before it closes Tavolin.
// Exits with 0 when the listing arrived and Tavolin ended cleanly.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/lib/app_driver/app_driver_win.h"
#include "tools/lib/window_driver/window_driver_win.h"

namespace wd = window_driver;

namespace {

constexpr DWORD SCAN_TIMEOUT_MS = 30000;
constexpr DWORD DONE_TIMEOUT_MS = 60000;

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

void Touch(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

// Opens the catalogue window and shows what a search finds in it.
bool ShowCatalogue(app_driver::Tavolin& app) {
    HWND button = wd::FindChild(app.Window(), "Button", "Catalogue...");
    if (button == nullptr) return false;
    wd::ClickButton(button, true);
    HWND window = wd::WaitForTopWindow("TAVOLINCATALOGUEWND", nullptr, app.ProcessId());
    if (window == nullptr) return false;
    // The window shows before its controls exist; the path label is made last.
    HWND find = nullptr;
    wd::WaitFor([&] {
        find = wd::FindChild(window, "Edit", nullptr);
        return find != nullptr && wd::FindChild(window, "Button", "Open...") != nullptr;
    });
    if (find == nullptr) return false;
    SendMessageW(find, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"\u6771\u4eac"));  // 東京
    app.Settle();
    RECT r = {};
    GetWindowRect(window, &r);
    std::printf("catalogue %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    for (const wd::ChildWindow& child : wd::ListChildren(window))
        if (child.className == "Static") std::printf("  %s\n", wd::ReadWindowText(child.window).c_str());
    std::fflush(stdout);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        std::fprintf(stderr, "usage: tavolin-snapshot READY DONE [CATALOGUE_READY CATALOGUE_DONE]\n");
        return 2;
    }
    std::vector<std::string> arguments;
    char catalogue[MAX_PATH] = "";
    if (GetEnvironmentVariableA("TAVOLIN_CATALOGUE", catalogue, sizeof catalogue) > 0)
        arguments = {"--catalogue", catalogue};
    app_driver::Tavolin app;
    if (!app.Start(arguments)) {
        std::fprintf(stderr, "tavolin-snapshot: %s\n", app.Error().c_str());
        return 1;
    }
    std::printf("ready for input after %.0f ms\n", app.StartMs());
    const app_driver::MainControls& c = app.Controls();
    wd::ClickButton(c.getTracks, true);
    const bool isListed = wd::WaitFor(
        [&] {
            return wd::ReadWindowText(c.getTracks) == "Get Tracks..." && wd::ReadListCount(c.trackList) > 0;
        },
        SCAN_TIMEOUT_MS);
    if (!isListed) {
        // A failed scan shows a message box; it goes with the program.
        std::fprintf(stderr, "tavolin-snapshot: no listing arrived (button reads \"%s\")\n",
                     wd::ReadWindowText(c.getTracks).c_str());
        return 1;
    }
    // A small layout, so that the preview shows a line rendered.
    const char* const layout[] = {"Trk Number", "<Space>", "-",       "<Space>", "Artist",     "<Space>", "-",
                                  "<Space>",    "Title",   "<Space>", "(",       "Trk Length", ")"};
    for (int slot = 0; slot < int(sizeof layout / sizeof layout[0]); ++slot) {
        HWND combo = app.PanelComboWithItem("Trk Number", slot);
        if (combo == nullptr || !app.Choose(combo, layout[slot])) {
            std::fprintf(stderr, "tavolin-snapshot: format slot %d not found\n", slot);
            return 1;
        }
    }
    // The list scrolled to its end, where the demo disc's texts in other
    // scripts stand, and the sixth line from the end in the preview.
    const int count = wd::ReadListCount(c.trackList);
    wd::SelectListLine(c.trackList, count - 1);
    wd::SelectListLine(c.trackList, count >= 6 ? count - 6 : 0);
    app.Settle();

    RECT r = {};
    GetWindowRect(app.Window(), &r);
    std::printf("window %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::printf("%s\n%s\n", app.Caption().c_str(), wd::ReadWindowText(c.status).c_str());
    for (const std::string& line : app.Lines()) std::printf("  %s\n", line.c_str());
    std::fflush(stdout);

    Touch(argv[1]);
    wd::WaitFor([&] { return Exists(argv[2]); }, DONE_TIMEOUT_MS);
    if (argc == 5) {
        if (!ShowCatalogue(app)) {
            std::fprintf(stderr, "tavolin-snapshot: the catalogue window did not open\n");
            return 1;
        }
        Touch(argv[3]);
        wd::WaitFor([&] { return Exists(argv[4]); }, DONE_TIMEOUT_MS);
    }

    DWORD code = 1;
    if (!app.Close(5000, &code)) {
        std::fprintf(stderr, "tavolin-snapshot: Tavolin did not end when closed\n");
        return 1;
    }
    if (app.HasCrashReport()) {
        std::fprintf(stderr, "tavolin-snapshot: Tavolin crashed:\n%s\n", app.Log().c_str());
        return 1;
    }
    return code == 0 ? 0 : 1;
}
