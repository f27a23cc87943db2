#pragma once
// A test window that records the scan worker's messages, and the same
// records taken straight from the portable walk, so the two can be compared.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "index/disc_identity.h"
#include "index/scan_messages.h"
#include "index/scan_start_win.h"
#include "index/scan_walk.h"
#include "index/scan_worker_win.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "tools/lib/window_driver/window_driver_win.h"
#include "walk_recorder.h"

namespace scan_test {

// One message as the window saw it, with copies of what it carried.
struct ScanEvent {
    UINT message = 0;
    WPARAM wParam = 0;
    std::string text;  // the disc title, or the display line
    std::string artist, album, title, groupName;
    uint32_t trackNumber = 0;
    float length = 0;
    int32_t bitrate = 0;

    bool operator==(const ScanEvent&) const = default;
};

inline void PrintTo(const ScanEvent& e, std::ostream* os) {
    *os << "{" << e.message << " w=" << e.wParam << " '" << e.text << "' #" << e.trackNumber << "}";
}

inline ScanEvent TrackEvent(WPARAM slot, const TrackReport& r) {
    return {MSG_TRACK_FOUND, slot,        r.displayLine, r.artist,       r.album,
            r.title,         r.groupName, r.trackNumber, *r.trackLength, r.bitrate};
}

// What the scan must report for these file bytes: the portable walk over an
// image padded the way the worker pads it, then MSG_SCAN_DONE.
inline std::vector<ScanEvent> ExpectedEvents(const std::vector<uint8_t>& fileBytes) {
    std::vector<uint8_t> image(fileBytes);
    image.resize(image.size() + INDEX_IMAGE_PADDING);
    const WalkRecorder walk = Walk(image);
    std::vector<ScanEvent> events;
    // A sink hears the disc title before any track.
    for (const std::string& title : walk.discTitles) events.push_back({MSG_DISC_TITLE, 0, title});
    for (const ReportedTrack& t : walk.tracks)
        events.push_back({MSG_TRACK_FOUND, t.slot, t.displayLine, t.artist, t.album, t.title, t.groupName,
                          t.trackNumber, t.length, t.bitrate});
    events.push_back({MSG_SCAN_DONE});
    return events;
}

// A disc with a title, a titled and an untitled group, texts of every kind
// and several recording modes.
inline std::vector<uint8_t> DemoDisc() {
    index_image::IndexImageBuilder b;
    b.SetDiscTitle("Party Mix");
    b.AddGroup({1, 2, "Live"}).AddGroup({3, 3, ""});
    b.AddTrack({.slot = 0, .title = "Song", .artist = "Band", .album = "Tour"});
    b.AddTrack(
        {.slot = 1, .title = "Intro", .codecId = index_image::CODEC_HI_SP, .timing = {{1, 400, 0, 3}}});
    b.AddTrack({.slot = 2, .artist = "Only Artist", .codecId = index_image::CODEC_LP4});
    b.AddTrack({.slot = 3, .codecId = index_image::CODEC_HI_LP_48});
    b.AddTrack(
        {.slot = 4, .title = "Long", .codecId = index_image::CODEC_PCM, .timing = {{0, 40000, 0, 10}}});
    return b.Build();
}

// Track count 3, tracks in slots 0, 2 and 4, slots 1 and 3 empty.
inline std::vector<uint8_t> SparseDisc() {
    index_image::IndexImageBuilder b;
    b.AddTrack({.slot = 0, .title = "A"}).AddTrack({.slot = 2}).AddTrack({.slot = 4, .title = "C"});
    b.AddTrack({.slot = 6, .title = "never reached"});
    b.SetTrackCount(3);
    return b.Build();
}

// A top-level hidden window whose procedure records the three messages and
// calls the test's hook on each (after recording it); the disc identities
// it is told of are kept apart, as hex text ("" when not known).
class ScanWindow {
public:
    ScanWindow() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TavolinScanTestWindow";
        RegisterClassA(&wc);  // fails harmlessly when already registered
        hwnd = CreateWindowA("TavolinScanTestWindow", "scan test", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                             nullptr, wc.hInstance, this);
    }
    ~ScanWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
        MSG msg;  // leave nothing for the next test's window
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
    }

    // Pumps messages until MSG_SCAN_DONE arrives; false after the timeout.
    bool WaitForDone(DWORD timeoutMs = 5000) {
        const DWORD start = GetTickCount();
        while (!done) {
            const DWORD spent = GetTickCount() - start;
            if (spent >= timeoutMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent, QS_ALLINPUT);
            window_driver::PumpMessages();
        }
        return true;
    }

    // Pumps until a message posted now has arrived: whatever was queued or
    // sent before it has been handled.
    void Drain() {
        drained = false;
        PostMessageA(hwnd, WM_APP, 0, 0);
        MSG msg;
        while (!drained && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    }

    HWND hwnd = nullptr;
    std::vector<ScanEvent> events;
    std::vector<std::string> identities;
    bool done = false;
    bool drained = false;
    std::function<void(ScanWindow&, const ScanEvent&)> onEvent;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<ScanWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
        ScanEvent event;
        switch (message) {
        case MSG_DISC_TITLE: event = {message, wParam, reinterpret_cast<const char*>(lParam)}; break;
        case MSG_TRACK_FOUND:
            event = TrackEvent(wParam, *reinterpret_cast<const TrackReport*>(lParam));
            break;
        case MSG_SCAN_DONE:
            event = {message, wParam};
            event.text = lParam == 0 ? "" : "non-zero lParam";
            self->done = true;
            break;
        case WM_APP: self->drained = true; return 0;
        case MSG_DISC_IDENTITY: {
            char text[DISC_IDENTITY_TEXT_SIZE];
            FormatDiscIdentity(*reinterpret_cast<const DiscIdentity*>(lParam), text);
            self->identities.push_back(text);
            return 0;
        }
        default: return DefWindowProcA(hwnd, message, wParam, lParam);
        }
        self->events.push_back(event);
        if (self->onEvent) self->onEvent(*self, event);
        return 0;
    }
};

// Waits until no scan runs (the worker clears its marker on the way out).
inline bool WaitForIdle(DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    while (gScan.running.load() != nullptr) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(1);
    }
    return true;
}

}  // namespace scan_test
