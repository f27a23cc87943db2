// Hostile recorders against the real tavolin.exe, driven from this process
// in the prefix of app_prefix.sh: empty, cut short, huge, locked, vanishing
// and full index files. Every Get Tracks must end in the listing (as
// tavolin-list reads the same folder) or in the scan's error box, the window
// must never stop answering messages, and no scan may be left running (its
// thread gone, the button back to its caption). How fast it answered is
// printed; tavolin-bench's slowest_answer measures it over the same recorders.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "e2e_support_win.h"
#include "tools/lib/app_driver/app_driver_win.h"
#include "tools/lib/index_image/hostile_discs.h"
#include "support/process_probe/process_probe_win.h"
#include "tools/lib/app_driver/app_driver_win.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "tools/lib/window_driver/window_driver_win.h"

namespace {

namespace wd = window_driver;
namespace pp = process_probe;
using namespace e2e;
using app_driver::Tavolin;
using index_image::SmallDisc;

constexpr char DRIVE = app_driver::REMOVABLE_DRIVE;

std::string RecorderFolder() { return std::string(1, DRIVE) + ":\\HMDHIFI"; }
std::string IndexPath(unsigned number) {
    char name[32];
    std::snprintf(name, sizeof name, "\\TRKIDX%02x.HMA", number);
    return RecorderFolder() + name;
}

// How one Get Tracks ended.
struct Outcome {
    bool isListed = false;   // the scan ran to its end
    bool isRefused = false;  // the scan's error box came, and was answered
    std::string message;     // its text
    std::string buttonAfter;
};

// Clicks Get Tracks without blocking on the box its handler may open, and
// waits for either end: the error box (answered, then the handler returns
// and the button reads "Get Tracks"), or the handler's return followed by
// the scan's end (the button's caption back).
Outcome GetTracks(Tavolin& app, DWORD timeoutMs = 30000) {
    Outcome outcome;
    const HWND button = app.Controls().getTracks;
    wd::PendingClick click(button);
    HWND box = nullptr;
    wd::WaitFor(
        [&] {
            box = wd::FindMessageBox(SCAN_FAILED_TITLE, app.ProcessId());
            return box != nullptr || click.IsReturned();
        },
        timeoutMs);
    if (box) {
        outcome.isRefused = true;
        outcome.message = wd::MessageBoxText(box);
        wd::AnswerMessageBox(box);
        wd::WaitFor([&] { return click.IsReturned(); });
    } else if (click.IsReturned()) {
        outcome.isListed = wd::WaitFor([&] { return Text(button) == GET_TRACKS_TEXT; }, timeoutMs);
    }
    outcome.buttonAfter = Text(button);
    return outcome;
}

// The worker's thread has ended: the process is back to its idle count.
bool NoScanRunning(const Tavolin& app, int idleThreads) {
    return wd::WaitFor([&] {
        pp::Figures f;
        return pp::ReadFigures(app.ProcessId(), &f) && f.threads <= idleThreads;
    });
}

// The shown lines are tavolin-list's lines of the same folder, and the
// caption its disc title.
void ExpectToolListing(const Tavolin& app) {
    app_driver::Listing listing;
    ASSERT_TRUE(app_driver::ListWithTool(DRIVE, &listing));
    ExpectToolLines(app, listing);
    if (!listing.discTitle.empty()) {
        EXPECT_EQ(app.Caption(), CaptionWith(listing.discTitle));
    }
}

// Holds a file open the way another program might: no sharing at all.
class FileLock {
public:
    explicit FileLock(const std::string& path)
        : file_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                            nullptr)) {}
    ~FileLock() {
        if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    }
    bool IsHeld() const { return file_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE file_;
};

class HostileRecorders : public ::testing::Test {
protected:
    void SetUp() override {
        EmptyAllDrives();
        ASSERT_TRUE(app_.Start()) << app_.Error();
        pp::Figures idle;
        ASSERT_TRUE(pp::ReadFigures(app_.ProcessId(), &idle));
        idleThreads_ = idle.threads;
        watch_.Start(app_.Window(), HANG_LIMIT_MS);
    }

    void TearDown() override {
        ExpectNoHang(watch_);
        CloseAndCheck(app_, "at the end");
        MoveFileA((RecorderFolder() + ".away").c_str(), RecorderFolder().c_str());
    }

    // One Get Tracks that must end in the listing, with no scan left.
    void ExpectListed(const char* what) {
        SCOPED_TRACE(what);
        const Outcome outcome = GetTracks(app_);
        EXPECT_TRUE(outcome.isListed)
            << "button reads " << outcome.buttonAfter << ", box: " << outcome.message;
        EXPECT_EQ(outcome.buttonAfter, GET_TRACKS_TEXT);
        EXPECT_TRUE(NoScanRunning(app_, idleThreads_));
        ExpectToolListing(app_);
    }

    // One Get Tracks that must end in the scan's error box.
    void ExpectRefused(const char* what) {
        SCOPED_TRACE(what);
        const Outcome outcome = GetTracks(app_);
        EXPECT_TRUE(outcome.isRefused);
        EXPECT_EQ(outcome.message, SCAN_FAILED_TEXT);
        EXPECT_EQ(outcome.buttonAfter, GET_TRACKS_AFTER_FAILURE_TEXT);
        EXPECT_TRUE(NoScanRunning(app_, idleThreads_));
        EXPECT_EQ(wd::ReadListCount(app_.Controls().trackList), 0);
    }

    Tavolin app_;
    pp::ResponseWatch watch_;
    int idleThreads_ = 0;
};

// Index files that are empty, cut short, far too long, or the fullest a
// recorder writes, each the newest of its folder; 256 generations of the
// index (every two-digit number), the newest in the middle; then a marker
// with no index at all.
TEST_F(HostileRecorders, BrokenHugeAndManyIndexFilesEndInTheirListing) {
    for (const index_image::HostileIndex& row : index_image::HostileIndexes()) {
        app_driver::EmptyDrive(DRIVE);
        app_driver::WriteRecorder(DRIVE, {{0, SmallDisc("Older"), 0}, {1, row.bytes, 5}});
        ExpectListed(row.name);
    }
    // The full disc, the last row, is listed whole: one line per track.
    EXPECT_EQ(wd::ReadListCount(app_.Controls().trackList), int(index_image::FULL_DISC_TRACKS));

    std::vector<app_driver::IndexFile> files;
    for (unsigned n = 0; n < 256; ++n)
        files.push_back({n, SmallDisc("Generation " + std::to_string(n), 2), n == 0x9c ? 1000 : int(n)});
    app_driver::EmptyDrive(DRIVE);
    app_driver::WriteRecorder(DRIVE, files);
    ExpectListed("256 generations");
    EXPECT_EQ(app_.Caption(), CaptionWith("Generation 156"));

    app_driver::EmptyDrive(DRIVE);
    app_driver::WriteRecorder(DRIVE, {});
    ExpectRefused("marker with no index");
}

// Another program holds the newest index, or the only one, without sharing.
TEST_F(HostileRecorders, LockedIndexIsPassedOver) {
    app_driver::WriteRecorder(DRIVE, {{0, SmallDisc("Older"), 0}, {1, SmallDisc("Newest but locked"), 5}});
    {
        FileLock lock(IndexPath(1));
        ASSERT_TRUE(lock.IsHeld());
        const Outcome outcome = GetTracks(app_);
        EXPECT_TRUE(outcome.isListed);
        EXPECT_TRUE(NoScanRunning(app_, idleThreads_));
        EXPECT_EQ(app_.Caption(), CaptionWith("Older"));
        EXPECT_EQ(wd::ReadListCount(app_.Controls().trackList), 3);
    }
    app_driver::EmptyDrive(DRIVE);
    app_driver::WriteRecorder(DRIVE, {{0, SmallDisc("Only one"), 0}});
    {
        FileLock lock(IndexPath(0));
        ASSERT_TRUE(lock.IsHeld());
        ExpectRefused("the only index locked");
    }
    ExpectListed("the same index once released");
}

// The recorder's folder moved away right after Get Tracks, at several
// moments of the scan (as when the recorder is pulled out), and back.
TEST_F(HostileRecorders, RecorderRemovedWhileAScanRuns) {
    app_driver::WriteRecorder(DRIVE, {{0, index_image::FullDisc(), 0}});
    const HWND button = app_.Controls().getTracks;
    for (DWORD delayMs : {0, 5, 30, 150}) {
        SCOPED_TRACE("moved away " + std::to_string(delayMs) + " ms after the click");
        wd::PendingClick click(button);
        Sleep(delayMs);
        ASSERT_TRUE(MoveFileA(RecorderFolder().c_str(), (RecorderFolder() + ".away").c_str()));
        // Either the scan had its file and ends in a listing, or the
        // recorder was gone first and the error box says so.
        HWND box = nullptr;
        const bool isEnded = wd::WaitFor(
            [&] {
                box = wd::FindMessageBox(SCAN_FAILED_TITLE, app_.ProcessId());
                return box != nullptr || (click.IsReturned() && Text(button) == GET_TRACKS_TEXT);
            },
            30000);
        EXPECT_TRUE(isEnded) << "button reads " << Text(button);
        if (box) {
            EXPECT_EQ(wd::MessageBoxText(box), SCAN_FAILED_TEXT);
            EXPECT_TRUE(wd::AnswerMessageBox(box));
            EXPECT_TRUE(wd::WaitFor([&] { return click.IsReturned(); }));
        }
        EXPECT_TRUE(NoScanRunning(app_, idleThreads_));
        std::printf("moved away after %lu ms: %s, %d lines\n", delayMs, box ? "error box" : "listing",
                    wd::ReadListCount(app_.Controls().trackList));
        ASSERT_TRUE(MoveFileA((RecorderFolder() + ".away").c_str(), RecorderFolder().c_str()));
    }
    ExpectListed("the recorder back");
}

}  // namespace
