// End-to-end scenarios: tavolin.exe driven from this process as a user would,
// on simulated recorders in the prefix of app_prefix.sh (D: and E:
// removable, F: a CD-ROM, G: fixed). Each TEST starts the program once and
// checks a group of behaviours in turn.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "e2e_support_win.h"
#include "tools/lib/app_driver/app_driver_win.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "tools/lib/window_driver/window_driver_win.h"

namespace {

namespace wd = window_driver;
using namespace e2e;
using app_driver::ListedTrack;
using app_driver::Tavolin;

// A file whose every write fails, as on a full disk (a link to /dev/full
// made by app_prefix.sh).
std::string FullDevicePath() {
    const char* path = std::getenv("TAVOLIN_FULL_DEVICE");
    return path != nullptr ? path : std::string();
}

// Get Tracks, then the window through everything the scan queued.
void Scan(Tavolin& app) {
    ASSERT_TRUE(GetTracks(app, 20000)) << "button reads " << Text(app.Controls().getTracks);
    app.Settle();
}

// "Title (Decending Order)" without Case Sensitive (only A to Z fold, to a
// to z; bytes compare unsigned), then the second level, the track or group
// length.
int TitleDescending(const TrackRecord& a, const TrackRecord& b, float TrackRecord::*length) {
    auto fold = [](std::string s) {
        for (char& ch : s)
            if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
        return s;
    };
    const int title = fold(b.title).compare(fold(a.title));
    if (title != 0) return title;
    return a.*length < b.*length ? -1 : a.*length > b.*length ? 1 : 0;
}
int TracksByTitleDescending(const TrackRecord& a, const TrackRecord& b) {
    return TitleDescending(a, b, &TrackRecord::trackLength);
}
int GroupsByTitleDescending(const TrackRecord& a, const TrackRecord& b) {
    return TitleDescending(a, b, &TrackRecord::groupLength);
}

void ExpectLines(const Tavolin& app, const std::vector<RefLine>& expected, const char* what) {
    SCOPED_TRACE(what);
    const std::vector<RefLine> shown = ShownLines(app);
    ASSERT_EQ(shown.size(), expected.size());
    for (size_t i = 0; i < shown.size(); ++i) {
        EXPECT_EQ(shown[i].text, expected[i].text) << "line " << i;
        EXPECT_EQ(shown[i].itemData, expected[i].itemData) << "item data of line " << i;
    }
}

void ExpectNoLineTwice(const std::vector<std::string>& lines) {
    std::set<std::string> seen;
    for (const std::string& line : lines) EXPECT_TRUE(seen.insert(line).second) << "shown twice: " << line;
}

// A disc of titled tracks, one per slot.
std::vector<uint8_t> Disc(const char* title, std::initializer_list<const char*> songs) {
    index_image::IndexImageBuilder b;
    b.SetDiscTitle(title);
    uint32_t slot = 0;
    for (const char* song : songs) {
        index_image::TrackDescription t;
        t.slot = slot++;
        t.title = song;
        b.AddTrack(t);
    }
    return b.Build();
}

// Waits for the scan of the disc with that title to end, then expects
// tavolin-list's listing of the path, in the default sort.
void ExpectListingOf(Tavolin& app, const std::string& path, const std::string& title) {
    ASSERT_TRUE(wd::WaitFor(
        [&] {
            return app.Caption() == CaptionWith(title) && Text(app.Controls().getTracks) == GET_TRACKS_TEXT;
        },
        20000))
        << "caption " << app.Caption();
    app.Settle();
    app_driver::Listing listed;
    ASSERT_TRUE(app_driver::ListWithTool(path, &listed));
    ASSERT_EQ(listed.discTitle, title);
    FillCatalogue(listed);
    ExpectLines(app, Reordered(ReportOrder(listed), ByTrackNumber), path.c_str());
}

// Start-up state, no recorder, then the demo recorder, the CD-ROM drive and
// the newest index generation.
TEST(Tavolin, StartsScansAndListsRecorders) {
    EmptyAllDrives();
    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    const app_driver::MainControls& c = app.Controls();
    std::printf("start-up to ready for input: %.0f ms\n", app.StartMs());

    // Start-up state.
    EXPECT_EQ(app.Caption(), PROGRAM_TITLE);
    EXPECT_EQ(wd::ReadListCount(c.trackList), 0);
    EXPECT_EQ(Text(c.getTracks), "Get Tracks...");
    EXPECT_EQ(Text(c.status), ".");
    EXPECT_EQ(Text(c.preview), "");
    HWND listType = app.PanelCombo("List Type");
    EXPECT_NE(listType, nullptr);
    EXPECT_EQ(Text(listType), "Full Listing");

    // Control places after the start-up resize: five pixels wider than the
    // window opened, every x and width that follows the width scaled by the
    // ratio of the client widths, every 0 turned into 1.
    RECT client;
    GetClientRect(app.Window(), &client);
    const int width = client.right, openWidth = width - 5;
    const float r = float(double(width) / openWidth);
    const struct {
        const char* name;
        HWND control;
        int x, y, w, h;  // h < 0: not compared (a list box snaps its height to whole lines)
    } places[] = {
        {"track list", c.trackList, 1, 1, int(760 * r), -1},
        {"Get Tracks", c.getTracks, int(550 * r), 325, 100, 30},
        {"status", c.status, int(670 * r), 305, 140, 20},
        {"Example:", c.example, 1, 550, 60, 20},
        {"preview", c.preview, 75, 550, 695, 120},
        {"Export List", c.exportList, int(660 * r), 325, 100, 30},
        {"Save Format", c.saveFormat, int(660 * r), 360, 100, 20},
        {"Load Format", c.loadFormat, int(550 * r), 360, 100, 20},
    };
    for (const auto& p : places) {
        SCOPED_TRACE(p.name);
        const RECT rect = app.ClientRect(p.control);
        EXPECT_EQ(rect.left, p.x);
        EXPECT_EQ(rect.top, p.y);
        EXPECT_EQ(rect.right - rect.left, p.w);
        if (p.h >= 0) {
            EXPECT_EQ(rect.bottom - rect.top, p.h);
        }
    }

    // No recorder: the error box while the button reads "Scanning...", then
    // "Get Tracks".
    wd::ClickButton(c.getTracks, true);
    HWND box = wd::WaitForMessageBox(SCAN_FAILED_TITLE, app.ProcessId());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(wd::MessageBoxText(box), SCAN_FAILED_TEXT);
    EXPECT_EQ(Text(c.getTracks), "Scanning...");
    EXPECT_TRUE(wd::AnswerMessageBox(box));
    EXPECT_TRUE(wd::WaitFor([&] { return Text(c.getTracks) == "Get Tracks"; }));
    EXPECT_EQ(wd::ReadListCount(c.trackList), 0);
    EXPECT_EQ(app.Caption(), PROGRAM_TITLE);

    // The demo recorder: every line as tavolin-list reports it, in the
    // default sort.
    ASSERT_TRUE(app_driver::WriteDemoRecorderOn(app_driver::REMOVABLE_DRIVE));
    app_driver::Listing demo;
    ASSERT_TRUE(app_driver::ListWithTool(app_driver::REMOVABLE_DRIVE, &demo));
    ASSERT_GT(demo.tracks.size(), 5u);
    Scan(app);
    FillCatalogue(demo);
    ExpectLines(app, Reordered(ReportOrder(demo), ByTrackNumber), "demo disc");
    ExpectToolLines(app, demo);
    EXPECT_EQ(app.Caption(), CaptionWith(demo.discTitle));
    EXPECT_EQ(Text(c.status), "Found " + std::to_string(demo.tracks.size()) + " tracks");
    // Every encoding as written: Shift-JIS, UTF-16 and Windows-1252.
    EXPECT_EQ(app.Caption(), "'Tavolin Demo Disc: Caf\u00E9, Harbour & Se\u00F1oritas'  ---- " +
                                 std::string(PROGRAM_TITLE));
    const std::vector<std::string> shownLines = app.Lines();
    ASSERT_EQ(shownLines.size(), 36u);
    EXPECT_EQ(std::vector<std::string>(shownLines.end() - 6, shownLines.end()),
              (std::vector<std::string>{
                  "031)  {\u6771\u4EAC\u306E\u591C}     \u5C71\u7530\u82B1\u5B50 \\ \u6771\u4EAC\u306E\u591C \\ "
                  "\u591C\u660E\u3051\u306E\u3046\u305F     (4m:00s)    [ HI-SP 256kbps ]",
                  "032)  {\u6771\u4EAC\u306E\u591C}     \u5C71\u7530\u82B1\u5B50 \\ \u6771\u4EAC\u306E\u591C \\ "
                  "\uFF7B\uFF78\uFF97 \uFF7B\uFF78\uFF97     (3m:18s)    [ LP2 132kbps ]",
                  "033)  {\u6771\u4EAC\u306E\u591C}     \u5C71\u7530\u82B1\u5B50 \\ \u6771\u4EAC\u306E\u591C \\ "
                  "\u96E8\u4E0A\u304C\u308A\u306E\u8857 \uFF5E 2026     (4m:23s)    [ HI-LP 64kbps ]",
                  "034) Kwartet Wiosna \\ Polskie Piosenki \\ Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 "
                  "ja\u017A\u0144     (3m:25s)    [ LP2 132kbps ]",
                  "035) \u0395\u03BB\u03AD\u03BD\u03B7 \\ \u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 "
                  "\U0001F3B5     (3m:07s)    [ HI-SP 256kbps ]",
                  "036) Klangraum \\ Drei M\u00FCnzen \u2013 3 \u20AC     (1m:35s)    [ LP2 105kbps ]",
              }));

    // A CD-ROM that holds a recorder folder is passed over for the fixed
    // drive after it; of that drive's index files the newest by write time
    // is read, not the highest number.
    app_driver::EmptyDrive(app_driver::REMOVABLE_DRIVE);
    const auto disc = Disc;
    app_driver::WriteRecorder(app_driver::CDROM_DRIVE, {{0, disc("On the CD", {"Cd Song"}), 90}});
    app_driver::WriteRecorder(app_driver::FIXED_DRIVE, {{0, disc("Oldest", {"Old Song"}), 0},
                                                        {1, disc("Newest", {"New Song", "Other Song"}), 30},
                                                        {2, disc("Middle", {"Mid Song"}), 10}});
    Scan(app);
    EXPECT_EQ(app.Caption(), CaptionWith("Newest"));
    const std::vector<std::string> lines = app.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("New Song"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("Other Song"), std::string::npos) << lines[1];

    CloseAndCheck(app, "at the end");
}

// The panel's format and sort rows, the preview of a selected or
// double-clicked line, single selection under Shift and Ctrl, Group Listing,
// and Export List through the real save dialog.
TEST(Tavolin, ListsPreviewsAndExportsThroughThePanel) {
    EmptyAllDrives();
    ASSERT_TRUE(app_driver::WriteDemoRecorderOn(app_driver::REMOVABLE_DRIVE));
    app_driver::Listing demo;
    ASSERT_TRUE(app_driver::ListWithTool(app_driver::REMOVABLE_DRIVE, &demo));
    FillCatalogue(demo);

    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    const app_driver::MainControls& c = app.Controls();
    Scan(app);
    ExpectLines(app, Reordered(ReportOrder(demo), ByTrackNumber), "after the scan");

    // A layout of three slots: Trk Number, "-" twice (its Amount: row), Title.
    HWND slot0 = app.PanelComboWithItem("Trk Number", 0);
    HWND slot1 = app.PanelComboWithItem("Trk Number", 1);
    HWND slot2 = app.PanelComboWithItem("Trk Number", 2);
    ASSERT_TRUE(slot0 && slot1 && slot2);
    ASSERT_TRUE(app.Choose(slot0, "Trk Number"));
    ASSERT_TRUE(app.Choose(app.PanelComboWithItem("Trk Number", 1), "-"));
    HWND amount = app.PanelEdit("Amount:");
    ASSERT_NE(amount, nullptr);
    EXPECT_EQ(Text(amount), "1");
    SendMessageA(amount, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("2"));
    app.Settle();
    ASSERT_TRUE(app.Choose(app.PanelComboWithItem("Trk Number", 2), "Title"));
    auto rendered = [&](intptr_t track) {
        const ListedTrack& t = demo.tracks[size_t(track)];
        return Number(t.trackNumber) + "--" + t.title;
    };

    // Selecting a line previews it; so does a double-click on another.
    std::vector<RefLine> shown = ShownLines(app);
    ASSERT_GE(shown.size(), 6u);
    wd::SelectListLine(c.trackList, 2);
    app.Settle();
    EXPECT_EQ(Text(c.preview), rendered(shown[2].itemData));
    EXPECT_NE(Text(c.preview), "");
    // Line 4 selected without a notification leaves the preview on line 2,
    // until a double-click on it.
    SendMessageA(c.trackList, LB_SETSEL, FALSE, -1);
    SendMessageA(c.trackList, LB_SETSEL, TRUE, 4);
    SendMessageA(c.trackList, LB_SETCARETINDEX, 4, 0);
    app.Settle();
    EXPECT_EQ(Text(c.preview), rendered(shown[2].itemData));
    RECT item;
    SendMessageA(c.trackList, LB_GETITEMRECT, 4, reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    PostMessageA(c.trackList, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(c.trackList, WM_LBUTTONUP, 0, at);
    app.Settle();
    EXPECT_EQ(Text(c.preview), rendered(shown[4].itemData));

    // Shift and Ctrl clicks leave only the line with the focus selected.
    const struct {
        const char* name;
        WPARAM keys;
        int line;
    } clicks[] = {{"shift", MK_SHIFT, 1}, {"ctrl", MK_CONTROL, 5}, {"shift again", MK_SHIFT, 3}};
    for (const auto& k : clicks) {
        SCOPED_TRACE(k.name);
        SendMessageA(c.trackList, LB_GETITEMRECT, k.line, reinterpret_cast<LPARAM>(&item));
        const LPARAM point = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
        PostMessageA(c.trackList, WM_LBUTTONDOWN, MK_LBUTTON | k.keys, point);
        PostMessageA(c.trackList, WM_LBUTTONUP, k.keys, point);
        app.Settle();
        EXPECT_EQ(SendMessageA(c.trackList, LB_GETSELCOUNT, 0, 0), 1);
        EXPECT_EQ(SendMessageA(c.trackList, LB_GETSEL, k.line, 0), 1);
        EXPECT_EQ(Text(c.preview), rendered(shown[size_t(k.line)].itemData));
    }

    // A sort change re-orders the lines as they stand.
    HWND firstSort = app.PanelCombo("First sort by");
    ASSERT_NE(firstSort, nullptr);
    EXPECT_EQ(Text(firstSort), "Track Number (Ascending Order)");
    ASSERT_TRUE(app.Choose(firstSort, "Title (Decending Order)"));
    ExpectLines(app, Reordered(shown, TracksByTitleDescending), "sorted by title, descending");

    // Titles in code point order, whatever their script; the preview shows
    // the first as written.
    wd::SelectListLine(c.trackList, 0);
    app.Settle();
    EXPECT_EQ(Text(c.preview), "032--\uFF7B\uFF78\uFF97 \uFF7B\uFF78\uFF97");

    // Export List: every line rendered through the layout, with nothing added.
    shown = ShownLines(app);
    std::string expectedBytes;
    for (const RefLine& line : shown) expectedBytes += rendered(line.itemData);
    EXPECT_EQ(expectedBytes.rfind("032--\uFF7B\uFF78\uFF97 \uFF7B\uFF78\uFF97"
                                  "033--\u96E8\u4E0A\u304C\u308A\u306E\u8857 \uFF5E 2026"
                                  "031--\u591C\u660E\u3051\u306E\u3046\u305F"
                                  "035--\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 \U0001F3B5"
                                  "034--Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144",
                                  0),
              0u);
    // In folders named in other scripts, UTF-8 without the byte order mark,
    // and with it as the second file type.
    const std::string exportPath = ScriptFolderPath("listing.txt");
    app_driver::DeleteFileAt(exportPath);
    EXPECT_EQ(FileCommand(app, c.exportList, EXPORT_TITLE, exportPath, OK_TITLE), EXPORT_DONE_TEXT);
    EXPECT_EQ(app_driver::ReadFileBytes(exportPath), expectedBytes);
    const std::string markedPath = ScriptFolderPath("listing-bom.txt");
    app_driver::DeleteFileAt(markedPath);
    EXPECT_EQ(FileCommand(app, c.exportList, EXPORT_TITLE, markedPath, OK_TITLE, 1), EXPORT_DONE_TEXT);
    EXPECT_EQ(app_driver::ReadFileBytes(markedPath), "\xEF\xBB\xBF" + expectedBytes);

    // A disk that takes no byte: the failure box, never the success box.
    const std::string full = FullDevicePath();
    ASSERT_FALSE(full.empty());
    EXPECT_EQ(FileCommand(app, c.exportList, EXPORT_TITLE, full, ERROR_TITLE), EXPORT_WRITE_FAILED_TEXT);

    // Group Listing through "List Type": one line per group, sorted by the
    // same levels (a group's title is its first track's), and the group
    // layout (still all "<None>") in the preview.
    ASSERT_TRUE(app.Choose(app.PanelCombo("List Type"), "Group Listing"));
    const std::vector<RefLine> groups = Reordered(ReferenceGroups(), GroupsByTitleDescending);
    ExpectLines(app, groups, "group listing");
    EXPECT_EQ(Text(c.status), "Found " + std::to_string(groups.size()) + " groups");
    ASSERT_FALSE(groups.empty());
    wd::SelectListLine(c.trackList, 0);
    app.Settle();
    EXPECT_EQ(Text(c.preview), "");
    // The format rows of Group Listing are shown now: slot 0 offers "Grp Name".
    HWND groupSlot0 = app.PanelComboWithItem("Grp Name", 0);
    ASSERT_NE(groupSlot0, nullptr);
    ASSERT_TRUE(app.Choose(groupSlot0, "Grp Name"));
    EXPECT_EQ(Text(c.preview), demo.tracks[size_t(groups[0].itemData)].groupName);

    CloseAndCheck(app, "at the end");
}

// Save Format and Load Format with the real dialogs: the exact file, the
// versions read and refused, an empty file, a full disk, and the panel and
// preview following a loaded layout.
TEST(Tavolin, SavesAndLoadsLayouts) {
    EmptyAllDrives();
    ASSERT_TRUE(app_driver::WriteDemoRecorderOn(app_driver::REMOVABLE_DRIVE));
    app_driver::Listing demo;
    ASSERT_TRUE(app_driver::ListWithTool(app_driver::REMOVABLE_DRIVE, &demo));

    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    const app_driver::MainControls& c = app.Controls();
    auto save = [&](const std::string& path) {
        return FileCommand(app, c.saveFormat, SAVE_TITLE, path, OK_TITLE);
    };

    // Fresh settings: version 2 and 80 slots of "<None>" / "1".
    const std::string freshPath = WorkPath("fresh.tfc");
    app_driver::DeleteFileAt(freshPath);
    EXPECT_EQ(save(freshPath), SAVE_DONE_TEXT);
    const std::string freshBytes = app_driver::ReadFileBytes(freshPath);
    ASSERT_EQ(freshBytes.size(), 5124u);
    EXPECT_EQ(freshBytes.substr(0, 4), std::string("\2\0\0\0", 4));
    EXPECT_EQ(freshBytes, LayoutsFile(2, {}));

    // A layout made in the panel is what the file holds.
    ASSERT_TRUE(app.Choose(app.PanelComboWithItem("Trk Number", 0), "Title"));
    ASSERT_TRUE(app.Choose(app.PanelComboWithItem("Trk Number", 1), "<TAB>"));
    const std::string layoutPath = ScriptFolderPath("layout.tfc");
    EXPECT_EQ(save(layoutPath), SAVE_DONE_TEXT);
    EXPECT_EQ(app_driver::ReadFileBytes(layoutPath), LayoutsFile(2, {{0, "Title", "1"}, {1, "<TAB>", "1"}}));

    // A full disk: the write failure, never the success box.
    EXPECT_EQ(FileCommand(app, c.saveFormat, SAVE_TITLE, FullDevicePath(), ERROR_TITLE),
              SAVE_WRITE_FAILED_TEXT);

    Scan(app);
    const std::vector<RefLine> shown = ShownLines(app);
    ASSERT_FALSE(shown.empty());
    const ListedTrack& first = demo.tracks[size_t(shown[0].itemData)];
    wd::SelectListLine(c.trackList, 0);
    app.Settle();
    EXPECT_EQ(Text(c.preview), first.title + "\t");

    // Files to load: version 3 (refused), empty, and version 1 with a
    // "<Custom>" in slot 4 and "Artist" in slot 0 of the Full Listing table
    // (the Group Listing table is not in it).
    const std::initializer_list<SlotText> loaded = {{0, "Artist", "1"}, {4, "<Custom>", "Made Here"}};
    ASSERT_TRUE(app_driver::WriteFileBytes(WorkPath("v3.tfc"), LayoutsFile(3, {})));
    ASSERT_TRUE(app_driver::WriteFileBytes(WorkPath("empty.tfc"), ""));
    ASSERT_TRUE(app_driver::WriteFileBytes(ScriptFolderPath("v1.tfc"), LayoutsFile(1, loaded)));

    const struct {
        const char* name;
        const char* file;
        const char* errorText;  // null: no message
    } loads[] = {
        {"version 3 is refused", "v3.tfc", LOAD_VERSION_TEXT},
        {"an empty file changes nothing", "empty.tfc", nullptr},
    };
    for (const auto& l : loads) {
        SCOPED_TRACE(l.name);
        EXPECT_EQ(
            FileCommand(app, c.loadFormat, LOAD_TITLE, WorkPath(l.file), l.errorText ? ERROR_TITLE : nullptr),
            l.errorText ? l.errorText : "");
        app.Settle();
        EXPECT_EQ(Text(app.PanelComboWithItem("Trk Number", 0)), "Title");
        EXPECT_EQ(Text(app.PanelComboWithItem("Trk Number", 1)), "<TAB>");
        EXPECT_EQ(Text(c.preview), first.title + "\t");
    }

    // Version 1: the panel shows the loaded tokens with the "Custom:" row and
    // its text; the preview follows at once.
    EXPECT_EQ(FileCommand(app, c.loadFormat, LOAD_TITLE, ScriptFolderPath("v1.tfc"), nullptr), "");
    app.Settle();
    EXPECT_EQ(Text(app.PanelComboWithItem("Trk Number", 0)), "Artist");
    EXPECT_EQ(Text(app.PanelComboWithItem("Trk Number", 1)), "<None>");
    EXPECT_EQ(Text(app.PanelComboWithItem("Trk Number", 4)), "<Custom>");
    HWND custom = app.PanelEdit("Custom:");
    ASSERT_NE(custom, nullptr);
    EXPECT_EQ(Text(custom), "Made Here");
    EXPECT_EQ(Text(c.preview), first.artist + "Made Here");

    // Saved again, the file has the loaded Full Listing table and the Group
    // Listing table as it was.
    const std::string againPath = WorkPath("again.tfc");
    EXPECT_EQ(save(againPath), SAVE_DONE_TEXT);
    EXPECT_EQ(app_driver::ReadFileBytes(againPath), LayoutsFile(2, loaded));

    // While the save dialog is open, Get Tracks and settings are turned away
    // (the panel puts the refused choice back); once it is cancelled every
    // command works again.
    HWND dialog = app.ClickForDialog(c.saveFormat, SAVE_TITLE);
    ASSERT_NE(dialog, nullptr);
    wd::ClickButton(c.getTracks);
    EXPECT_EQ(Text(c.getTracks), "Get Tracks...");
    EXPECT_EQ(wd::ReadListCount(c.trackList), int(shown.size()));
    ASSERT_TRUE(app.Choose(app.PanelComboWithItem("Trk Number", 2), "Title"));
    EXPECT_EQ(Text(app.PanelComboWithItem("Trk Number", 2)), "<None>");
    ASSERT_TRUE(wd::CancelDialog(dialog));
    ASSERT_TRUE(app.Choose(app.PanelComboWithItem("Trk Number", 2), "Title"));
    EXPECT_EQ(Text(c.preview), first.artist + first.title + "Made Here");

    // Load Format while the Export List dialog is open leaves the flag to the
    // export: Get Tracks is refused, and the export writes the whole listing
    // through the loaded layout (each track's number and CR LF).
    ASSERT_TRUE(app_driver::WriteFileBytes(WorkPath("numbers.tfc"),
                                           LayoutsFile(2, {{0, "Trk Number", "1"}, {1, "<CRLF>", "1"}})));
    std::vector<uint32_t> trackNumbers;
    for (const auto& t : demo.tracks) trackNumbers.push_back(t.trackNumber);
    std::sort(trackNumbers.begin(), trackNumbers.end());
    std::string numberLines;
    for (uint32_t n : trackNumbers) numberLines += Number(n) + "\r\n";
    const std::string numbersPath = WorkPath("numbers.txt");
    app_driver::DeleteFileAt(numbersPath);
    {
        wd::PendingClick exportClick(c.exportList);
        dialog = wd::WaitForTopWindow(wd::DIALOG_CLASS, EXPORT_TITLE, app.ProcessId());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(FileCommand(app, c.loadFormat, LOAD_TITLE, WorkPath("numbers.tfc"), nullptr), "");
        app.Settle();
        wd::ClickButton(c.getTracks);
        EXPECT_EQ(Text(c.getTracks), "Get Tracks...");
        EXPECT_EQ(wd::ReadListCount(c.trackList), int(shown.size()));
        ASSERT_TRUE(wd::DriveFileDialog(dialog, numbersPath.c_str(), true));
        HWND box = wd::WaitForMessageBox(OK_TITLE, app.ProcessId());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(wd::MessageBoxText(box), EXPORT_DONE_TEXT);
        wd::AnswerMessageBox(box);
        wd::WaitFor([&] { return exportClick.IsReturned(); });
    }
    EXPECT_EQ(app_driver::ReadFileBytes(numbersPath), numberLines);
    ASSERT_TRUE(app.Choose(app.PanelComboWithItem("Trk Number", 2), "Title"));
    EXPECT_EQ(Text(app.PanelComboWithItem("Trk Number", 2)), "Title") << "the flag outlived the export";

    // A layout holding "Rec Date", the list sorted by recording time: the
    // export writes the demo's recording times in order, the tracks sent
    // from a computer (an empty line each) first.
    ASSERT_TRUE(app_driver::WriteFileBytes(WorkPath("dates.tfc"),
                                           LayoutsFile(2, {{0, "Rec Date", "1"}, {1, "<CRLF>", "1"}})));
    EXPECT_EQ(FileCommand(app, c.loadFormat, LOAD_TITLE, WorkPath("dates.tfc"), nullptr), "");
    app.Settle();
    EXPECT_EQ(Text(app.PanelComboWithItem("Trk Number", 0)), "Rec Date");
    ASSERT_TRUE(app.Choose(app.PanelCombo("First sort by"), "Recorded (Ascending Order)"));
    std::vector<std::string> times;
    for (const auto& t : demo.tracks) times.push_back(t.recorded);
    std::sort(times.begin(), times.end());
    std::string dateLines;
    for (const std::string& t : times) dateLines += t + "\r\n";
    EXPECT_NE(dateLines.find("\r\n2016-09-13 23:11:46\r\n2016-09-13 23:12:16\r\n2016-09-13 23:13:14\r\n"),
              std::string::npos);
    const std::string datesPath = WorkPath("dates.txt");
    app_driver::DeleteFileAt(datesPath);
    EXPECT_EQ(FileCommand(app, c.exportList, EXPORT_TITLE, datesPath, OK_TITLE), EXPORT_DONE_TEXT);
    EXPECT_EQ(app_driver::ReadFileBytes(datesPath), dateLines);

    CloseAndCheck(app, "at the end");
}

// Copies of recorders in the work folder, names in mixed case: tavolin.exe
// PATH with each form of PATH, then folders dropped on the window, a drop
// while the save dialog is open, and paths without a track index.
TEST(Tavolin, OpensRecorderCopies) {
    EmptyAllDrives();
    const std::string copies = WorkPath("Copies"), alpha = copies + "\\Disc Alpha";
    const std::string noIndex = copies + "\\No Index";
    wd::RemoveTree(copies, true);
    for (const std::string& folder : {copies, alpha, noIndex}) CreateDirectoryA(folder.c_str(), nullptr);
    app_driver::WriteRecorderCopy(alpha + "\\HmdHifi", {{0, Disc("Alpha Old", {"Old Song"}), 0},
                                                        {1, Disc("Alpha", {"Song A", "Song B"}), 30},
                                                        {2, Disc("Alpha Middle", {"Mid Song"}), 10}});
    app_driver::WriteRecorderCopy(noIndex + "\\HMDHIFI", {});
    // Renamed copies of HMDHIFI alone, known by their marker; paths are UTF-8.
    // The listing compared with is read from the first. The long twin's path
    // fits Win32 but takes over 259 bytes in UTF-8.
    const std::string beta = copies + "\\Beta Backup", betaTwin = copies + "\\Beta Caf\xC3\xA9";
    std::string betaLong = copies + "\\Beta ";
    for (int i = 0; i < 115; ++i) betaLong += "\xC3\xA9";
    for (const std::string& folder : {beta, betaTwin, betaLong})
        app_driver::WriteRecorderCopy(folder, {{0, Disc("Beta", {"Song C", "Song D", "Song E"}), 0}});

    // Started rows start the program anew; the others drop on the last one.
    // Each listed disc differs from the one before, so its caption tells
    // that the path was handled.
    const struct {
        const char* name;
        bool isStarted;
        std::vector<std::string> paths;  // the first is listed
        const char* title;               // null: the error box
        std::string text;                // tavolin-list's path, or the box's text
    } rows[] = {
        {"the folder holding HMDHIFI", true, {alpha}, "Alpha"},
        {"the HMDHIFI folder itself", true, {alpha + "\\HMDHIFI\\"}, "Alpha"},
        {"an index file: that generation", true, {alpha + "\\HmdHifi\\TRKIDX02.HMA"}, "Alpha Middle"},
        {"no track index",
         true,
         {noIndex},
         nullptr,
         "No track index (HMDHIFI\\TRKIDXnn.HMA) was found in " + noIndex + "."},
        {"dropped, a second path let go", false, {beta, alpha}, "Beta"},
        {"a folder of copies dropped",
         false,
         {copies},
         nullptr,
         "No copy of a recorder was found in " + copies +
             ". Open the folder that holds the HMDHIFI folder, the HMDHIFI folder itself, or a track index "
             "file "
             "(TRKIDXnn.HMA)."},
        {"nothing there dropped",
         false,
         {copies + "\\Gone"},
         nullptr,
         "Tavolin could not find " + copies + "\\Gone."},
        {"a long name outside ASCII dropped", false, {betaLong}, "Beta", beta},
        {"the folder holding HMDHIFI dropped", false, {alpha}, "Alpha"},
        {"a name outside ASCII dropped", false, {betaTwin}, "Beta", beta},
    };
    std::unique_ptr<Tavolin> app;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.isStarted) {
            if (app != nullptr) CloseAndCheck(*app, row.name);
            app = std::make_unique<Tavolin>();
            ASSERT_TRUE(app->Start({row.paths[0]})) << app->Error();
        } else {
            ASSERT_TRUE(app->Drop(row.paths));
        }
        if (row.title != nullptr) {
            ExpectListingOf(*app, row.text.empty() ? row.paths[0] : row.text, row.title);
            continue;
        }
        HWND box = wd::WaitForMessageBox(ERROR_TITLE, app->ProcessId());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(wd::MessageBoxText(box), row.text);
        EXPECT_TRUE(wd::AnswerMessageBox(box));
        EXPECT_TRUE(
            wd::WaitFor([&] { return Text(app->Controls().getTracks) == GET_TRACKS_AFTER_FAILURE_TEXT; }));
        EXPECT_EQ(wd::ReadListCount(app->Controls().trackList), 0);
    }
    EXPECT_NE(GetWindowLongW(app->Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);

    // While the save dialog is open a drop changes nothing.
    const int lines = wd::ReadListCount(app->Controls().trackList);
    HWND dialog = app->ClickForDialog(app->Controls().saveFormat, SAVE_TITLE);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(app->Drop({alpha}));
    app->Settle();
    EXPECT_EQ(app->Caption(), CaptionWith("Beta"));
    EXPECT_EQ(wd::ReadListCount(app->Controls().trackList), lines);
    ASSERT_TRUE(wd::CancelDialog(dialog));

    // Get Tracks goes on looking for the recorder.
    ASSERT_TRUE(app_driver::WriteDemoRecorderOn(app_driver::REMOVABLE_DRIVE));
    app_driver::Listing demo;
    ASSERT_TRUE(app_driver::ListWithTool(app_driver::REMOVABLE_DRIVE, &demo));
    Scan(*app);
    EXPECT_EQ(app->Caption(), CaptionWith(demo.discTitle));
    CloseAndCheck(*app, "after the copies");
}

// Acting while a scan runs: a listing-mode switch and a second Get Tracks,
// then closing the window.
TEST(Tavolin, HandlesCommandsDuringAScan) {
    EmptyAllDrives();
    constexpr uint32_t TRACKS = 2047;
    app_driver::WriteRecorder(app_driver::REMOVABLE_DRIVE, {{0, BigDisc(TRACKS), 0}});
    app_driver::Listing disc;
    ASSERT_TRUE(app_driver::ListWithTool(app_driver::REMOVABLE_DRIVE, &disc));
    ASSERT_EQ(disc.tracks.size(), TRACKS);
    FillCatalogue(disc);
    const std::vector<RefLine> groups = ReferenceGroups();

    Tavolin app;
    ASSERT_TRUE(app.Start()) << app.Error();
    const app_driver::MainControls& c = app.Controls();
    HWND listType = app.PanelCombo("List Type");
    ASSERT_NE(listType, nullptr);

    // The switch lands during the scan when it finds a partial listing;
    // a try whose scan ended first is repeated.
    bool isDuringScan = false;
    for (int attempt = 0; attempt < 20 && !isDuringScan; ++attempt) {
        SCOPED_TRACE(attempt);
        const char* mode = attempt % 2 == 0 ? "Group Listing" : "Full Listing";
        wd::ClickButton(c.getTracks, true);
        ASSERT_TRUE(wd::WaitFor([&] { return Text(c.getTracks) == "Scanning..."; }));
        const std::vector<std::string> items = wd::ReadComboLines(listType);
        const int index = int(std::find(items.begin(), items.end(), mode) - items.begin());
        wd::SelectComboItem(listType, index);
        const int partial = wd::ReadListCount(c.trackList);
        const bool isScanning = Text(c.getTracks) == "Scanning...";
        if (isScanning && partial > 0) {
            isDuringScan = true;
            // Get Tracks now changes nothing: the partial listing stays and the
            // running scan goes on.
            wd::ClickButton(c.getTracks);
            if (Text(c.getTracks) == "Scanning...") {
                EXPECT_GE(wd::ReadListCount(c.trackList), partial);
            }
        }
        ASSERT_TRUE(wd::WaitFor([&] { return Text(c.getTracks) == "Get Tracks..."; }, 20000));
        app.Settle();
        listType = app.PanelCombo("List Type");
        if (Text(listType) == "Full Listing") {
            ASSERT_TRUE(app.Choose(listType, "Group Listing"));
        }
        listType = app.PanelCombo("List Type");
        // Whatever landed when, the listing ends whole, each line once.
        ExpectLines(app, groups, "group listing after the scan");
        ExpectNoLineTwice(app.Lines());
    }
    EXPECT_TRUE(isDuringScan) << "no try switched the mode while the scan ran";

    // In Full Listing a scan with a second Get Tracks during it lists every
    // track once.
    ASSERT_TRUE(app.Choose(listType, "Full Listing"));
    wd::ClickButton(c.getTracks, true);
    ASSERT_TRUE(wd::WaitFor([&] { return Text(c.getTracks) == "Scanning..."; }));
    wd::ClickButton(c.getTracks, true);
    ASSERT_TRUE(wd::WaitFor([&] { return Text(c.getTracks) == "Get Tracks..."; }, 20000));
    app.Settle();
    EXPECT_EQ(wd::ReadListCount(c.trackList), int(TRACKS));
    ExpectNoLineTwice(app.Lines());

    // Closed during a scan: the process ends by itself, exit code 0; only a
    // hang outlasts the limit.
    wd::ClickButton(c.getTracks, true);
    ASSERT_TRUE(wd::WaitFor([&] { return Text(c.getTracks) == "Scanning..."; }));
    DWORD code = 1;
    ASSERT_TRUE(app.Close(HANG_LIMIT_MS, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(app.HasCrashReport()) << app.Log();
}

}  // namespace
