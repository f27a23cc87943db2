#include "index/scan_worker_win.h"

#include <cstring>
#include <string>

#include "index/disc_identity.h"
#include "index/locate_copy_win.h"
#include "index/scan_state_win.h"
#include "index/scan_walk.h"
#include "base/file_system_win.h"
#include "base/scoped_win.h"

namespace {

// Forwards the walk's findings to the window. Both messages are sent, so the
// texts and the report stay valid until the window has copied them.
class WindowSink : public ScanSink {
public:
    explicit WindowSink(HWND window) : window_(window) {}

    void OnDiscTitle(const char* title) override {
        SendMessageA(window_, MSG_DISC_TITLE, 0, reinterpret_cast<LPARAM>(title));
    }

    void OnTrackFound(uint32_t slot, const TrackReport& report) override {
        SendMessageA(window_, MSG_TRACK_FOUND, slot, reinterpret_cast<LPARAM>(&report));
    }

private:
    HWND window_;
};

// The identity in the disc list beside the index. At most
// DISC_LIST_READ_SIZE bytes are read, and a list that is missing, short or
// unreadable leaves the identity unknown: it never stops the scan.
DiscIdentity ReadDiscIdentityBeside(const char* indexPath) {
    std::string listPath;
    uint8_t bytes[DISC_LIST_READ_SIZE] = {};
    DWORD got = 0;
    if (FindDiscListPath(indexPath, listPath)) {
        ScopedHandle list(OpenFileByPath(listPath.c_str(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
        if (list.IsValid() && !ReadFile(list.Get(), bytes, sizeof bytes, &got, nullptr)) got = 0;
    }
    return ReadDiscIdentity(bytes, got);
}

}  // namespace

DWORD WINAPI ScanWorker(LPVOID) {
    // StartScan stored the handle before letting this thread run; this
    // thread owns it from here on.
    ScopedHandle self(gScan.running.load());
    HWND window = gScan.notifyWindow;

    // Shared for reading only: while the scan runs nobody can open the index
    // for writing. The path is UTF-8 (a copy's folder may have any name).
    ScopedHandle file(OpenFileByPath(gScan.indexPath, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    uint8_t* image = nullptr;
    size_t imageSize = 0;
    if (file.IsValid()) {
        LARGE_INTEGER size;
        if (!GetFileSizeEx(file.Get(), &size)) size.QuadPart = 0;
        const DWORD toRead =
            size.QuadPart > INDEX_READ_LIMIT ? INDEX_READ_LIMIT : static_cast<DWORD>(size.QuadPart);
        imageSize = static_cast<size_t>(toRead) + INDEX_IMAGE_PADDING;
        image = static_cast<uint8_t*>(LocalAlloc(LMEM_ZEROINIT, imageSize));
        if (image != nullptr) {
            DWORD got = 0;
            // A short read is scanned as it stands: the rest stays zero.
            if (!ReadFile(file.Get(), image, toRead, &got, nullptr) || got == 0) {
                // A read that fails part-way may have left bytes behind: the
                // scan then runs over an all-zero image, as for no bytes.
                memset(image, 0, imageSize);
                file.Close();
            }
        }
    }

    if (image != nullptr) {
        ScopedLocalMemory<uint8_t> imageMemory(image);
        const TrackIndexFile index = {image, imageSize};
        const DiscIdentity identity = ReadDiscIdentityBeside(gScan.indexPath);
        SendMessageA(window, MSG_DISC_IDENTITY, 0, reinterpret_cast<LPARAM>(&identity));
        WindowSink sink(window);
        WalkTrackIndex(index, gScan.stop, sink);
    }

    gScan.stop.store(1);
    // The marker goes before MSG_SCAN_DONE is posted: once the window has
    // handled it, the next StartScan always starts. Only this scan's own
    // marker is cleared.
    HANDLE mine = self.Get();
    gScan.running.compare_exchange_strong(mine, nullptr);
    PostMessageA(window, MSG_SCAN_DONE, 0, 0);
    // The thread's own handle is closed, then the file's.
    self.Close();
    return 0;
}
