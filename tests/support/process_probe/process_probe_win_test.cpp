// The process probe against a second copy of this program (started with
// --serve), which makes and frees fonts, child windows and memory and stalls
// its window on request: each change must show in the figures read from
// outside, as the endurance scenarios read them from tavolin.exe.
#include "support/process_probe/process_probe_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tools/lib/window_driver/window_driver_win.h"

namespace {

namespace pp = process_probe;

constexpr char SERVER_CLASS[] = "TAVOLINPROBESERVER";
constexpr UINT MAKE_FONTS = WM_APP + 1;  // wParam fonts
constexpr UINT FREE_FONTS = WM_APP + 2;
constexpr UINT MAKE_CHILDREN = WM_APP + 3;  // wParam static controls
constexpr UINT FREE_CHILDREN = WM_APP + 4;
constexpr UINT TAKE_MEMORY = WM_APP + 5;  // wParam MiB, touched
constexpr UINT FREE_MEMORY = WM_APP + 6;
constexpr UINT STALL = WM_APP + 7;  // wParam ms without answering

// ---- The server side ----

std::vector<HFONT> gFonts;
std::vector<HWND> gChildren;
std::vector<std::vector<char>> gMemory;

LRESULT CALLBACK ServerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case MAKE_FONTS:
        for (WPARAM i = 0; i < wParam; ++i)
            gFonts.push_back(CreateFontA(14, 5, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Arial"));
        return 1;
    case FREE_FONTS:
        for (HFONT font : gFonts) DeleteObject(font);
        gFonts.clear();
        return 1;
    case MAKE_CHILDREN:
        for (WPARAM i = 0; i < wParam; ++i)
            gChildren.push_back(CreateWindowA("Static", "child", WS_CHILD | WS_VISIBLE, 0, int(20 * i), 100,
                                              20, window, nullptr, nullptr, nullptr));
        return 1;
    case FREE_CHILDREN:
        for (HWND child : gChildren) DestroyWindow(child);
        gChildren.clear();
        return 1;
    case TAKE_MEMORY: gMemory.emplace_back(wParam << 20, 'm'); return 1;
    case FREE_MEMORY:
        gMemory.clear();
        gMemory.shrink_to_fit();
        return 1;
    case STALL: Sleep(DWORD(wParam)); return 1;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int Serve() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ServerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = SERVER_CLASS;
    if (!RegisterClassA(&windowClass)) return 2;
    if (!CreateWindowA(SERVER_CLASS, "Probe server", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 300,
                       nullptr, nullptr, windowClass.hInstance, nullptr))
        return 3;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

// ---- The watching side ----

TEST(ProcessProbe, SeesWhatAnotherProcessTakesAndGivesBack) {
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string command = std::string("\"") + exe + "\" --serve";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION server = {};
    ASSERT_TRUE(
        CreateProcessA(exe, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &server));
    const HWND window = window_driver::WaitForTopWindow(SERVER_CLASS, nullptr, server.dwProcessId, 10000);
    ASSERT_NE(window, nullptr);
    auto send = [&](UINT message, WPARAM wParam = 0) { SendMessageA(window, message, wParam, 0); };
    auto read = [&] {
        pp::Figures figures;
        EXPECT_TRUE(pp::ReadFigures(server.dwProcessId, &figures));
        return figures;
    };

    const pp::Figures start = read();
    std::printf("server at start: %s\n", pp::Describe(start).c_str());
    EXPECT_GE(start.topWindows, 1);
    EXPECT_GE(start.threads, 1);

    send(MAKE_FONTS, 25);
    send(MAKE_CHILDREN, 3);
    send(TAKE_MEMORY, 32);
    const pp::Figures taken = read();
    EXPECT_EQ(taken.fonts, start.fonts + 25);
    EXPECT_GE(taken.gdiObjects, start.gdiObjects + 25);
    EXPECT_EQ(taken.childWindows, start.childWindows + 3);
    EXPECT_GE(taken.privateBytes, start.privateBytes + (30u << 20));

    send(FREE_FONTS);
    send(FREE_CHILDREN);
    send(FREE_MEMORY);
    const pp::Figures given = read();
    EXPECT_EQ(given.fonts, start.fonts);
    // The children's painting makes and frees objects of its own, so only
    // the fonts are counted exactly.
    EXPECT_LT(given.gdiObjects, taken.gdiObjects);
    EXPECT_EQ(given.childWindows, start.childWindows);
    EXPECT_LE(given.privateBytes, taken.privateBytes - (30u << 20));

    // The watch counts a stall past its limit as a miss, and only that.
    pp::ResponseWatch watch;
    watch.Start(window, 300, 10);
    ASSERT_TRUE(window_driver::WaitFor([&] { return watch.Probes() >= 5; }));
    EXPECT_EQ(watch.Misses(), 0);
    EXPECT_LT(watch.SlowestMs(), 300);
    PostMessageA(window, STALL, 800, 0);
    ASSERT_TRUE(window_driver::WaitFor([&] { return watch.Misses() > 0; }));
    watch.Stop();
    EXPECT_GE(watch.SlowestMs(), 300);

    PostMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(server.hProcess, 5000), WAIT_OBJECT_0);
    CloseHandle(server.hProcess);
    CloseHandle(server.hThread);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--serve") == 0) return Serve();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
