// Hostile recorders against the real tavolin.exe, driven from this process
// in the prefix of app_prefix.sh: empty, cut short, huge, locked, vanishing
// and full index files. Every Get Tracks must end in the listing (as
// tavolin-list reads the same folder) or in the scan's error box, the window
// must answer a message within 1 s throughout, and no scan may be left
// running (its thread gone, the button back to its caption).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/caption.h"
#include "app/commands_win.h"
#include "support/process_probe/process_probe_win.h"
#include "tools/app_driver/app_driver_win.h"
#include "tools/index_image/index_image_builder.h"
#include "tools/window_driver/window_driver_win.h"

namespace {

namespace wd = window_driver;
namespace pp = process_probe;
using app_driver::Tavolin;

constexpr char DRIVE = app_driver::REMOVABLE_DRIVE;
constexpr char BUTTON_IDLE[] = "Get Tracks...";
constexpr DWORD ANSWER_LIMIT_MS = 1000;

std::string Text(HWND window) { return wd::ReadWindowText(window); }

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
        outcome.isListed = wd::WaitFor([&] { return Text(button) == BUTTON_IDLE; }, timeoutMs);
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

std::string CaptionFor(const std::string& discTitle) {
    char caption[CAPTION_SIZE];
    ComposeCaption(discTitle.c_str(), PROGRAM_TITLE, caption, sizeof caption);
    return caption;
}

// The shown lines are tavolin-list's lines of the same folder, and the
// caption its disc title.
void ExpectToolListing(const Tavolin& app) {
    app_driver::Listing listing;
    ASSERT_TRUE(app_driver::ListWithTool(DRIVE, &listing));
    std::multiset<std::string> expected, shown;
    for (const auto& t : listing.tracks) expected.insert(t.displayLine);
    for (const std::string& line : app.Lines()) shown.insert(line);
    EXPECT_EQ(shown.size(), expected.size());
    EXPECT_TRUE(shown == expected) << "the listing differs from tavolin-list's";
    if (!listing.discTitle.empty()) {
        EXPECT_EQ(app.Caption(), CaptionFor(listing.discTitle));
    }
}

// A disc of a few titled tracks, its title naming it.
std::vector<uint8_t> SmallDisc(const std::string& title, int tracks = 3) {
    index_image::IndexImageBuilder b;
    b.SetDiscTitle(title);
    for (int i = 0; i < tracks; ++i) {
        index_image::TrackDescription t;
        t.slot = uint32_t(i);
        t.title = title + " song " + std::to_string(i + 1);
        t.artist = "Artist";
        b.AddTrack(t);
    }
    return b.Build();
}

// The fullest disc: 2047 tracks in 21 groups, and every one of the 4095
// string cells in use by one chain that runs through all of them, full of
// text. Every field starts somewhere in that chain, so every text (disc
// title, group names, titles, artists, albums) is longer than its buffer.
std::vector<uint8_t> FullDisc() {
    constexpr uint32_t TRACKS = 2047, CELLS = 4095, GROUP_SIZE = 100;
    index_image::IndexImageBuilder b;
    std::vector<uint16_t> cells;
    for (uint32_t c = 1; c <= CELLS; ++c) cells.push_back(uint16_t(c));
    std::string text;
    for (uint32_t i = 0; text.size() < CELLS * 14; ++i) text += "Word" + std::to_string(i) + " ";
    text.resize(CELLS * 14 - 1);
    uint32_t groups = 0;
    for (uint32_t first = 1; first <= TRACKS; first += GROUP_SIZE, ++groups)
        b.AddGroup({uint16_t(first), uint16_t(std::min(first + GROUP_SIZE - 1, TRACKS)), ""});
    for (uint32_t slot = 0; slot < TRACKS; ++slot) {
        index_image::TrackDescription t;
        t.slot = slot;
        t.timing = {{uint16_t(slot % 97), uint16_t(slot % 97 + slot % 7), 0, uint8_t(slot % 11)}};
        t.codecId = slot % 2 ? index_image::CODEC_LP2 : index_image::CODEC_HI_SP;
        b.AddTrack(t);
    }
    b.WriteTextAt(cells, text);
    // Field offsets of the header, a group entry and a track entry.
    constexpr size_t DISC_TITLE_CELL = 0x02104, GROUP_TABLE = 0x02108, GROUP_ENTRY = 8, GROUP_TITLE = 4;
    constexpr size_t TITLE = 8, ARTIST = 10, ALBUM = 12;
    b.PokeBe16(DISC_TITLE_CELL, 1);
    for (uint32_t g = 0; g < groups; ++g)
        b.PokeBe16(GROUP_TABLE + g * GROUP_ENTRY + GROUP_TITLE, uint16_t(50 + g));
    for (uint32_t slot = 0; slot < TRACKS; ++slot) {
        const size_t entry = index_image::IndexImageBuilder::EntryOffset(slot);
        b.PokeBe16(entry + TITLE, uint16_t(1 + (slot * 2) % (CELLS - 20)));
        b.PokeBe16(entry + ARTIST, uint16_t(2 + (slot * 3) % (CELLS - 20)));
        b.PokeBe16(entry + ALBUM, uint16_t(3 + (slot * 5) % (CELLS - 20)));
    }
    return b.Build();
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
        for (char d : {app_driver::REMOVABLE_DRIVE, app_driver::SECOND_REMOVABLE_DRIVE,
                       app_driver::CDROM_DRIVE, app_driver::FIXED_DRIVE})
            app_driver::EmptyDrive(d);
        ASSERT_TRUE(app_.Start()) << app_.Error();
        pp::Figures idle;
        ASSERT_TRUE(pp::ReadFigures(app_.ProcessId(), &idle));
        idleThreads_ = idle.threads;
        watch_.Start(app_.Window(), ANSWER_LIMIT_MS);
    }

    void TearDown() override {
        watch_.Stop();
        std::printf("window answers: %d probes, slowest %.1f ms, %d over %lu ms\n", watch_.Probes(),
                    watch_.SlowestMs(), watch_.Misses(), ANSWER_LIMIT_MS);
        EXPECT_EQ(watch_.Misses(), 0);
        EXPECT_LT(watch_.SlowestMs(), ANSWER_LIMIT_MS);
        DWORD code = 1;
        EXPECT_TRUE(app_.Close(5000, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_FALSE(app_.HasCrashReport()) << app_.Log();
        MoveFileA((RecorderFolder() + ".away").c_str(), RecorderFolder().c_str());
    }

    // One Get Tracks that must end in the listing, with no scan left.
    void ExpectListed(const char* what) {
        SCOPED_TRACE(what);
        const Outcome outcome = GetTracks(app_);
        EXPECT_TRUE(outcome.isListed)
            << "button reads " << outcome.buttonAfter << ", box: " << outcome.message;
        EXPECT_EQ(outcome.buttonAfter, BUTTON_IDLE);
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
// recorder writes, each the newest of its folder.
TEST_F(HostileRecorders, BrokenAndHugeIndexFilesEndInTheirListing) {
    const std::vector<uint8_t> full = FullDisc();
    std::vector<uint8_t> huge = SmallDisc("Huge");
    huge.resize(64u << 20, 0xA5);  // 64 MiB: the tail is never read
    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
    } rows[] = {
        {"0-byte index", {}},
        {"index cut inside the track entries",
         std::vector<uint8_t>(full.begin(), full.begin() + 0x8050 + 80 * 700 + 33)},
        {"index cut inside the string cells",
         std::vector<uint8_t>(full.begin(), full.begin() + 0x40000 + 16 * 900 + 7)},
        {"index of 64 MiB", huge},
        {"full disc: 2047 tracks, 4095 string cells, long texts everywhere", full},
    };
    for (const auto& row : rows) {
        app_driver::EmptyDrive(DRIVE);
        app_driver::WriteRecorder(DRIVE, {{0, SmallDisc("Older"), 0}, {1, row.bytes, 5}});
        ExpectListed(row.name);
    }
    // The full disc's listing is there whole: one line per track.
    EXPECT_EQ(wd::ReadListCount(app_.Controls().trackList), 2047);
}

// 256 generations of the index (every two-digit number), the newest in the
// middle; then a marker with no index at all.
TEST_F(HostileRecorders, EveryGenerationAndNoneAtAll) {
    std::vector<app_driver::IndexFile> files;
    for (unsigned n = 0; n < 256; ++n)
        files.push_back({n, SmallDisc("Generation " + std::to_string(n), 2), n == 0x9c ? 1000 : int(n)});
    app_driver::WriteRecorder(DRIVE, files);
    ExpectListed("256 generations");
    EXPECT_EQ(app_.Caption(), CaptionFor("Generation 156"));

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
        EXPECT_EQ(app_.Caption(), CaptionFor("Older"));
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
    app_driver::WriteRecorder(DRIVE, {{0, FullDisc(), 0}});
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
                return box != nullptr || (click.IsReturned() && Text(button) == BUTTON_IDLE);
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
