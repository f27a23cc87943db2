// Endurance against the real tavolin.exe, driven from this process in the
// prefix of app_prefix.sh: a long session in one process (Get Tracks, List
// Type switches, save/load cycles, exports) must leave its windows, threads,
// live GDI objects and private bytes flat; commands that overlap a scan, and
// a close at awkward moments, must end cleanly. The window never stops
// answering messages; its slowest answer in each kind of command is printed.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "e2e_support_win.h"
#include "tools/lib/app_driver/app_driver_win.h"
#include "support/process_probe/process_probe_win.h"
#include "tools/lib/app_driver/app_driver_win.h"
#include "tools/lib/window_driver/window_driver_win.h"

namespace {

namespace wd = window_driver;
namespace pp = process_probe;
using namespace e2e;
using app_driver::Tavolin;
using Click = wd::PendingClick;

constexpr char DRIVE = app_driver::REMOVABLE_DRIVE;
// Half of the long session's commands of each kind; an even number of
// switches leaves the Full Listing shown.
constexpr int HALF_GET_TRACKS = 250, HALF_SWITCHES = 250, HALF_SAVE_LOADS = 50, HALF_EXPORTS = 50;

// Milliseconds since it was made or last asked.
class Stopwatch {
public:
    double Lap() {
        const auto now = std::chrono::steady_clock::now();
        const double ms = std::chrono::duration<double, std::milli>(now - last_).count();
        last_ = now;
        return ms;
    }

private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

pp::Figures Figures(const Tavolin& app) {
    pp::Figures f;
    EXPECT_TRUE(pp::ReadFigures(app.ProcessId(), &f));
    return f;
}

// 500 Get Tracks, 500 List Type switches, 100 save/load cycles and 100
// exports, in two equal halves; the figures after a warm-up round, after
// the first half and after the second must stay flat.
TEST(Endurance, ALongSessionStaysFlat) {
    EmptyAllDrives();
    ASSERT_TRUE(app_driver::WriteDemoRecorderOn(DRIVE));
    app_driver::Listing demo;
    ASSERT_TRUE(app_driver::ListWithTool(DRIVE, &demo));
    const int trackCount = int(demo.tracks.size());

    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    const app_driver::MainControls& c = app.Controls();
    pp::ResponseWatch watch;
    watch.Start(app.Window(), HANG_LIMIT_MS);
    HWND listType = app.PanelCombo("List Type");
    ASSERT_NE(listType, nullptr);
    // A layout for each listing, so that every export writes something: the
    // session starts by loading it, and every save/load cycle keeps it.
    const std::string layoutBytes =
        LayoutsFile(2, {{0, "Trk Number", "1"}, {1, "<Space>", "1"}, {2, "Title", "1"}, {3, "<CRLF>", "1"}},
                    {{0, "Grp Name", "1"}, {1, "<CRLF>", "1"}});
    const std::string layouts = WorkPath("endurance.tfc"), exported = WorkPath("endurance.txt");
    ASSERT_TRUE(app_driver::WriteFileBytes(layouts, layoutBytes));
    app_driver::DeleteFileAt(exported);
    FileCommand(app, c.loadFormat, LOAD_TITLE, layouts, nullptr);
    app.Settle();
    listType = app.PanelCombo("List Type");
    ASSERT_NE(listType, nullptr);

    // Counted by kind, so that one broken command does not flood the log.
    int failures[4] = {};
    std::string firstExport;
    double phaseMs[4] = {};
    double phaseSlowestMs[4] = {};  // the window's slowest answer in each kind of command
    auto round = [&](int getTracks, int switches, int saveLoads, int exports) {
        Stopwatch clock;
        for (int i = 0; i < getTracks; ++i)
            if (!GetTracks(app) || wd::ReadListCount(c.trackList) != trackCount) ++failures[0];
        phaseMs[0] += clock.Lap();
        phaseSlowestMs[0] = std::max(phaseSlowestMs[0], watch.TakeSlowestSinceMs());
        for (int i = 0; i < switches; ++i) {
            const bool isGroup = i % 2 == 0;
            if (!app.Choose(listType, isGroup ? "Group Listing" : "Full Listing")) ++failures[1];
            listType = app.PanelCombo("List Type");  // the panel rebuilt itself
            if (!listType || Text(listType) != (isGroup ? "Group Listing" : "Full Listing")) ++failures[1];
        }
        phaseMs[1] += clock.Lap();
        phaseSlowestMs[1] = std::max(phaseSlowestMs[1], watch.TakeSlowestSinceMs());
        for (int i = 0; i < saveLoads; ++i) {
            if (FileCommand(app, c.saveFormat, SAVE_TITLE, layouts, OK_TITLE) != SAVE_DONE_TEXT)
                ++failures[2];
            FileCommand(app, c.loadFormat, LOAD_TITLE, layouts, nullptr);
            app.Settle();
            listType = app.PanelCombo("List Type");
            if (!listType) ++failures[2];
        }
        phaseMs[2] += clock.Lap();
        phaseSlowestMs[2] = std::max(phaseSlowestMs[2], watch.TakeSlowestSinceMs());
        for (int i = 0; i < exports; ++i) {
            if (FileCommand(app, c.exportList, EXPORT_TITLE, exported, OK_TITLE) != EXPORT_DONE_TEXT)
                ++failures[3];
            const std::string bytes = app_driver::ReadFileBytes(exported);
            if (firstExport.empty()) {
                // The first export (of the Full Listing) is checked whole;
                // the later ones against it.
                for (const RefLine& line : ShownLines(app)) {
                    const app_driver::ListedTrack& t = demo.tracks[size_t(line.itemData)];
                    firstExport += Number(t.trackNumber) + " " + t.title + "\r\n";
                }
                EXPECT_EQ(bytes, firstExport);
            }
            if (bytes.empty() || bytes != firstExport) ++failures[3];
        }
        phaseMs[3] += clock.Lap();
        phaseSlowestMs[3] = std::max(phaseSlowestMs[3], watch.TakeSlowestSinceMs());
    };

    round(1, 2, 1, 1);  // every command once, so what it keeps for later exists
    const pp::Figures start = Figures(app);
    round(HALF_GET_TRACKS, HALF_SWITCHES, HALF_SAVE_LOADS, HALF_EXPORTS);
    const pp::Figures middle = Figures(app);
    round(HALF_GET_TRACKS, HALF_SWITCHES, HALF_SAVE_LOADS, HALF_EXPORTS);
    const pp::Figures end = Figures(app);
    ExpectNoHang(watch);

    std::printf("start:  %s\nmiddle: %s\nend:    %s\n", pp::Describe(start).c_str(),
                pp::Describe(middle).c_str(), pp::Describe(end).c_str());
    std::printf("per command: Get Tracks %.0f ms, List Type %.0f ms, save and load %.0f ms, export %.0f ms\n",
                phaseMs[0] / (1 + 2 * HALF_GET_TRACKS), phaseMs[1] / (2 + 2 * HALF_SWITCHES),
                phaseMs[2] / (1 + 2 * HALF_SAVE_LOADS), phaseMs[3] / (1 + 2 * HALF_EXPORTS));
    std::printf(
        "slowest answer during: Get Tracks %.0f ms, List Type %.0f ms, save and load %.0f ms, export %.0f "
        "ms\n",
        phaseSlowestMs[0], phaseSlowestMs[1], phaseSlowestMs[2], phaseSlowestMs[3]);
    EXPECT_EQ(failures[0], 0) << "Get Tracks that did not list the demo disc";
    EXPECT_EQ(failures[1], 0) << "List Type switches not shown";
    EXPECT_EQ(failures[2], 0) << "save/load cycles that failed";
    EXPECT_EQ(failures[3], 0) << "exports that failed or differed";
    std::printf("GDI kinds changed, start to middle: %s; middle to end: %s\n",
                pp::GdiDifference(start, middle).c_str(), pp::GdiDifference(middle, end).c_str());
    for (const pp::Figures* f : {&middle, &end}) {
        SCOPED_TRACE(f == &middle ? "middle against start" : "end against start");
        EXPECT_EQ(f->topWindows, start.topWindows);
        EXPECT_EQ(f->childWindows, start.childWindows);
        EXPECT_EQ(f->threads, start.threads);
        EXPECT_EQ(f->fonts, start.fonts);
        EXPECT_EQ(f->dcs, start.dcs);
        // Painting makes and frees short-lived objects of its own; a leak of
        // one object in a hundred commands would still show many times over.
        EXPECT_NEAR(f->gdiObjects, start.gdiObjects, 8);
    }
    // Memory may settle in the first half (heap growth to a working size),
    // but the second half, the same work again, must not add to it.
    EXPECT_LT(double(end.privateBytes), double(middle.privateBytes) + (1 << 20));
    CloseAndCheck(app, "after the session");
}

// Get Tracks pressed again and again while scans of a big disc run, and an
// export whose dialog handles a scan's messages: every scan ends, nothing
// is listed twice, nothing is left running.
TEST(Endurance, CommandsDuringScans) {
    EmptyAllDrives();
    constexpr uint32_t TRACKS = 2000;
    app_driver::WriteRecorder(DRIVE, {{0, BigDisc(TRACKS), 0}});
    app_driver::Listing disc;
    ASSERT_TRUE(app_driver::ListWithTool(DRIVE, &disc));
    std::set<std::string> discLines;
    for (const auto& t : disc.tracks) discLines.insert(t.displayLine);

    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    const app_driver::MainControls& c = app.Controls();
    const int idleThreads = Figures(app).threads;
    pp::ResponseWatch watch;
    watch.Start(app.Window(), HANG_LIMIT_MS);

    for (int scan = 0; scan < 5; ++scan) {
        SCOPED_TRACE("scan " + std::to_string(scan));
        std::vector<std::unique_ptr<Click>> clicks;
        for (int press = 0; press < 8; ++press) {
            clicks.push_back(std::make_unique<Click>(c.getTracks));
            wd::WaitFor([] { return false; }, DWORD(10 + 15 * scan));
        }
        EXPECT_TRUE(wd::WaitFor(
            [&] {
                for (const auto& click : clicks)
                    if (!click->IsReturned()) return false;
                return Text(c.getTracks) == GET_TRACKS_TEXT;
            },
            30000));
        app.Settle();
        EXPECT_TRUE(wd::WaitFor([&] { return Figures(app).threads <= idleThreads; }))
            << "a scan is left running";
        const std::vector<std::string> lines = app.Lines();
        EXPECT_GT(lines.size(), 0u);
        std::set<std::string> seen;
        for (const std::string& line : lines) {
            EXPECT_TRUE(seen.insert(line).second) << "listed twice: " << line;
            EXPECT_EQ(discLines.count(line), 1u) << "not a line of the disc: " << line;
        }
    }
    ASSERT_TRUE(GetTracks(app));
    EXPECT_EQ(wd::ReadListCount(c.trackList), int(TRACKS));

    // Export List while the scan's messages arrive: its dialog's own loop
    // handles them. The export writes the list as it stands when the dialog
    // closes: empty while the scan runs (Get Tracks emptied it), or whole.
    const std::string whole = WorkPath("during-scan-whole.txt");
    ASSERT_EQ(FileCommand(app, c.exportList, EXPORT_TITLE, whole, OK_TITLE), EXPORT_DONE_TEXT);
    const std::string during = WorkPath("during-scan.txt");
    Click scan(c.getTracks);
    EXPECT_EQ(FileCommand(app, c.exportList, EXPORT_TITLE, during, OK_TITLE), EXPORT_DONE_TEXT);
    EXPECT_TRUE(
        wd::WaitFor([&] { return scan.IsReturned() && Text(c.getTracks) == GET_TRACKS_TEXT; }, 30000));
    const std::string written = app_driver::ReadFileBytes(during);
    EXPECT_TRUE(written.empty() || written == app_driver::ReadFileBytes(whole))
        << "an export of " << written.size() << " bytes";
    EXPECT_EQ(wd::ReadListCount(c.trackList), int(TRACKS));
    std::printf("export during a scan wrote %zu bytes\n", written.size());

    ExpectNoHang(watch);
    CloseAndCheck(app, "after the scans");
}

// The window closed while a scan runs, while a file dialog is open and
// while a message box is open: the program ends by itself, with exit code 0
// and no crash.
TEST(Endurance, ClosedAtAwkwardMoments) {
    EmptyAllDrives();
    app_driver::WriteRecorder(DRIVE, {{0, BigDisc(2000), 0}});
    {
        Tavolin app;
        ASSERT_TRUE(app.Start()) << app.Error();
        Click scan(app.Controls().getTracks);
        ASSERT_TRUE(wd::WaitFor([&] { return scan.IsReturned(); }));
        ASSERT_EQ(Text(app.Controls().getTracks), "Scanning...");
        CloseAndCheck(app, "during a scan");
    }
    {
        Tavolin app;
        ASSERT_TRUE(app.Start()) << app.Error();
        ASSERT_NE(app.ClickForDialog(app.Controls().saveFormat, SAVE_TITLE), nullptr);
        CloseAndCheck(app, "during the save dialog");
    }
    app_driver::EmptyDrive(DRIVE);
    {
        Tavolin app;
        ASSERT_TRUE(app.Start()) << app.Error();
        Click scan(app.Controls().getTracks);
        ASSERT_NE(wd::WaitForMessageBox(SCAN_FAILED_TITLE, app.ProcessId()), nullptr);
        CloseAndCheck(app, "during the scan's error box");
    }
}

}  // namespace
