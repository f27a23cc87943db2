// Watches another process from a test: the figures that show a leak (its
// windows, threads, live GDI objects by kind, private bytes) and how fast
// its main window answers a message.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <map>
#include <string>
#include <thread>

namespace process_probe {

struct Figures {
    int topWindows = 0;    // top-level windows of the process, hidden ones too
    int childWindows = 0;  // their descendants
    int threads = 0;
    int gdiObjects = 0;  // live entries of the process's GDI handle table
    int fonts = 0;
    int dcs = 0;
    int bitmaps = 0;
    std::map<int, int> byType;  // live objects by the table's type byte
    size_t privateBytes = 0;
};

// Reads the figures of the process; false when it cannot be opened or read.
bool ReadFigures(DWORD processId, Figures* figures);
// "windows 3+41, threads 2, GDI 57 (fonts 9, DCs 4, bitmaps 3), private 5.20 MiB"
std::string Describe(const Figures& figures);
// The GDI object kinds whose counts differ: "type 0x10: 12 -> 15", or "".
std::string GdiDifference(const Figures& before, const Figures& after);

// From a thread of its own, sends WM_NULL to a window every interval and
// notes the slowest answer; a window that does not answer within the limit
// counts as a miss, as does one that is gone.
class ResponseWatch {
public:
    ResponseWatch() = default;
    ~ResponseWatch() { Stop(); }
    ResponseWatch(const ResponseWatch&) = delete;
    ResponseWatch& operator=(const ResponseWatch&) = delete;

    void Start(HWND window, DWORD limitMs = 1000, DWORD intervalMs = 20);
    void Stop();

    int Probes() const { return probes_.load(); }
    int Misses() const { return misses_.load(); }
    double SlowestMs() const { return slowestUs_.load() / 1000.0; }
    // The slowest answer since the last call (or the start), for figures by phase.
    double TakeSlowestSinceMs() { return slowestSinceUs_.exchange(0) / 1000.0; }

private:
    std::thread thread_;
    std::atomic<bool> isRunning_{false};
    std::atomic<int> probes_{0};
    std::atomic<int> misses_{0};
    std::atomic<long long> slowestUs_{0};
    std::atomic<long long> slowestSinceUs_{0};
};

}  // namespace process_probe
