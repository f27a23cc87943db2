#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "index/locate.h"

// Bytes of the path a scan reads: a Win32 path of up to 259 UTF-16 units
// (a recorder copy's folder may be named in any script) is at most three
// UTF-8 bytes a unit.
constexpr size_t SCAN_PATH_SIZE = 3 * (INDEX_PATH_SIZE - 1) + 1;

// State shared by StartScan (window thread) and the scan worker. StartScan
// writes the window, the path and the stop flag before the worker runs; the
// worker only reads them, sets the stop flag at its end and clears the
// marker of its own scan.
struct ScanState {
    std::atomic<HANDLE> running{nullptr};  // the worker's thread handle; null while no scan runs
    std::atomic<int32_t> stop{0};          // 0 while a scan runs, 1 from its end on
    HWND notifyWindow = nullptr;
    char indexPath[SCAN_PATH_SIZE] = {};
};
extern ScanState gScan;
