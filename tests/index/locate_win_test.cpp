// Runs in a private prefix (tools/lib/app_driver/app_prefix.sh): D: and E: removable, F: a
// CD-ROM, G: fixed, all empty at the start.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index/locate_win.h"
#include "index/scan_start_win.h"
#include "scan_window_win.h"
#include "tools/lib/app_driver/app_driver_win.h"
#include "tools/shipped/demo/demo_disc.h"
#include "tools/lib/window_driver/window_driver_win.h"

using scan_test::DemoDisc;
using scan_test::ExpectedEvents;
using scan_test::ScanEvent;
using scan_test::ScanWindow;

namespace {

const char DRIVES[] = "DEFG";

std::string Dir(char drive) { return std::string(1, drive) + ":\\HMDHIFI"; }

std::string IndexPath(char drive, uint32_t n) {
    char path[INDEX_PATH_SIZE];
    FormatIndexPath(path, sizeof path, Dir(drive).c_str(), n);
    return path;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes, int minutes) {
    ASSERT_TRUE(app_driver::WriteWithTime(path, bytes, minutes)) << path;
}

void MakeRecorder(char drive) {
    CreateDirectoryA(Dir(drive).c_str(), nullptr);
    WriteBytes(Dir(drive) + "\\_MDHIFI.HMA", {}, 0);
}

enum class Kind {
    FILE,
    UNOPENABLE,
    HELD
};

struct IndexFileDescription {
    uint32_t number;
    int minutes;
    Kind kind = Kind::FILE;
};

class LocateWinTest : public testing::Test {
protected:
    void SetUp() override {
        for (char d : std::string(DRIVES)) window_driver::RemoveTree(Dir(d), true);
    }
    void TearDown() override {
        for (HANDLE h : held_) CloseHandle(h);
        EXPECT_TRUE(scan_test::WaitForIdle());
    }

    void AddIndexes(char drive, const std::vector<IndexFileDescription>& indexes,
                    const std::vector<uint8_t>& bytes = {}) {
        for (const IndexFileDescription& s : indexes) {
            const std::string path = IndexPath(drive, s.number);
            if (s.kind == Kind::UNOPENABLE) {
                CreateDirectoryA(path.c_str(), nullptr);  // attributes read, opening fails
                continue;
            }
            WriteBytes(path, bytes, s.minutes);
            if (s.kind == Kind::HELD)  // opened elsewhere without sharing
                held_.push_back(
                    CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        }
    }

    std::vector<HANDLE> held_;
};

TEST_F(LocateWinTest, PrefixHasTheDriveTypesTheTestsNeed) {
    EXPECT_EQ(GetDriveTypeA("D:\\"), UINT(DRIVE_REMOVABLE));
    EXPECT_EQ(GetDriveTypeA("E:\\"), UINT(DRIVE_REMOVABLE));
    EXPECT_EQ(GetDriveTypeA("F:\\"), UINT(DRIVE_CDROM));
    EXPECT_EQ(GetDriveTypeA("G:\\"), UINT(DRIVE_FIXED));
}

TEST_F(LocateWinTest, ChoosesTheNewestIndexFile) {
    const Kind UNOPENABLE = Kind::UNOPENABLE, HELD = Kind::HELD;
    struct Row {
        const char* name;
        std::vector<IndexFileDescription> files;
        uint32_t number;
    } rows[] = {
        {"00 to 02, 03 missing, a newer 04 never looked at", {{0, 1}, {1, 30}, {2, 20}, {4, 99}}, 1},
        {"00 missing, 01 present", {{1, 5}, {2, 3}}, 1},
        {"equal times keep the lower number", {{0, 7}, {1, 7}}, 0},
        {"newest is number 10",
         {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {5, 5}, {6, 6}, {7, 7}, {8, 8}, {9, 9}, {10, 10}},
         10},
        {"unopenable 00 passed over", {{0, 99, UNOPENABLE}, {1, 5}}, 1},
        {"00 held by another program", {{0, 99, HELD}, {1, 5}}, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        MakeRecorder('D');
        AddIndexes('D', row.files);
        char directory[INDEX_DIRECTORY_SIZE] = {};
        uint32_t number = 999;
        ASSERT_EQ(LocateRecorderIndex(directory, &number), 1);
        EXPECT_STREQ(directory, "D:\\HMDHIFI");
        EXPECT_EQ(number, row.number);
        for (HANDLE h : held_) CloseHandle(h);
        held_.clear();
    }
}

TEST_F(LocateWinTest, UsesTheFirstExaminedDriveWithTheMarker) {
    struct Row {
        const char* name;
        std::vector<std::pair<char, int>> recorders;  // drive, minutes of its TRKIDX00
        int found;
        const char* directory;
    } rows[] = {
        {"D wins over a newer E", {{'D', 1}, {'E', 50}}, 1, "D:\\HMDHIFI"},
        {"a CD-ROM with the marker is skipped", {{'F', 50}, {'G', 1}}, 1, "G:\\HMDHIFI"},
        {"only a CD-ROM holds the marker", {{'F', 50}}, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        for (const auto& [drive, minutes] : row.recorders) {
            MakeRecorder(drive);
            AddIndexes(drive, {{0, minutes}});
        }
        char directory[INDEX_DIRECTORY_SIZE] = {};
        uint32_t number = 999;
        ASSERT_EQ(LocateRecorderIndex(directory, &number), row.found);
        EXPECT_STREQ(directory, row.directory);
    }
}

TEST_F(LocateWinTest, NoIndexFoundReturnsZeroAndLeavesTheScanStateAlone) {
    struct Row {
        const char* name;
        bool marker;
        std::vector<IndexFileDescription> files;
    } rows[] = {
        {"no marker anywhere", false, {{0, 1}}},
        {"marker without any index", true, {}},
        {"marker with unopenable indexes only",
         true,
         {{0, 1, Kind::UNOPENABLE}, {0x80, 1, Kind::UNOPENABLE}}},
        {"marker with an index numbered 100", true, {{0x100, 1}}},
    };
    ScanWindow window;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        SetUp();
        CreateDirectoryA(Dir('D').c_str(), nullptr);
        if (row.marker) MakeRecorder('D');
        AddIndexes('D', row.files);
        gScan.notifyWindow = reinterpret_cast<HWND>(0x1234);
        strcpy(gScan.indexPath, "before");
        gScan.stop = 1;
        // The walk quiets the "no disk" boxes for itself only: the thread
        // gets its error mode back.
        SetThreadErrorMode(SEM_NOGPFAULTERRORBOX, nullptr);
        EXPECT_EQ(StartScan(window.hwnd), 0);
        EXPECT_EQ(GetThreadErrorMode(), DWORD(SEM_NOGPFAULTERRORBOX));
        SetThreadErrorMode(0, nullptr);
        EXPECT_EQ(gScan.running.load(), nullptr);
        EXPECT_EQ(gScan.notifyWindow, reinterpret_cast<HWND>(0x1234));
        EXPECT_STREQ(gScan.indexPath, "before");
        EXPECT_EQ(gScan.stop.load(), 1);
    }
    window.Drain();
    EXPECT_TRUE(window.events.empty());
}

TEST_F(LocateWinTest, StartScanWalksTheNewestIndexAndStartsAgainAfterItsEnd) {
    MakeRecorder('E');
    std::vector<IndexFileDescription> older;
    for (uint32_t n = 0; n < 10; ++n) older.push_back({n, int(n)});
    AddIndexes('E', older, std::vector<uint8_t>(64, 0));  // all-zero: nothing to report
    AddIndexes('E', {{10, 60}}, DemoDisc());
    const std::vector<ScanEvent> expected = ExpectedEvents(DemoDisc());

    ScanWindow window;
    int secondResult = -1;
    window.onEvent = [&](ScanWindow& w, const ScanEvent& e) {
        if (e.message == MSG_TRACK_FOUND && e.wParam == 0)
            secondResult = StartScan(w.hwnd);  // a Get Tracks while the scan runs
    };
    ASSERT_EQ(StartScan(window.hwnd), 1);
    EXPECT_STREQ(gScan.indexPath, "E:\\HMDHIFI\\TRKIDX0a.HMA");
    ASSERT_TRUE(window.WaitForDone());
    EXPECT_EQ(secondResult, 1);
    window.Drain();
    EXPECT_EQ(window.events, expected);

    // The recorder pulled out: no scan; plugged in again: a new scan.
    MoveFileA(Dir('E').c_str(), "E:\\away");
    window.events.clear();
    window.done = false;
    window.onEvent = nullptr;
    EXPECT_EQ(StartScan(window.hwnd), 0);
    MoveFileA("E:\\away", Dir('E').c_str());
    ASSERT_EQ(StartScan(window.hwnd), 1);
    ASSERT_TRUE(window.WaitForDone());
    EXPECT_EQ(window.events, expected);
}

TEST_F(LocateWinTest, DemoRecorderIsFoundAndScanned) {
    std::string error;
    ASSERT_TRUE(WriteDemoRecorder("G:\\", error)) << error;
    ScanWindow window;
    ASSERT_EQ(StartScan(window.hwnd), 1);
    EXPECT_STREQ(gScan.indexPath, "G:\\HMDHIFI\\TRKIDX01.HMA");
    ASSERT_TRUE(window.WaitForDone());
    EXPECT_EQ(window.events, ExpectedEvents(BuildDemoIndex(DemoGeneration::CURRENT)));
}

}  // namespace
