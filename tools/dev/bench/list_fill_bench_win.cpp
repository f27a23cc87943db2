// Prints how long filling the track list takes one line at a time (AddItem,
// which runs the scroll upkeep after every line) and in one batch
// (AppendListLines), for a full disc's worth of lines.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/controls_win.h"
#include "ui/window_context_win.h"

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? atoi(argv[1]) : 3686;
    WindowContext* context = CreateWindowContext(GetModuleHandleA(nullptr), "TAVOLINBENCH", 0);
    if (context == nullptr || !OpenMainWindow(context, 770, 650, "bench")) return 1;
    std::vector<std::string> texts;
    for (int i = 0; i < n; i++) {
        texts.push_back(std::to_string(i % 99 + 1) + " - Some Artist - Some Album - Track title number " +
                        std::to_string(i) + " 3:45 LP2 132kbps");
    }
    struct Line {
        const char* text;
        intptr_t itemData;
    };
    std::vector<Line> lines;
    for (int i = 0; i < n; i++) lines.push_back({texts[i].c_str(), i});

    auto newList = [&] {
        HWND list = CreateControl(context, CONTROL_LIST_BOX, 0, 0, 760, 240, "", 14, nullptr, nullptr);
        SetControlFont(context, list, 14, 5, 0, 0, "Arial");
        return list;
    };
    auto oneByOne = [&](HWND list) {
        for (int i = 0; i < n; i++) AddItem(context, list, texts[i].c_str(), i, 1);
    };
    auto batch = [&](HWND list) { AppendListLines(context, list, lines.data(), lines.size()); };
    // The plain batch without reserving storage first, for comparison.
    auto plainBatch = [&](HWND list) {
        SetRedraw(list, false);
        for (int i = 0; i < n; i++) SetListItemData(list, AddListString(list, texts[i].c_str()), i);
        SetRedraw(list, true);
        RefreshListScroll(context, FindControl(context, list));
    };
    auto timed = [&](auto fill) {
        HWND list = newList();
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        fill(list);
        QueryPerformanceCounter(&b);
        DestroyControl(context, list);
        return Seconds(a, b);
    };
    const bool skipOneByOne = argc > 2 && argv[2][0] == 's';
    for (int round = 0; round < 3; round++) {
        const double plain = timed(plainBatch);
        const double reserved = timed(batch);
        printf("lines %d: batch %.4f s, batch without LB_INITSTORAGE %.4f s\n", n, reserved, plain);
    }
    if (!skipOneByOne) printf("lines %d: one by one %.3f s\n", n, timed(oneByOne));
    DestroyWindow(MainWindowOf(context));
    DestroyWindowContext(context);
    return 0;
}
