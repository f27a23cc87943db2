// scan_full: the real scan worker over an index image of N tracks, its
// messages handled by the main window's own handlers, until the listing is
// built and sorted. scan_floor: the same number of sent messages from a
// second thread that do no work, and the posted end; what any scan that
// sends one message per track costs at least. startup_ready: tavolin.exe
// from process start until its window takes input.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/commands_win.h"
#include "app/main_window_win.h"
#include "base/file_system_win.h"
#include "bench_scan_win.h"
#include "base/messages.h"
#include "index/scan_start_win.h"
#include "listing/track_catalogue.h"
#include "tools/lib/app_driver/app_driver_win.h"
#include "tools/lib/index_image/hostile_discs.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "tools/lib/window_driver/window_driver_win.h"
#include "ui/controls_win.h"

namespace {

constexpr UINT FLOOR_DONE = WM_APP + 1;
constexpr int STARTUP_RUNS = 3;

std::vector<uint8_t> ScanImage(uint32_t trackCount) {
    index_image::IndexImageBuilder b;
    b.SetDiscTitle("Bench Disc");
    for (uint32_t first = 1; first <= trackCount; first += 100)
        b.AddGroup({uint16_t(first), uint16_t(first + 99 < trackCount ? first + 99 : trackCount),
                    "Group " + std::to_string(first / 100 + 1)});
    for (uint32_t slot = 0; slot < trackCount; ++slot) {
        index_image::TrackDescription t;
        t.slot = slot;
        t.title = "Title " + std::to_string(slot + 1);
        t.timing = {{uint16_t(slot % 50), uint16_t(slot % 50 + 5), 0, 5}};
        b.AddTrack(t);
    }
    return b.Build();
}

bool WriteImage(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE f = OpenFileByPath(path.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD n = 0;
    const bool ok = WriteFile(f, bytes.data(), DWORD(bytes.size()), &n, nullptr) && n == bytes.size();
    return CloseHandle(f) && ok;
}

// Dispatches this thread's messages until one with the given id has been
// dispatched (or, for a posted one not meant for a window, taken). A WM_QUIT
// left by an earlier window is passed over.
void PumpUntil(UINT last) {
    MSG msg;
    for (;;) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        if (msg.message == last) return;
    }
}

HWND gFloorWindow = nullptr;
uint32_t gFloorCount = 0;

DWORD WINAPI FloorSender(LPVOID) {
    for (uint32_t i = 0; i < gFloorCount; ++i) SendMessageA(gFloorWindow, WM_NULL, i, 0);
    PostMessageA(gFloorWindow, FLOOR_DONE, 0, 0);
    return 0;
}

// From a thread of its own, sends WM_NULL to the window every 20 ms and
// keeps the slowest answer.
class AnswerWatch {
public:
    explicit AnswerWatch(HWND window)
        : thread_([this, window] {
              while (isRunning_) {
                  const auto start = std::chrono::steady_clock::now();
                  DWORD_PTR result = 0;
                  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
                  const double ms =
                      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                          .count();
                  slowestMs_ = std::max(slowestMs_.load(), ms);
                  Sleep(20);
              }
          }) {}
    double Stop() {
        isRunning_ = false;
        thread_.join();
        return slowestMs_;
    }

private:
    std::atomic<bool> isRunning_{true};
    std::atomic<double> slowestMs_{0};
    std::thread thread_;
};

// Get Tracks until the listing is there or the scan's error box came and
// was answered.
void GetTracksToTheEnd(const app_driver::Tavolin& app) {
    namespace wd = window_driver;
    const HWND button = app.Controls().getTracks;
    wd::PendingClick click(button);
    HWND box = nullptr;
    wd::WaitFor(
        [&] {
            box = wd::FindMessageBox(SCAN_FAILED_TITLE, app.ProcessId());
            return box != nullptr || (click.IsReturned() && wd::ReadWindowText(button) == "Get Tracks...");
        },
        60000);
    if (box) {
        wd::AnswerMessageBox(box);
        wd::WaitFor([&] { return click.IsReturned(); });
    }
}

// slowest_answer: the program's slowest answer while Get Tracks runs over
// each hostile recorder in turn (an index empty, cut short, of 64 MiB or the
// fullest disc, as the newest beside an older one; 256 generations; a marker
// with no index), the recorder on C:, the first drive the program tries.
int RunSlowestAnswerCase() {
    const char drive = 'C';
    const std::string folder = "C:\\HMDHIFI";
    std::vector<std::vector<app_driver::IndexFile>> recorders;
    for (index_image::HostileIndex& row : index_image::HostileIndexes())
        recorders.push_back({{0, index_image::SmallDisc("Older"), 0}, {1, std::move(row.bytes), 5}});
    recorders.emplace_back();
    for (unsigned n = 0; n < 256; ++n)
        recorders.back().push_back(
            {n, index_image::SmallDisc("Generation " + std::to_string(n), 2), n == 0x9c ? 1000 : int(n)});
    recorders.emplace_back();

    app_driver::Tavolin app;
    if (!app.Start()) {
        std::fprintf(stderr, "tavolin-bench: %s\n", app.Error().c_str());
        return 1;
    }
    AnswerWatch watch(app.Window());
    for (const auto& files : recorders) {
        window_driver::RemoveTree(folder, true);
        app_driver::WriteRecorder(drive, files);
        GetTracksToTheEnd(app);
    }
    const double slowest = watch.Stop();
    DWORD code = 0;
    app.Close(5000, &code);
    window_driver::RemoveTree(folder, true);
    std::printf("slowest_answer %.1f\n", slowest);
    return 0;
}

std::string FolderOfThisProgram() {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\'));
}

}  // namespace

int RunScanCases(const BenchOptions& o) {
    int exitCode = 0;
    WindowContext* context = StartMainWindow(GetModuleHandleA(nullptr), &exitCode);
    if (context == nullptr) {
        std::fprintf(stderr, "tavolin-bench: cannot open the main window\n");
        return 1;
    }
    HWND window = MainWindowOf(context);
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string path = std::string(temp) + "tavolin-bench-scan.hma";
    if (!WriteImage(path, ScanImage(o.trackCount))) {
        std::fprintf(stderr, "tavolin-bench: cannot write %s\n", path.c_str());
        return 1;
    }

    int mismatches = 0;
    std::vector<double> full, floor;
    for (int run = 0; run < o.fastRuns; ++run) {
        // Alternated, so both see the same machine load.
        floor.push_back(MedianMs(
            1, [&] {},
            [&] {
                gFloorWindow = window;
                gFloorCount = o.trackCount;
                HANDLE thread = CreateThread(nullptr, 0, FloorSender, nullptr, 0, nullptr);
                PumpUntil(FLOOR_DONE);
                WaitForSingleObject(thread, INFINITE);
                CloseHandle(thread);
            }));
        full.push_back(MedianMs(
            1,
            [&] {
                ClearCatalogue();
                ClearList(gMainWindow.trackList);
            },
            [&] {
                if (!StartScanOfFile(window, path.c_str(), StartSuspendedThread)) {
                    ++mismatches;
                    return;
                }
                PumpUntil(MSG_SCAN_DONE);
            }));
        if (uint32_t(GetListCount(gMainWindow.trackList)) != o.trackCount) ++mismatches;
    }
    std::sort(full.begin(), full.end());
    std::sort(floor.begin(), floor.end());
    const double f = full[full.size() / 2], b = floor[floor.size() / 2];
    std::printf("scan_full %.2f\nscan_floor %.2f\nscan_ratio %.2f\n", f, b, b > 0 ? f / b : 0.0);
    std::fflush(stdout);
    DestroyWindow(window);
    DestroyWindowContext(context);
    DeletePath(path.c_str());

    // Start-up of the real program, beside this one's folder.
    const std::string exe = FolderOfThisProgram() + "\\..\\tavolin.exe";
    SetEnvironmentVariableA("TAVOLIN_EXE", exe.c_str());
    std::vector<double> starts;
    for (int run = 0; run < STARTUP_RUNS; ++run) {
        app_driver::Tavolin app;
        if (!app.Start()) {
            std::fprintf(stderr, "tavolin-bench: %s\n", app.Error().c_str());
            return mismatches + 1;
        }
        starts.push_back(app.StartMs());
        DWORD code = 0;
        app.Close(5000, &code);
    }
    std::sort(starts.begin(), starts.end());
    std::printf("startup_ready %.0f\n", starts[starts.size() / 2]);
    std::fflush(stdout);
    mismatches += RunSlowestAnswerCase();
    if (mismatches) std::fprintf(stderr, "tavolin-bench: the scan did not list every track\n");
    return mismatches;
}
