#include "index/scan_worker_win.h"

#include <cstring>
#include <string>
#include <vector>

#include "index/disc_identity.h"
#include "index/index_read.h"
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

// The index file through the open handle: one ReadFile, as a short read is
// scanned as it stands.
class HandleSource : public IndexFileSource {
public:
    explicit HandleSource(HANDLE file) : file_(file) {}

    bool Size(uint64_t& size) override {
        LARGE_INTEGER n;
        if (!GetFileSizeEx(file_, &n) || n.QuadPart < 0) return false;
        size = uint64_t(n.QuadPart);
        return true;
    }

    bool Read(uint8_t* bytes, size_t n, size_t& got) override {
        DWORD read = 0;
        const BOOL isRead = ReadFile(file_, bytes, DWORD(n), &read, nullptr);
        got = read;
        return isRead != FALSE;
    }

private:
    HANDLE file_;
};

}  // namespace

DWORD WINAPI ScanWorker(LPVOID) {
    // StartScan stored the handle before letting this thread run; this
    // thread owns it from here on.
    ScopedHandle self(gScan.running.load());
    HWND window = gScan.notifyWindow;

    // Shared for reading only: while the scan runs nobody can open the index
    // for writing. The path is UTF-8 (a copy's folder may have any name).
    ScopedHandle file(OpenFileByPath(gScan.indexPath, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING));
    std::vector<uint8_t> image;
    bool hasImage = false;
    if (file.IsValid()) {
        // Whatever the read gave is scanned: a short file's bytes as they
        // stand, an unreadable one as an all-zero image.
        HandleSource source(file.Get());
        hasImage = ReadIndexImage(source, INDEX_READ_LIMIT, INDEX_IMAGE_PADDING, image) !=
                   IndexReadResult::NO_MEMORY;
    }

    if (hasImage) {
        const TrackIndexFile index = {image.data(), image.size()};
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
