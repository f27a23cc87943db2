#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "index/locate.h"

// State shared by StartScan (window thread) and the scan worker. StartScan
// writes the window, the path and the stop flag before the worker runs; the
// worker only reads them, sets the stop flag at its end and clears the
// marker of its own scan.
struct ScanState {
    std::atomic<HANDLE> running{nullptr};  // the worker's thread handle; null while no scan runs
    std::atomic<int32_t> stop{0};          // 0 while a scan runs, 1 from its end on
    HWND notifyWindow = nullptr;
    char indexPath[INDEX_PATH_SIZE] = {};
};
extern ScanState gScan;
