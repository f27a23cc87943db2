// The listing's window side on real controls under Wine: the fast re-order
// and build against the one-line-at-a-time references, the preview, and the
// export driven through the real save dialog and message boxes.
#include "listing/listing_win.h"
#include "listing/export_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "listing/format_line.h"
#include "listing/listing_builder.h"
#include "settings/busy_flag.h"
#include "support/format_slots.h"
#include "support/list_state_win.h"
#include "support/presort_pairing_win.h"
#include "support/program_state.h"
#include "tools/lib/listing_reference/listing_reference.h"
#include "tools/lib/listing_reference/listing_reference_win.h"
#include "tools/lib/window_driver/window_driver_win.h"
#include "ui/controls_win.h"
#include "text/fields.h"

namespace wd = window_driver;
using window_driver::SameListState;

namespace {

std::string WindowText(HWND window) {
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class ListingWindowTest : public ProgramStateTest {
protected:
    void SetUp() override {
        ProgramStateTest::SetUp();
        static int serial = 0;
        const std::string name = "TAVOLINLISTINGTEST" + std::to_string(++serial);
        context_ = CreateWindowContext(GetModuleHandleA(nullptr), name.c_str(), 0);
        ASSERT_NE(context_, nullptr);
        ASSERT_EQ(OpenMainWindow(context_, 900, 700, "Tavolin listing test"), 1);
        gListingWindow.context = context_;
        gListingWindow.trackList = MakeList(10);
        gListingWindow.statusLabel =
            CreateControl(context_, CONTROL_STATIC_TEXT, 10, 620, 300, 20, "", 0, nullptr, nullptr);
        gListingWindow.previewText =
            CreateControl(context_, CONTROL_MULTILINE_EDIT, 320, 620, 500, 40, "", 0, nullptr, nullptr);
        otherList_ = MakeList(310);
        otherStatus_ = CreateControl(context_, CONTROL_STATIC_TEXT, 320, 590, 300, 20, "", 0, nullptr, nullptr);
    }

    void TearDown() override {
        DestroyWindow(MainWindowOf(context_));
        wd::PumpMessages();
        DestroyWindowContext(context_);
        gListingWindow = {};
        ProgramStateTest::TearDown();
    }

    // A list box of the track list's kind, with a proportional font so that
    // equally long lines measure differently.
    HWND MakeList(int y) {
        HWND list = CreateControl(context_, CONTROL_LIST_BOX, 10, y, 860, 280, "", 0, nullptr, nullptr);
        SetControlFont(context_, list, 14, 0, 0, 0, "Tahoma");
        return list;
    }

    // Build and re-order through the pairing check: a build's presort must be
    // followed by its own re-order.
    void Build() { pairing_.Build(); }
    void Reorder(HWND list, CompareCallback compare) {
        if (const char* what = pairing_.Reorder(list, context_, compare))
            ADD_FAILURE() << "pairing broken: " << what;
    }

    PresortPairing pairing_;
    WindowContext* context_ = nullptr;
    HWND otherList_ = nullptr;
    HWND otherStatus_ = nullptr;
};

// BuildListing + ReorderList (batch fill, batch rewrite, rewrite left out
// when nothing moves) against one AddItem per line + one-by-one insertion, then
// further re-orders after a user's selection and scrolling: every line, item
// data, selection, caret, top line, extent and the scroll bar must agree, and
// the status labels too. The first re-order runs with the default levels (no
// ties on distinct track numbers) or with random levels full of ties.
TEST_F(ListingWindowTest, BuildAndReorderLeaveTheReferenceState) {
    std::mt19937 rng(99);
    auto randomLevels = [&] {
        for (SortLevel& level : gFormatSettings.sortLevels)
            level = {1 + uint32_t(rng() % 14), uint32_t(rng() % 2)};
    };
    for (uint32_t seed = 1; seed <= 1; ++seed) {
        RandomCatalogueOptions options;
        options.groupCount = 30;
        options.distinctFirstNumbers = true;  // where the pairwise build's table works
        options.textLength = seed * 7;
        FillRandomCatalogue(seed, 200 + seed * 100, options);
        for (ListingMode mode : {FULL_LISTING, GROUP_LISTING}) {
            for (bool isDefault : {true, false}) {
                SCOPED_TRACE(testing::Message()
                             << "seed " << seed << " mode " << mode << " default " << isDefault);
                SetFormatDefaults(gFormatSettings);
                gFormatSettings.listingMode = mode;
                if (!isDefault) randomLevels();
                ClearList(gListingWindow.trackList);
                ClearList(otherList_);
                Build();
                ReferenceBuildListing(context_, otherList_, otherStatus_);
                EXPECT_EQ(WindowText(gListingWindow.statusLabel), WindowText(otherStatus_));
                // The build alone may differ (presorted); build and re-order may not.
                Reorder(gListingWindow.trackList, CompareTracks);
                ReferenceReorderList(otherList_, CompareTracks);
                ASSERT_TRUE(
                    SameListState(ReadListState(gListingWindow.trackList), ReadListState(otherList_)));
                EXPECT_GT(ReadListState(otherList_).horizontalExtent, 0);
                // tavolin-list's listing, composed without a list box, is the same.
                ComposedListing sorted;
                ASSERT_EQ(ComposeSortedListing(gCatalogue, mode, CompareTracks, sorted), 1);
                const ListState built = ReadListState(gListingWindow.trackList);
                ASSERT_EQ(built.texts.size(), size_t(sorted.count));
                for (uint32_t i = 0; i < sorted.count; ++i) {
                    EXPECT_EQ(built.texts[i], sorted.lines[i].text) << "line " << i;
                    EXPECT_EQ(built.items[i], sorted.lines[i].itemData) << "line " << i;
                }
                ReleaseListing(sorted);

                // A selected line and a scrolled list, as a user leaves them.
                for (HWND list : {gListingWindow.trackList, otherList_}) {
                    SendMessageA(list, LB_SETSEL, TRUE, 3);
                    SendMessageA(list, LB_SETCARETINDEX, 3, 0);
                    SendMessageA(list, LB_SETTOPINDEX, 20, 0);
                }
                for (int pass = 0; pass < 2; ++pass) {
                    // With the default levels nothing moves, yet the selection
                    // and scrolling must go as in the reference; with random
                    // levels, the second pass moves only equal lines.
                    if (pass == 0 && !isDefault) randomLevels();
                    Reorder(gListingWindow.trackList, CompareTracks);
                    ReferenceReorderList(otherList_, CompareTracks);
                    ASSERT_TRUE(
                        SameListState(ReadListState(gListingWindow.trackList), ReadListState(otherList_)))
                        << "pass " << pass;
                }
                // Sorted, unselected and at the top again: a re-order that moves
                // nothing still leaves the reference's state.
                for (HWND list : {gListingWindow.trackList, otherList_}) {
                    ClearList(list);
                }
                SetFormatDefaults(gFormatSettings);
                gFormatSettings.listingMode = mode;
                Build();
                ReferenceBuildListing(context_, otherList_, otherStatus_);
                ReferenceReorderList(otherList_, CompareTracks);
                for (int pass = 0; pass < 2; ++pass) {
                    Reorder(gListingWindow.trackList, CompareTracks);
                    if (pass) ReferenceReorderList(otherList_, CompareTracks);
                    ASSERT_TRUE(
                        SameListState(ReadListState(gListingWindow.trackList), ReadListState(otherList_)))
                        << "again " << pass;
                }
            }
        }
    }
}

// The re-order runs no scroll upkeep: the extent stays that of the line that
// was first among the longest when the list was built, even when another line
// of the same length but a wider measure comes first after the re-order.
TEST_F(ListingWindowTest, ReorderKeepsTheBuildsHorizontalExtent) {
    ClearCatalogue();
    float length = 1;
    AppendTrack({"iiiiiiiiiiiiiiiiiiii", "", "", "", 2, &length, 0, ""});
    AppendTrack({"WWWWWWWWWWWWWWWWWWWW", "", "", "", 1, &length, 0, ""});
    // Lists without a font of their own measure with the proportional default.
    gListingWindow.trackList =
        CreateControl(context_, CONTROL_LIST_BOX, 10, 10, 400, 100, "", 0, nullptr, nullptr);
    HWND other = CreateControl(context_, CONTROL_LIST_BOX, 10, 120, 400, 100, "", 0, nullptr, nullptr);
    Build();
    ReferenceBuildListing(context_, other, otherStatus_);
    const int builtExtent = ReadListState(other).horizontalExtent;
    Reorder(gListingWindow.trackList, CompareTracks);
    ReferenceReorderList(other, CompareTracks);
    const ListState fast = ReadListState(gListingWindow.trackList);
    EXPECT_TRUE(SameListState(fast, ReadListState(other)));
    EXPECT_EQ(fast.texts[0], "WWWWWWWWWWWWWWWWWWWW");
    EXPECT_EQ(fast.horizontalExtent, builtExtent);
    // The measure of the W line really differs: an upkeep would change the extent.
    const std::vector<ListLine> wide = {{"WWWWWWWWWWWWWWWWWWWW", 0}};
    ClearList(other);
    AppendListLines(context_, other, wide.data(), 1);
    EXPECT_GT(ReadListState(other).horizontalExtent, builtExtent);

    // With one longest line the build fills presorted (the extent cannot
    // change), and the re-order right after it finds nothing to move, yet
    // leaves the reference's state.
    ClearCatalogue();
    for (uint32_t i = 40; i >= 1; --i)
        AppendTrack({std::string(i, 'x').c_str(), "", "", "", i, &length, 0, ""});
    for (HWND list : {gListingWindow.trackList, other}) ClearList(list);
    Build();
    EXPECT_EQ(GetListItemData(gListingWindow.trackList, 0), 39);  // track 1, reported last
    ReferenceBuildListing(context_, other, otherStatus_);
    Reorder(gListingWindow.trackList, CompareTracks);
    ReferenceReorderList(other, CompareTracks);
    EXPECT_TRUE(SameListState(ReadListState(gListingWindow.trackList), ReadListState(other)));
}

// A presorted build re-ordered by another comparison, or under other sort
// settings, is reported; the pairing's own re-order and a re-order of a list
// that was not presorted are not.
TEST_F(ListingWindowTest, BrokenPairingOfBuildAndReorderIsReported) {
    std::vector<std::string> reports;
    auto reorder = [&](CompareCallback compare) {
        if (const char* what = pairing_.Reorder(gListingWindow.trackList, context_, compare))
            reports.push_back(what);
    };
    ClearCatalogue();
    float length = 1;
    for (uint32_t i = 5; i >= 1; --i)
        AppendTrack({std::string(i, 'x').c_str(), "", "", "", i, &length, 0, ""});
    auto reverse = [](const char*, const char*, intptr_t a, intptr_t b) { return int(b - a); };

    ClearList(gListingWindow.trackList);
    pairing_.Build();
    reorder(CompareTracks);
    reorder(reverse);  // not presorted any more
    EXPECT_TRUE(reports.empty());

    ClearList(gListingWindow.trackList);
    pairing_.Build();
    reorder(reverse);
    ASSERT_EQ(reports.size(), 1u);

    ClearList(gListingWindow.trackList);
    pairing_.Build();
    gFormatSettings.sortLevels[0] = {SORT_NUMBER_DESC, 0};
    reorder(CompareTracks);
    EXPECT_EQ(reports.size(), 2u);
}

// The reference fills its list through the program's own UTF-16 calls, so
// texts beyond ASCII read back alike from both lists (through UTF-8 A
// messages they arrived as one character per byte).
TEST_F(ListingWindowTest, TextsBeyondAsciiAgreeWithTheReference) {
    ClearCatalogue();
    float length = 1;
    AppendTrack({"002) Caf\u00E9", "", "", "Caf\u00E9", 2, &length, 0, ""});
    AppendTrack({"001) \u6771\u4EAC \U0001F3B5", "", "", "\u6771\u4EAC \U0001F3B5", 1, &length, 0, ""});
    Build();
    Reorder(gListingWindow.trackList, CompareTracks);
    ReferenceBuildListing(context_, otherList_, otherStatus_);
    ReferenceReorderList(otherList_, CompareTracks);
    const ListState reference = ReadListState(otherList_);
    EXPECT_TRUE(SameListState(ReadListState(gListingWindow.trackList), reference));
    ASSERT_EQ(reference.texts.size(), 2u);
    EXPECT_EQ(reference.texts[0], "001) \u6771\u4EAC \U0001F3B5");
    EXPECT_EQ(reference.texts[1], "002) Caf\u00E9");
}

TEST_F(ListingWindowTest, EmptyListingsAndTheirStatus) {
    ClearCatalogue();
    Build();
    EXPECT_EQ(WindowText(gListingWindow.statusLabel), "Found no files");
    Reorder(gListingWindow.trackList, CompareTracks);
    EXPECT_EQ(GetListCount(gListingWindow.trackList), 0);
    gFormatSettings.listingMode = GROUP_LISTING;
    float length = 5;
    AppendTrack({"001) x", "", "", "x", 1, &length, 132000, ""});  // no group
    Build();
    EXPECT_EQ(WindowText(gListingWindow.statusLabel), "Found no groups");
    EXPECT_EQ(GetListCount(gListingWindow.trackList), 0);
    gFormatSettings.listingMode = FULL_LISTING;
    Build();
    EXPECT_EQ(WindowText(gListingWindow.statusLabel), "Found 1 tracks");
}

TEST_F(ListingWindowTest, PreviewShowsTheCurrentLineOnly) {
    ClearCatalogue();
    float l1 = 42.7f, l2 = 65;
    AppendTrack({"007) Intro", "", "", "Intro", 7, &l1, 1411200, ""});
    AppendTrack({"002) Song", "Band", "", "Song", 2, &l2, 132000, ""});
    StoreFieldText(gFormatSettings.fullFormat.slots[0].token, FORMAT_FIELD_SIZE, "Trk Number");
    StoreFieldText(gFormatSettings.fullFormat.slots[1].token, FORMAT_FIELD_SIZE, "<Space>");
    StoreFieldText(gFormatSettings.fullFormat.slots[2].token, FORMAT_FIELD_SIZE, "Title");
    StoreFieldText(gFormatSettings.fullFormat.slots[3].token, FORMAT_FIELD_SIZE, "<Tab>");
    StoreFieldText(gFormatSettings.fullFormat.slots[4].token, FORMAT_FIELD_SIZE, "Trk Format");
    // An empty list has no current line (a filled extended-selection list
    // always has one: its focused line).
    SetWindowTextA(gListingWindow.previewText, "untouched");
    RefreshPreview();
    EXPECT_EQ(WindowText(gListingWindow.previewText), "untouched");

    Build();
    Reorder(gListingWindow.trackList, CompareTracks);
    wd::SelectListLine(gListingWindow.trackList, 1);
    RefreshPreview();
    EXPECT_EQ(WindowText(gListingWindow.previewText), "007 Intro\tPCM\t1411kbps");
    // The export's rendering of a line is the preview's.
    char line[FORMAT_LINE_SIZE];
    EXPECT_EQ(RenderListLine(1, line, sizeof line), std::strlen("007 Intro\tPCM\t1411kbps"));
    EXPECT_STREQ(line, "007 Intro\tPCM\t1411kbps");
    wd::SelectListLine(gListingWindow.trackList, 0);
    RefreshPreview();
    EXPECT_EQ(WindowText(gListingWindow.previewText), "002 Song\tLP2 132kbps");
    ClearList(gListingWindow.trackList);
    RefreshPreview();  // the list emptied: the preview keeps its text
    EXPECT_EQ(WindowText(gListingWindow.previewText), "002 Song\tLP2 132kbps");
}

// --- Export -----------------------------------------------------------------

std::string TestPath(const char* name) { return std::string(LISTING_TEST_DIR) + "\\" + name; }

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ExportRun {
    bool dialogDriven = false;
    std::string boxTitle, boxText;
};

// Runs ExportListing on this thread while a helper thread answers the save
// dialog with path (or cancels it when path is null) and closes the message
// box that follows, noting its title and text.
ExportRun RunExport(const char* path) {
    ExportRun run;
    const DWORD pid = GetCurrentProcessId();
    std::thread helper([&] {
        HWND dialog = wd::WaitForTopWindow(wd::DIALOG_CLASS, EXPORT_DIALOG_TITLE, pid);
        if (!dialog) return;
        if (!path) {
            run.dialogDriven = wd::CancelDialog(dialog);
            return;
        }
        run.dialogDriven = wd::DriveFileDialog(dialog, path, true);
        HWND box = nullptr;
        wd::WaitFor([&] {
            box = wd::FindMessageBox(TITLE_OK, pid);
            if (!box) box = wd::FindMessageBox(TITLE_ERROR, pid);
            return box != nullptr;
        });
        if (!box) return;
        run.boxTitle = wd::ReadWindowText(box);
        run.boxText = wd::MessageBoxText(box);
        wd::AnswerMessageBox(box);
    });
    ExportListing();
    helper.join();
    return run;
}

TEST_F(ListingWindowTest, ExportsFullAndGroupListingsByteForByte) {
    ClearCatalogue();
    const struct {
        const char* title;
        const char* group;
        uint32_t number;
        float length;
    } tracks[] = {
        {"Intro", "Live", 7, 42.7f}, {"Song", "", 2, 3605}, {"Outro", "Live", 9, 65}, {"Mix", "Club", 1, 7}};
    for (const auto& t : tracks) {
        float length = t.length;
        AppendTrack({t.title, "Band", "", t.title, t.number, &length, 132000, t.group});
    }
    SetSlots(gFormatSettings.fullFormat,
             {{"Trk Number", ""}, {"<Space>", "1"}, {"Title", ""}, {"<CRLF>", "1"}});
    SetSlots(gFormatSettings.groupFormat, {{"Grp Number", ""},
                                           {"-", "2"},
                                           {"Grp Name", ""},
                                           {"<Tab>", "1"},
                                           {"Grp Length", ""},
                                           {"<CR>", "1"}});
    Build();
    Reorder(gListingWindow.trackList, CompareTracks);

    const std::string full = TestPath("export-full.txt");
    std::remove(full.c_str());
    ExportRun run = RunExport(full.c_str());
    EXPECT_TRUE(run.dialogDriven);
    EXPECT_EQ(run.boxTitle, TITLE_OK);
    EXPECT_EQ(run.boxText, EXPORT_SUCCESS_TEXT);
    EXPECT_EQ(ReadFileBytes(full), "001 Mix\r\n002 Song\r\n007 Intro\r\n009 Outro\r\n");
    EXPECT_EQ(gBusy, 0);

    // Group Listing, exported over the same file (overwrite confirmed). The
    // settings change before the build, whose presort follows them.
    gFormatSettings.listingMode = GROUP_LISTING;
    gFormatSettings.sortLevels[0] = {SORT_LENGTH_DESC, 0};
    ClearList(gListingWindow.trackList);
    Build();
    Reorder(gListingWindow.trackList, CompareTracks);
    run = RunExport(full.c_str());
    EXPECT_EQ(run.boxTitle, TITLE_OK);
    EXPECT_EQ(ReadFileBytes(full), "002--Live\t1m:48s\n001--Club\t07s\n");

    // Without the line break every line runs into the next.
    gFormatSettings.listingMode = FULL_LISTING;
    gFormatSettings.sortLevels[0] = {SORT_NUMBER_ASC, 0};
    ClearList(gListingWindow.trackList);
    Build();
    Reorder(gListingWindow.trackList, CompareTracks);
    StoreFieldText(gFormatSettings.fullFormat.slots[3].token, FORMAT_FIELD_SIZE, "<None>");
    run = RunExport(full.c_str());
    EXPECT_EQ(ReadFileBytes(full), "001 Mix002 Song007 Intro009 Outro");
}

TEST_F(ListingWindowTest, EmptyListingExportsAnEmptyFile) {
    ClearCatalogue();
    Build();
    const std::string path = TestPath("export-empty.txt");
    {
        std::ofstream old(path, std::ios::binary);
        old << "old contents";
    }
    const ExportRun run = RunExport(path.c_str());
    EXPECT_EQ(run.boxTitle, TITLE_OK);
    EXPECT_EQ(run.boxText, EXPORT_SUCCESS_TEXT);
    EXPECT_EQ(ReadFileBytes(path), "");
    EXPECT_EQ(gBusy, 0);
}

TEST_F(ListingWindowTest, FailuresShowTheErrorBoxAndClearTheBusyFlag) {
    ClearCatalogue();
    float length = 30;
    for (uint32_t i = 1; i <= 50; ++i) AppendTrack({"line", "", "", "Title", i, &length, 132000, ""});
    SetSlots(gFormatSettings.fullFormat, {{"Title", ""}, {"<CRLF>", "1"}});
    Build();

    // A file that another program holds open without sharing cannot be created.
    const std::string locked = TestPath("export-locked.txt");
    HANDLE holder =
        CreateFileA(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ExportRun run = RunExport(locked.c_str());
    CloseHandle(holder);
    EXPECT_TRUE(run.dialogDriven);
    EXPECT_EQ(run.boxTitle, TITLE_ERROR);
    EXPECT_EQ(run.boxText, EXPORT_CREATE_FAILED_TEXT);
    EXPECT_EQ(gBusy, 0);

    // A write-protected file is refused with the creation text and keeps its bytes.
    const std::string readOnly = TestPath("export-read-only.txt");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::ofstream(readOnly, std::ios::binary) << "kept";
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
    run = RunExport(readOnly.c_str());
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_TRUE(run.dialogDriven);
    EXPECT_EQ(run.boxTitle, TITLE_ERROR);
    EXPECT_EQ(run.boxText, EXPORT_CREATE_FAILED_TEXT);
    EXPECT_EQ(ReadFileBytes(readOnly), "kept");
    EXPECT_EQ(gBusy, 0);

    // A cancelled dialog: no box, no file, the flag cleared.
    const std::string never = TestPath("export-cancelled.txt");
    std::remove(never.c_str());
    run = RunExport(nullptr);
    EXPECT_TRUE(run.dialogDriven);
    EXPECT_EQ(GetFileAttributesA(never.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(gBusy, 0);

    // While the flag is set the command does nothing at all.
    gBusy = 1;
    ExportListing();
    EXPECT_EQ(gBusy, 1);
    EXPECT_EQ(wd::FindTopWindow(wd::DIALOG_CLASS, EXPORT_DIALOG_TITLE, GetCurrentProcessId()), nullptr);
    gBusy = 0;
}

// Run by the ctest entry that starts this program under a file-size limit
// (TAVOLIN_FILE_LIMIT bytes): the export fills the medium up halfway, the
// error box comes instead of the success box, and the user's previous file
// keeps its bytes, with no new file left beside it.
TEST_F(ListingWindowTest, ExportToAMediumThatFillsUpKeepsTheOldFile) {
    const char* limit = std::getenv("TAVOLIN_FILE_LIMIT");
    if (!limit) GTEST_SKIP() << "runs only under a file-size limit";
    ClearCatalogue();
    float length = 30;
    const uint32_t lineBytes = 1000;
    const uint32_t count = 3 * uint32_t(std::strtoul(limit, nullptr, 10)) / lineBytes;
    for (uint32_t i = 1; i <= count; ++i) AppendTrack({"line", "", "", "Title", i, &length, 132000, ""});
    SetSlots(gFormatSettings.fullFormat, {{"-", "1000"}});
    Build();

    const std::string previous = TestPath("export-filled-up.txt");
    std::ofstream(previous, std::ios::binary) << "the previous listing\r\n";
    const ExportRun run = RunExport(previous.c_str());
    EXPECT_TRUE(run.dialogDriven);
    EXPECT_EQ(run.boxTitle, TITLE_ERROR);
    EXPECT_EQ(run.boxText, EXPORT_WRITE_FAILED_TEXT);
    EXPECT_EQ(ReadFileBytes(previous), "the previous listing\r\n");
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((previous + "*").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do EXPECT_STREQ(found.cFileName, "export-filled-up.txt") << "a file left beside the old one";
    while (FindNextFileA(search, &found));
    FindClose(search);
    EXPECT_EQ(gBusy, 0);
}

}  // namespace
