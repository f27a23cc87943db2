#include "index/scan_start_win.h"

#include <cstring>

#include "index/locate_win.h"
#include "index/scan_worker_win.h"

ScanState gScan;

HANDLE StartSuspendedThread(LPTHREAD_START_ROUTINE entry) {
    return CreateThread(nullptr, 0, entry, nullptr, CREATE_SUSPENDED, nullptr);
}

// The thread starts suspended and runs only once its handle is the marker:
// the worker compares the marker with its own handle before clearing it, so
// even a scan that ends at once finds its handle there and a finished scan
// never clears the marker of a newer one.
int StartScanOfFile(HWND window, const char* indexPath, ScanThreadStarter starter) {
    if (gScan.running.load() != nullptr) return 1;
    if (strlen(indexPath) >= SCAN_PATH_SIZE) return 0;
    gScan.notifyWindow = window;
    gScan.stop.store(0);
    strcpy(gScan.indexPath, indexPath);

    HANDLE thread = starter(ScanWorker);
    if (thread == nullptr) {
        gScan.stop.store(1);
        return 0;
    }
    gScan.running.store(thread);
    if (ResumeThread(thread) == static_cast<DWORD>(-1)) {
        // It never ran, so it posts nothing; the caller reports the failure.
        TerminateThread(thread, 0);
        CloseHandle(thread);
        gScan.running.store(nullptr);
        gScan.stop.store(1);
        return 0;
    }
    return 1;
}

int StartScan(HWND window) {
    if (gScan.running.load() != nullptr) return 1;
    char directory[INDEX_DIRECTORY_SIZE];
    uint32_t number = 0;
    if (!LocateRecorderIndex(directory, &number)) return 0;
    char path[INDEX_PATH_SIZE];
    if (!FormatIndexPath(path, sizeof path, directory, number)) return 0;
    return StartScanOfFile(window, path, StartSuspendedThread);
}
