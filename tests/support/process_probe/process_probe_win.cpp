#include "support/process_probe/process_probe_win.h"

#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace process_probe {
namespace {

// The 64-bit process environment block keeps the address of the process's
// GDI handle table here. The table has 0x10000 entries of 24 bytes: the
// owner's process id (16 bits) at byte 8 and the object type at byte 14, 0
// for a free entry. Wine keeps one table per process and leaves the owner 0;
// Windows shares one table and fills it in.
constexpr size_t PEB_GDI_TABLE_OFFSET = 0xF8;
constexpr size_t GDI_TABLE_ENTRIES = 0x10000;
constexpr size_t GDI_ENTRY_SIZE = 24;
constexpr size_t GDI_ENTRY_OWNER = 8;
constexpr size_t GDI_ENTRY_TYPE = 14;
constexpr uint8_t GDI_TYPE_MASK = 0x1F;
constexpr uint8_t GDI_TYPE_DC = 0x01;
constexpr uint8_t GDI_TYPE_BITMAP = 0x05;
constexpr uint8_t GDI_TYPE_FONT = 0x0A;

bool CountGdiObjects(HANDLE process, DWORD processId, Figures* figures) {
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0)
        return false;
    uint64_t table = 0;
    SIZE_T got = 0;
    if (!ReadProcessMemory(process,
                           reinterpret_cast<const uint8_t*>(basic.PebBaseAddress) + PEB_GDI_TABLE_OFFSET,
                           &table, sizeof table, &got) ||
        table == 0)
        return false;
    std::vector<uint8_t> entries(GDI_TABLE_ENTRIES * GDI_ENTRY_SIZE);
    if (!ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(), entries.size(),
                           &got) ||
        got != entries.size())
        return false;
    const uint16_t owner = uint16_t(processId);
    for (size_t i = 0; i < GDI_TABLE_ENTRIES; ++i) {
        const uint8_t* entry = &entries[i * GDI_ENTRY_SIZE];
        const uint8_t rawType = entry[GDI_ENTRY_TYPE];
        const uint8_t type = rawType & GDI_TYPE_MASK;
        const uint16_t entryOwner = uint16_t(entry[GDI_ENTRY_OWNER] | entry[GDI_ENTRY_OWNER + 1] << 8);
        if (type == 0 || (entryOwner != 0 && entryOwner != owner)) continue;
        ++figures->gdiObjects;
        ++figures->byType[rawType];
        if (type == GDI_TYPE_FONT) ++figures->fonts;
        if (type == GDI_TYPE_DC) ++figures->dcs;
        if (type == GDI_TYPE_BITMAP) ++figures->bitmaps;
    }
    return true;
}

struct WindowCount {
    DWORD processId;
    Figures* figures;
};

BOOL CALLBACK CountChild(HWND, LPARAM param) {
    ++reinterpret_cast<WindowCount*>(param)->figures->childWindows;
    return TRUE;
}

BOOL CALLBACK CountTop(HWND window, LPARAM param) {
    WindowCount* count = reinterpret_cast<WindowCount*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == count->processId) {
        ++count->figures->topWindows;
        EnumChildWindows(window, CountChild, param);
    }
    return TRUE;
}

int CountThreads(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int n = 0;
    if (Thread32First(snapshot, &entry)) {
        do
            if (entry.th32OwnerProcessID == processId) ++n;
        while (Thread32Next(snapshot, &entry));
    }
    CloseHandle(snapshot);
    return n;
}

}  // namespace

bool ReadFigures(DWORD processId, Figures* figures) {
    *figures = {};
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return false;
    bool isRead = CountGdiObjects(process, processId, figures);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        // Wine reports the private bytes as the page-file use and leaves
        // PrivateUsage 0; on Windows the two are the same.
        figures->privateBytes =
            memory.PrivateUsage > memory.PagefileUsage ? memory.PrivateUsage : memory.PagefileUsage;
    else
        isRead = false;
    CloseHandle(process);
    WindowCount count = {processId, figures};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&count));
    figures->threads = CountThreads(processId);
    return isRead && figures->threads > 0;
}

std::string Describe(const Figures& f) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "windows %d+%d, threads %d, GDI %d (fonts %d, DCs %d, bitmaps %d), private %.2f MiB",
                  f.topWindows, f.childWindows, f.threads, f.gdiObjects, f.fonts, f.dcs, f.bitmaps,
                  f.privateBytes / 1048576.0);
    return text;
}

std::string GdiDifference(const Figures& before, const Figures& after) {
    std::map<int, int> types = before.byType;
    types.insert(after.byType.begin(), after.byType.end());
    std::string out;
    for (const auto& [type, unused] : types) {
        const auto was = before.byType.find(type), is = after.byType.find(type);
        const int a = was == before.byType.end() ? 0 : was->second,
                  b = is == after.byType.end() ? 0 : is->second;
        if (a == b) continue;
        char line[64];
        std::snprintf(line, sizeof line, "%stype 0x%02x: %d -> %d", out.empty() ? "" : ", ", type, a, b);
        out += line;
    }
    return out;
}

void ResponseWatch::Start(HWND window, DWORD limitMs, DWORD intervalMs) {
    Stop();
    probes_ = 0;
    misses_ = 0;
    slowestUs_ = 0;
    slowestSinceUs_ = 0;
    isRunning_ = true;
    thread_ = std::thread([this, window, limitMs, intervalMs] {
        while (isRunning_.load()) {
            const auto start = std::chrono::steady_clock::now();
            DWORD_PTR result = 0;
            const bool isAnswered =
                SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, limitMs, &result) != 0;
            const long long us = std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count();
            ++probes_;
            if (!isAnswered) ++misses_;
            if (us > slowestUs_.load()) slowestUs_ = us;
            if (us > slowestSinceUs_.load()) slowestSinceUs_ = us;
            Sleep(intervalMs);
        }
    });
}

void ResponseWatch::Stop() {
    isRunning_ = false;
    if (thread_.joinable()) thread_.join();
}

}  // namespace process_probe
