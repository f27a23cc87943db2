#pragma once
#include <windows.h>

#include "index/scan_state_win.h"

// Starts a scan of the newest index, notifying the window. Returns 1 when a
// scan was started or one is running already, 0 when no index was found or
// the worker could not be started (no MSG_SCAN_DONE follows a 0).
int StartScan(HWND window);

// Creates the worker's thread suspended; null when it can't be created.
using ScanThreadStarter = HANDLE (*)(LPTHREAD_START_ROUTINE entry);
HANDLE StartSuspendedThread(LPTHREAD_START_ROUTINE entry);

// StartScan's second half, for a known index path: the same results.
int StartScanOfFile(HWND window, const char* indexPath, ScanThreadStarter starter);
