#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index/scan_worker_win.h"
#include "scan_window_win.h"
#include "tools/shipped/demo/demo_disc.h"

using index_image::IndexImageBuilder;
using scan_test::DemoDisc;
using scan_test::ExpectedEvents;
using scan_test::ScanEvent;
using scan_test::ScanWindow;
using scan_test::SparseDisc;

namespace {

using window_driver::TempPath;

void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(bytes.empty() || WriteFile(f, bytes.data(), DWORD(bytes.size()), &written, nullptr));
    CloseHandle(f);
}

class ScanWorkerTest : public testing::Test {
protected:
    void TearDown() override { EXPECT_TRUE(scan_test::WaitForIdle()); }

    // Scans the bytes as TRKIDX07.HMA, with the disc list's bytes (if any)
    // beside it in lower case; returns what the window received.
    std::vector<ScanEvent> ScanBytes(const std::vector<uint8_t>& bytes, ScanWindow& window,
                                     const std::vector<uint8_t>* list = nullptr) {
        const std::string folder = TempPath("scan"), path = folder + "\\TRKIDX07.HMA";
        const std::string listPath = folder + "\\mclist07.hma";
        CreateDirectoryA(folder.c_str(), nullptr);
        WriteFileBytes(path, bytes);
        if (list) WriteFileBytes(listPath, *list);
        EXPECT_EQ(StartScanOfFile(window.hwnd, path.c_str(), StartSuspendedThread), 1);
        EXPECT_TRUE(window.WaitForDone());
        EXPECT_TRUE(scan_test::WaitForIdle());
        DeleteFileA(path.c_str());
        DeleteFileA(listPath.c_str());
        RemoveDirectoryA(folder.c_str());
        return window.events;
    }
};

TEST_F(ScanWorkerTest, ReportsWhatTheWalkFindsThenScanDone) {
    IndexImageBuilder emptyTitle;
    emptyTitle.SetDiscTitle("");  // a title cell whose text is empty
    emptyTitle.AddTrack({.slot = 0, .title = "Only"});
    IndexImageBuilder noTracks;
    noTracks.SetTrackCount(0);
    const std::vector<uint8_t> demoList = index_image::BuildDiscList(DEMO_DISC_IDENTITY);
    const std::vector<uint8_t> shortList = index_image::BuildDiscList(DEMO_DISC_IDENTITY, 0x4F);
    constexpr const char* DEMO_ID = "010000024d5a2d4e483730309c3e5107";
    struct Row {
        const char* name;
        std::vector<uint8_t> bytes;
        int tracks;  // MSG_TRACK_FOUND expected; -1: at least one
        const std::vector<uint8_t>* list;
        const char* identity;  // what the one MSG_DISC_IDENTITY says
    } rows[] = {
        {"demo disc", BuildDemoIndex(DemoGeneration::CURRENT), -1, &demoList, DEMO_ID},
        {"groups, texts and recording modes", DemoDisc(), 5, nullptr, ""},
        {"empty slots in between", SparseDisc(), 3, &shortList, ""},
        {"disc title with an empty text", emptyTitle.Build(), 1, nullptr, ""},
        {"track count 0", noTracks.Build(), 0, &demoList, DEMO_ID},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScanWindow window;
        const std::vector<ScanEvent> expected = ExpectedEvents(row.bytes);
        ASSERT_EQ(ScanBytes(row.bytes, window, row.list), expected);
        EXPECT_EQ(window.identities, std::vector<std::string>{row.identity});
        int tracks = 0;
        for (const ScanEvent& e : expected) tracks += e.message == MSG_TRACK_FOUND;
        if (row.tracks < 0)
            EXPECT_GT(tracks, 0);
        else
            EXPECT_EQ(tracks, row.tracks);
        EXPECT_EQ(gScan.stop.load(), 1);
    }
    // The sparse disc's slots travel as wParam, empty slots counted.
    ScanWindow window;
    const std::vector<ScanEvent> sparse = ScanBytes(SparseDisc(), window);
    ASSERT_EQ(sparse.size(), 4u);
    EXPECT_EQ(sparse[0].wParam, 0u);
    EXPECT_EQ(sparse[1].wParam, 2u);
    EXPECT_EQ(sparse[2].wParam, 4u);
}

TEST_F(ScanWorkerTest, UnreadableFilesEndWithScanDoneOnly) {
    const std::string held = TempPath("held.hma");
    WriteFileBytes(held, DemoDisc());
    // Another program holding the file without sharing it.
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    const std::string empty = TempPath("empty.hma");
    WriteFileBytes(empty, {});
    const std::string folder = TempPath("folder.hma");
    CreateDirectoryA(folder.c_str(), nullptr);

    struct Row {
        const char* name;
        std::string path;
    } rows[] = {
        {"vanished file", TempPath("missing.hma")},
        {"opened elsewhere without sharing", held},
        {"empty file (the read gets 0 bytes)", empty},
        {"a folder", folder},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ScanWindow window;
        ASSERT_EQ(StartScanOfFile(window.hwnd, row.path.c_str(), StartSuspendedThread), 1);
        ASSERT_TRUE(window.WaitForDone());
        window.Drain();
        ASSERT_EQ(window.events.size(), 1u);
        EXPECT_EQ(window.events[0], ScanEvent{MSG_SCAN_DONE});
        EXPECT_TRUE(scan_test::WaitForIdle());
    }
    CloseHandle(holder);
    DeleteFileA(held.c_str());
    DeleteFileA(empty.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(ScanWorkerTest, FileLargerThanAnyIndexIsReadUpToTheLimit) {
    // Sparse: the disc's bytes, then zeros up to just below 4 GiB, where the
    // size plus the padding no longer fits 32 bits.
    const std::string path = TempPath("huge.hma");
    WriteFileBytes(path, DemoDisc());
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = 0xFFFFFFC0LL;
    ASSERT_TRUE(SetFilePointerEx(f, size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(SetEndOfFile(f));
    CloseHandle(f);

    ScanWindow window;
    ASSERT_EQ(StartScanOfFile(window.hwnd, path.c_str(), StartSuspendedThread), 1);
    ASSERT_TRUE(window.WaitForDone());
    EXPECT_EQ(window.events, ExpectedEvents(DemoDisc()));
    EXPECT_TRUE(scan_test::WaitForIdle());
    DeleteFileA(path.c_str());
}

TEST_F(ScanWorkerTest, IndexStaysOpenSharedForReadingWhileTheScanRuns) {
    const std::string path = TempPath("open.hma");
    WriteFileBytes(path, DemoDisc());
    ScanWindow window;
    DWORD writeError = 0;
    bool readOpened = false;
    window.onEvent = [&](ScanWindow&, const ScanEvent& e) {
        if (e.message != MSG_TRACK_FOUND || e.wParam != 0) return;
        HANDLE w = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        writeError = w == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (w != INVALID_HANDLE_VALUE) CloseHandle(w);
        HANDLE r =
            CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        readOpened = r != INVALID_HANDLE_VALUE;
        if (readOpened) CloseHandle(r);
    };
    ASSERT_EQ(StartScanOfFile(window.hwnd, path.c_str(), StartSuspendedThread), 1);
    ASSERT_TRUE(window.WaitForDone());
    EXPECT_EQ(writeError, DWORD(ERROR_SHARING_VIOLATION));
    EXPECT_TRUE(readOpened);
    EXPECT_TRUE(scan_test::WaitForIdle());
    // The worker closes the file last, just after clearing its marker.
    bool writable = false;
    for (int i = 0; i < 500 && !writable; ++i) {
        HANDLE w = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        writable = w != INVALID_HANDLE_VALUE;
        if (writable)
            CloseHandle(w);
        else
            Sleep(10);
    }
    EXPECT_TRUE(writable);
    DeleteFileA(path.c_str());
}

TEST_F(ScanWorkerTest, SecondStartWhileAScanRunsStartsNothing) {
    const std::string path = TempPath("twice.hma");
    WriteFileBytes(path, DemoDisc());
    ScanWindow window;
    int secondResult = -1;
    HANDLE markerDuring = nullptr;
    window.onEvent = [&](ScanWindow& w, const ScanEvent& e) {
        if (e.message == MSG_TRACK_FOUND && e.wParam == 1) {
            markerDuring = gScan.running.load();
            secondResult = StartScanOfFile(w.hwnd, path.c_str(), StartSuspendedThread);
            EXPECT_EQ(gScan.running.load(), markerDuring);
        }
    };
    ASSERT_EQ(StartScanOfFile(window.hwnd, path.c_str(), StartSuspendedThread), 1);
    ASSERT_TRUE(window.WaitForDone());
    EXPECT_NE(markerDuring, nullptr);
    EXPECT_EQ(secondResult, 1);
    EXPECT_TRUE(scan_test::WaitForIdle());
    window.Drain();  // a second scan's messages would arrive by now
    EXPECT_EQ(window.events, ExpectedEvents(DemoDisc()));
    DeleteFileA(path.c_str());
}

// A Get Tracks handled right after MSG_SCAN_DONE must start a new scan, also
// when the previous scan ended at once: its marker is gone by then, and a
// scan that ends before StartScan returns still clears its own marker.
TEST_F(ScanWorkerTest, EveryStartAfterScanDoneStartsANewScan) {
    const std::string path = TempPath("quick.hma");
    IndexImageBuilder tiny;
    tiny.AddTrack({.slot = 0, .title = "T"});
    WriteFileBytes(path, tiny.Build());
    const std::string missing = TempPath("none.hma");
    ScanWindow window;
    for (int i = 0; i < 300; ++i) {
        const std::string& target = i % 2 ? path : missing;
        window.done = false;
        ASSERT_EQ(StartScanOfFile(window.hwnd, target.c_str(), StartSuspendedThread), 1) << i;
        // Straight from the handling of MSG_SCAN_DONE into the next start.
        ASSERT_TRUE(window.WaitForDone(2000)) << "scan " << i << " never ended";
        ASSERT_EQ(gScan.running.load(), nullptr) << i;
    }
    DeleteFileA(path.c_str());
}

// The worker may run only once StartScan has stored its handle.
TEST_F(ScanWorkerTest, WorkerThreadIsCreatedSuspended) {
    static std::atomic<int> ran{0};
    HANDLE thread = StartSuspendedThread([](LPVOID) -> DWORD {
        ran = 1;
        return 0;
    });
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(ResumeThread(thread), 1u);  // the suspend count it had
    EXPECT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    EXPECT_EQ(ran.load(), 1);
    CloseHandle(thread);
}

TEST_F(ScanWorkerTest, FailedThreadStartReportsFailureAndAllowsTheNext) {
    const std::string path = TempPath("nothread.hma");
    WriteFileBytes(path, DemoDisc());
    ScanWindow window;
    ASSERT_EQ(
        StartScanOfFile(window.hwnd, path.c_str(), [](LPTHREAD_START_ROUTINE) -> HANDLE { return nullptr; }),
        0);
    EXPECT_EQ(gScan.running.load(), nullptr);
    EXPECT_EQ(gScan.stop.load(), 1);
    window.Drain();
    EXPECT_TRUE(window.events.empty());  // no MSG_SCAN_DONE to wait for

    ASSERT_EQ(StartScanOfFile(window.hwnd, path.c_str(), StartSuspendedThread), 1);
    ASSERT_TRUE(window.WaitForDone());
    EXPECT_EQ(window.events, ExpectedEvents(DemoDisc()));
    DeleteFileA(path.c_str());
}

TEST_F(ScanWorkerTest, IndexPathLongerThanItsBufferIsRefused) {
    ScanWindow window;
    const std::string path = "C:\\" + std::string(SCAN_PATH_SIZE, 'x');
    EXPECT_EQ(StartScanOfFile(window.hwnd, path.c_str(), StartSuspendedThread), 0);
    EXPECT_EQ(gScan.running.load(), nullptr);
}

// The child half of the next test: leaves main while the worker waits in its
// first send to a window that nobody serves any more.
TEST(ScanWorkerExitTest, ChildLeavesWhileTheWorkerWaits) {
    if (GetEnvironmentVariableA("TAVOLIN_SCAN_EXIT_CHILD", nullptr, 0) == 0)
        GTEST_SKIP() << "runs only as the child of ProgramExitsPromptlyDuringAScan";
    const std::string path = TempPath("exit.hma");
    WriteFileBytes(path, DemoDisc());
    HWND window = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(StartScanOfFile(window, path.c_str(), StartSuspendedThread), 1);
    for (int i = 0; i < 2000 && !(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE); ++i) Sleep(1);
    ASSERT_TRUE(HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE);
}

TEST(ScanWorkerExitTest, ProgramExitsPromptlyDuringAScan) {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string command =
        std::string("\"") + exe + "\" --gtest_filter=ScanWorkerExitTest.ChildLeavesWhileTheWorkerWaits";
    SetEnvironmentVariableA("TAVOLIN_SCAN_EXIT_CHILD", "1");
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    const BOOL created =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA("TAVOLIN_SCAN_EXIT_CHILD", nullptr);
    ASSERT_TRUE(created);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);  // the child's own checks passed
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

TEST_F(ScanWorkerTest, StopFlagSetDuringTheTitleEndsTheScanBeforeTheTracks) {
    const std::string path = TempPath("stop.hma");
    WriteFileBytes(path, DemoDisc());
    ScanWindow window;
    window.onEvent = [](ScanWindow&, const ScanEvent& e) {
        if (e.message == MSG_DISC_TITLE) gScan.stop.store(1);
    };
    ASSERT_EQ(StartScanOfFile(window.hwnd, path.c_str(), StartSuspendedThread), 1);
    ASSERT_TRUE(window.WaitForDone());
    ASSERT_EQ(window.events.size(), 2u);
    EXPECT_EQ(window.events[0].message, UINT(MSG_DISC_TITLE));
    EXPECT_EQ(window.events[1].message, UINT(MSG_SCAN_DONE));
    DeleteFileA(path.c_str());
}

TEST_F(ScanWorkerTest, WindowClosedDuringTheScanLetsTheWorkerEndPromptly) {
    IndexImageBuilder b;
    for (uint32_t slot = 0; slot < 1000; ++slot)
        b.AddTrack({.slot = slot, .title = "Track " + std::to_string(slot)});
    const std::string path = TempPath("closed.hma");
    WriteFileBytes(path, b.Build());
    ScanWindow window;
    window.onEvent = [](ScanWindow& w, const ScanEvent& e) {
        if (e.message == MSG_TRACK_FOUND) DestroyWindow(w.hwnd);
    };
    ASSERT_EQ(StartScanOfFile(window.hwnd, path.c_str(), StartSuspendedThread), 1);
    // Pump until the window is gone, then let the worker run out.
    for (int i = 0; i < 500 && IsWindow(window.hwnd); ++i) {
        window_driver::PumpMessages();
        Sleep(1);
    }
    ASSERT_FALSE(IsWindow(window.hwnd));
    ASSERT_TRUE(scan_test::WaitForIdle(2000));
    EXPECT_EQ(window.events.size(), 1u);  // nothing reached the destroyed window
    DeleteFileA(path.c_str());
}

}  // namespace
