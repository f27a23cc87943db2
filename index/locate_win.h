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

// The recorder's index directory (at least INDEX_DIRECTORY_SIZE bytes) and
// the number of its newest index file. Returns 1, or 0 with both untouched.
int IndexLocator(char* directory, uint32_t* number);

// Starts a scan of the newest index, notifying the window. Returns 1 when a
// scan was started or one is running already, 0 when no index was found or
// the worker could not be started (no MSG_SCAN_DONE follows a 0).
int StartScan(HWND window);

// Creates the worker's thread suspended; null when it can't be created.
using ScanThreadStarter = HANDLE (*)(LPTHREAD_START_ROUTINE entry);
HANDLE StartSuspendedThread(LPTHREAD_START_ROUTINE entry);

// StartScan's second half, for a known index path: the same results.
int StartScanOfFile(HWND window, const char* indexPath, ScanThreadStarter starter);
