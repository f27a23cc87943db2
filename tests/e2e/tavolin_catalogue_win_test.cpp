// The catalogue window end to end: tavolin.exe started on a catalogue file
// of the scenario's own, driven from this process. What the window finds and
// adds is compared with what tavolin-list finds and adds in the same file
// while the program holds it open.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/found_rows.h"
#include "catalogue/sqlite_db.h"
#include "support/found_row_order.h"
#include "e2e_support_win.h"
#include "tools/lib/app_driver/app_driver_win.h"
#include "tools/lib/window_driver/window_driver_win.h"
#include "tools/shipped/demo/demo_disc.h"

namespace {

namespace wd = window_driver;
using namespace e2e;
using app_driver::Tavolin;

constexpr char CATALOGUE_CLASS[] = "TAVOLINCATALOGUEWND";
constexpr char CAR_TITLE[] = "Demo Copy for the Car";
constexpr char JAPANESE_WORD[] = "\xE6\x9D\xB1\xE4\xBA\xAC";        // 東京
constexpr char GREEK_WORD[] = "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7";  // Καλη

struct CatalogueControls {
    HWND window, find, list, status, path, add, show, remove, exportCsv, open;
};

// The window shows before its controls exist: found once the last is there.
bool OpenCatalogueWindow(Tavolin& app, CatalogueControls& c) {
    wd::ClickButton(wd::FindChild(app.Window(), "Button", "Catalogue..."), true);
    c = {};
    c.window = wd::WaitForTopWindow(CATALOGUE_CLASS, nullptr, app.ProcessId());
    if (c.window == nullptr) return false;
    if (!wd::WaitFor([&] { return wd::FindChild(c.window, "Button", "Open...") != nullptr; })) return false;
    c.find = wd::FindChild(c.window, "Edit", nullptr);
    c.list = wd::FindChild(c.window, "SysListView32", nullptr);
    std::vector<wd::ChildWindow> labels;
    for (const wd::ChildWindow& child : wd::ListChildren(c.window))
        if (child.className == "Static") labels.push_back(child);
    std::sort(labels.begin(), labels.end(),
              [](const wd::ChildWindow& a, const wd::ChildWindow& b) { return a.rect.top < b.rect.top; });
    if (labels.size() != 3) return false;
    c.status = labels[1].window;
    c.path = labels[2].window;
    c.add = wd::FindChild(c.window, "Button", "Add Listed Disc");
    c.show = wd::FindChild(c.window, "Button", "Show Disc");
    c.remove = wd::FindChild(c.window, "Button", "Remove Disc");
    c.exportCsv = wd::FindChild(c.window, "Button", "Export CSV...");
    c.open = wd::FindChild(c.window, "Button", "Open...");
    return c.find && c.list && c.add && c.show && c.remove && c.exportCsv;
}

void SetFind(Tavolin& app, const CatalogueControls& c, const std::string& text) {
    std::wstring utf16(size_t(MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, utf16.data(), int(utf16.size()));
    SendMessageW(c.find, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(utf16.c_str()));
    app.Settle();
}

int SelectedRow(HWND list) { return int(SendMessageW(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED)); }

// Enter in the Find box, as the keyboard sends it to the focused edit.
void PressEnterIn(HWND edit) {
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
    PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
}

// What tavolin-list finds for text in the same catalogue, as CSV.
std::string ToolCsv(const std::string& file, const std::string& text) {
    std::string out;
    if (!app_driver::RunListTool({"--catalogue", file, "--find", text, "--csv"}, &out)) return "<not started>";
    return out;
}

// A structure of the program's memory, for the list view messages that
// take a pointer: written there, sent, read back.
template <class T>
bool SendThrough(HWND window, UINT message, WPARAM wParam, T& value, size_t extra = 0) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return false;
    const size_t size = sizeof value + extra;
    char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
    bool ok = remote != nullptr && WriteProcessMemory(process, remote, &value, sizeof value, nullptr);
    if (ok) {
        SendMessageW(window, message, wParam, LPARAM(remote));
        ok = ReadProcessMemory(process, remote, &value, sizeof value, nullptr) != FALSE;
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return ok;
}

// The texts of one column of a list view's rows, as the view shows them.
std::vector<std::string> ListViewColumn(HWND list, int column) {
    std::vector<std::string> texts;
    const int count = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    DWORD processId = 0;
    GetWindowThreadProcessId(list, &processId);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process == nullptr) return texts;
    constexpr int TEXT_UNITS = 260;
    struct Request {
        LVITEMW item;
        wchar_t text[TEXT_UNITS];
    };
    auto* remote = static_cast<Request*>(VirtualAllocEx(process, nullptr, sizeof(Request), MEM_COMMIT, PAGE_READWRITE));
    for (int row = 0; remote != nullptr && row < count; ++row) {
        Request request = {};
        request.item.iSubItem = column;
        request.item.pszText = remote->text;
        request.item.cchTextMax = TEXT_UNITS;
        WriteProcessMemory(process, remote, &request, sizeof request, nullptr);
        SendMessageW(list, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(remote));
        ReadProcessMemory(process, remote, &request, sizeof request, nullptr);
        request.text[TEXT_UNITS - 1] = L'\0';
        char utf8[3 * TEXT_UNITS + 1];
        WideCharToMultiByte(CP_UTF8, 0, request.text, -1, utf8, sizeof utf8, nullptr, nullptr);
        texts.push_back(utf8);
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return texts;
}

// The rows in sight as "disc|number|title".
std::vector<std::string> ShownRows(HWND list) {
    const std::vector<std::string> discs = ListViewColumn(list, FOUND_DISC);
    const std::vector<std::string> numbers = ListViewColumn(list, FOUND_NUMBER);
    const std::vector<std::string> titles = ListViewColumn(list, FOUND_TITLE);
    std::vector<std::string> rows;
    for (size_t i = 0; i < discs.size() && i < numbers.size() && i < titles.size(); ++i)
        rows.push_back(discs[i] + "|" + numbers[i] + "|" + titles[i]);
    return rows;
}

// A user's click on a column's header, or a double click on a row, at the
// middle of what the program reports as its place.
bool ClickAt(HWND window, const RECT& r, bool isDouble) {
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
    if (isDouble) {
        PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageW(window, WM_LBUTTONUP, 0, at);
    }
    return r.right > r.left;
}

bool ClickHeader(HWND list, int column) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    RECT r = {};
    return header != nullptr && SendThrough(header, HDM_GETITEMRECT, WPARAM(column), r) && ClickAt(header, r, false);
}

bool DoubleClickRow(HWND list, int row) {
    RECT r = {};
    r.left = LVIR_LABEL;
    return SendThrough(list, LVM_GETITEMRECT, WPARAM(row), r) && ClickAt(list, r, true);
}

size_t CsvRows(const std::string& csv) { return size_t(std::count(csv.begin(), csv.end(), '\n')) - 1; }

enum class Step {
    TOOL_ADD,      // tavolin-list --add of the copy: text is its answer
    ADD_RECORDER,  // Get Tracks on D:, then Add Listed Disc: text is the note
    ADD_COPY,      // the copy dropped on the main window, then Add Listed Disc
    FIND,          // text into Find: rows and export as the store finds them
    SHOW,          // text narrows to one disc, Enter, Show Disc: its export as the recorder's
    REMOVE,        // text narrows to one disc, Enter, Remove Disc, Yes
    ADD_ELSEWHERE, // a disc titled text added by this process while the window is open
    READ_ONLY_ADD, // Add Listed Disc into the file marked read-only: the box, the file as it was
    KEYS,          // Ctrl+F, Tab, Esc
    SORT,          // every track, then clicks on the Title header: A-Z by FoundRowLess, then its reverse
    ROW_ACTIVATED,  // a double click on a row of the disc titled text: the main window lists it
    OPEN,          // Open... of a catalogue holding the copy alone, then Open... of the scenario's again
    OPEN_NEWER,    // Open... of a copy of the file with a newer schema: the box names it, nothing changes
};

TEST(TavolinCatalogue, AddsFindsShowsAndRemovesDiscs) {
    EmptyAllDrives();
    ASSERT_TRUE(app_driver::WriteDemoRecorderOn(app_driver::REMOVABLE_DRIVE));
    const std::string file = WorkPath("catalogue.sqlite"), copy = WorkPath("Car Copy");
    for (const char* ending : {"", "-wal", "-shm"}) app_driver::DeleteFileAt(file + ending);
    wd::RemoveTree(copy, true);
    std::string error;
    ASSERT_TRUE(WriteDemoRecorder(copy, error, CAR_TITLE)) << error;
    app_driver::Listing demo;
    ASSERT_TRUE(app_driver::ListWithTool(app_driver::REMOVABLE_DRIVE, &demo));

    Tavolin app;
    ASSERT_TRUE(app.Start({"--catalogue", file})) << app.Error();
    CatalogueControls c;
    ASSERT_TRUE(OpenCatalogueWindow(app, c));
    ASSERT_TRUE(wd::WaitFor([&] { return FocusIn(c.window) == c.find; })) << "Find has the focus first";
    EXPECT_EQ(Text(c.path), "Catalogue: " + file);
    EXPECT_EQ(Text(c.status), "0 discs, 0 tracks");
    EXPECT_FALSE(IsWindowEnabled(c.add)) << "nothing listed yet";
    const std::string recorderExport = WorkPath("recorder.txt"), shownExport = WorkPath("shown.txt");

    const struct {
        const char* name;
        Step step;
        std::string text;
        std::string status;  // "": the store's count decides
    } steps[] = {
        {"the demo disc added", Step::ADD_RECORDER, "", "1 disc, 36 tracks  (" + demo.discTitle + " added)"},
        {"the same disc again", Step::ADD_RECORDER, "", "1 disc, 36 tracks  (" + demo.discTitle + " unchanged)"},
        {"the copy added by tavolin-list", Step::TOOL_ADD, "", ""},
        // The window stores a disc exactly as tavolin-list does.
        {"the same copy from the window", Step::ADD_COPY, "",
         std::string("2 discs, 72 tracks  (") + CAR_TITLE + " unchanged)"},
        {"a Japanese word", Step::FIND, JAPANESE_WORD, "6 tracks found"},
        {"a Greek word, any case", Step::FIND, "\xCE\xBA\xCE\xB1\xCE\xBB\xCE\xB7", "2 tracks found"},
        {"a Greek word", Step::FIND, GREEK_WORD, "2 tracks found"},
        {"nothing", Step::FIND, "no such words", "0 tracks found"},
        {"sorted by title", Step::SORT, "", "2 discs, 72 tracks"},
        {"a double click on a row", Step::ROW_ACTIVATED, demo.discTitle, ""},
        {"another catalogue opened", Step::OPEN, "", "1 disc, 36 tracks"},
        {"a catalogue of a newer version", Step::OPEN_NEWER, "", "2 discs, 72 tracks"},
        {"the copy shown", Step::SHOW, CAR_TITLE, ""},
        {"the copy removed", Step::REMOVE, CAR_TITLE, "1 disc, 36 tracks  (" + std::string(CAR_TITLE) + " removed)"},
        {"an add into a read-only file", Step::READ_ONLY_ADD, "", "1 disc, 36 tracks"},
        {"another program's add", Step::ADD_ELSEWHERE, "Added Elsewhere", "1 track found"},
        {"keys", Step::KEYS, JAPANESE_WORD, ""},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        switch (s.step) {
        case Step::TOOL_ADD: {
            std::string out;
            ASSERT_TRUE(app_driver::RunListTool({"--catalogue", file, "--add", copy}, &out));
            EXPECT_NE(out.find("added"), std::string::npos) << out;
            SetFind(app, c, "x");
            SetFind(app, c, "");
            EXPECT_EQ(Text(c.status), "2 discs, 72 tracks");
            break;
        }
        case Step::ADD_RECORDER:
        case Step::ADD_COPY:
            if (s.step == Step::ADD_RECORDER) {
                ASSERT_TRUE(GetTracks(app));
                if (!app_driver::ReadFileBytes(recorderExport).size())
                    EXPECT_EQ(FileCommand(app, app.Controls().exportList, EXPORT_TITLE, recorderExport, OK_TITLE),
                              EXPORT_DONE_TEXT);
            } else {
                ASSERT_TRUE(app.Drop({copy}));
                ASSERT_TRUE(wd::WaitFor([&] { return app.Caption() == CaptionWith(CAR_TITLE); }));
                ASSERT_TRUE(wd::WaitFor([&] { return Text(app.Controls().getTracks) == GET_TRACKS_TEXT; }));
            }
            ASSERT_TRUE(wd::WaitFor([&] { return IsWindowEnabled(c.add) != FALSE; }));
            SetFind(app, c, "");
            wd::ClickButton(c.add);
            EXPECT_EQ(Text(c.status), s.status);
            break;
        case Step::FIND: {
            SetFind(app, c, s.text);
            EXPECT_EQ(Text(c.status), s.status);
            const std::string expected = ToolCsv(file, s.text);
            EXPECT_EQ(Text(c.status), std::to_string(CsvRows(expected)) + " tracks found");
            const std::string csv = WorkPath("found.csv");
            EXPECT_EQ(FileCommand(app, c.exportCsv, "Export CSV", csv, OK_TITLE), "The tracks were written.");
            EXPECT_EQ(app_driver::ReadFileBytes(csv), expected);
            break;
        }
        case Step::SHOW:
            SetFind(app, c, s.text);
            PressEnterIn(c.find);
            ASSERT_TRUE(wd::WaitFor([&] { return SelectedRow(c.list) == 0; }));
            wd::ClickButton(c.show);
            EXPECT_EQ(app.Caption(), CaptionWith(s.text));
            EXPECT_EQ(wd::ReadListCount(app.Controls().trackList), 36);
            EXPECT_EQ(FileCommand(app, app.Controls().exportList, EXPORT_TITLE, shownExport, OK_TITLE),
                      EXPORT_DONE_TEXT);
            // The copy differs from the demo disc by its title alone, which
            // the default layout does not write.
            EXPECT_EQ(app_driver::ReadFileBytes(shownExport), app_driver::ReadFileBytes(recorderExport));
            break;
        case Step::REMOVE: {
            SetFind(app, c, s.text);
            PressEnterIn(c.find);
            ASSERT_TRUE(wd::WaitFor([&] { return SelectedRow(c.list) == 0; }));
            wd::ClickButton(c.remove, true);
            HWND box = wd::WaitForMessageBox("Remove Disc", app.ProcessId());
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(wd::MessageBoxText(box), std::string("Remove the disc \"") + CAR_TITLE +
                                                   "\" and its tracks from the catalogue " + file + "?");
            EXPECT_TRUE(wd::AnswerMessageBox(box, IDYES));
            ASSERT_TRUE(wd::WaitFor([&] { return Text(c.status).find("removed") != std::string::npos; }));
            SetFind(app, c, "");
            // The note stays until the next change of Find.
            EXPECT_EQ(Text(c.status), "1 disc, 36 tracks");
            break;
        }
        case Step::ADD_ELSEWHERE: {
            SetFind(app, c, s.text);
            EXPECT_EQ(Text(c.status), "0 tracks found");
            Catalogue writer;
            ASSERT_TRUE(OpenCatalogue(file, CatalogueMode::WRITE, writer).isOpen);
            TrackRecord track = {};
            strcpy(track.title, "A song from elsewhere");
            track.trackNumber = 1;
            const StoredDiscInfo info = {"00112233445566778899aabbccddeeff", false, s.text.c_str(), 1, "H:\\", 0};
            ASSERT_EQ(AddDisc(writer, info, &track, 1).result, AddResult::ADDED);
            SetFind(app, c, "");
            SetFind(app, c, s.text);
            EXPECT_EQ(Text(c.status), s.status);
            break;
        }
        case Step::READ_ONLY_ADD: {
            ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
            wd::ClickButton(c.add, true);
            HWND box = wd::WaitForMessageBox(ERROR_TITLE, app.ProcessId());
            ASSERT_NE(box, nullptr);
            EXPECT_NE(wd::MessageBoxText(box).find(file), std::string::npos) << wd::MessageBoxText(box);
            EXPECT_TRUE(wd::AnswerMessageBox(box));
            ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL));
            SetFind(app, c, "x");
            SetFind(app, c, "");
            EXPECT_EQ(Text(c.status), s.status);
            break;
        }
        case Step::SORT: {
            SetFind(app, c, s.text);
            EXPECT_EQ(Text(c.status), s.status);
            std::vector<std::string> expected = ShownRows(c.list);
            ASSERT_EQ(expected.size(), 72u);
            // The rows as the window holds them: the two discs differ in
            // their titles, so disc ids do not decide.
            std::vector<FoundRow> rows;
            for (const std::string& shown : expected) {
                FoundRow row = {};
                const size_t bar = shown.find('|'), second = shown.find('|', bar + 1);
                row.discTitle = shown.substr(0, bar);
                row.number = uint32_t(std::stoul(shown.substr(bar + 1, second - bar - 1)));
                row.title = shown.substr(second + 1);
                rows.push_back(row);
            }
            std::stable_sort(rows.begin(), rows.end(),
                             [](const FoundRow& a, const FoundRow& b) { return FoundRowLess(a, b, FOUND_TITLE); });
            expected.clear();
            for (const FoundRow& row : rows)
                expected.push_back(row.discTitle + "|" + std::to_string(row.number) + "|" + row.title);
            ASSERT_TRUE(ClickHeader(c.list, FOUND_TITLE));
            EXPECT_TRUE(wd::WaitFor([&] { return ShownRows(c.list) == expected; })) << "A-Z by title";
            ASSERT_TRUE(ClickHeader(c.list, FOUND_TITLE));
            std::reverse(expected.begin(), expected.end());
            EXPECT_TRUE(wd::WaitFor([&] { return ShownRows(c.list) == expected; })) << "a second click: Z-A";
            // Typing while sorted keeps the order: the copy's tracks, Z-A.
            SetFind(app, c, CAR_TITLE);
            std::vector<std::string> car;
            for (const std::string& row : expected)
                if (row.rfind(std::string(CAR_TITLE) + "|", 0) == 0) car.push_back(row);
            EXPECT_EQ(ShownRows(c.list), car);
            break;
        }
        case Step::ROW_ACTIVATED: {
            SetFind(app, c, "");
            const std::vector<std::string> discs = ListViewColumn(c.list, FOUND_DISC);
            const int row = int(std::find(discs.begin(), discs.end(), s.text) - discs.begin());
            ASSERT_LT(size_t(row), discs.size());
            ASSERT_NE(app.Caption(), CaptionWith(s.text)) << "the copy is listed before";
            ASSERT_TRUE(DoubleClickRow(c.list, row));
            EXPECT_TRUE(wd::WaitFor([&] { return app.Caption() == CaptionWith(s.text); }));
            EXPECT_EQ(wd::ReadListCount(app.Controls().trackList), 36);
            break;
        }
        case Step::OPEN: {
            const std::string other = WorkPath("other catalogue.sqlite");
            for (const char* ending : {"", "-wal", "-shm"}) app_driver::DeleteFileAt(other + ending);
            std::string out;
            ASSERT_TRUE(app_driver::RunListTool({"--catalogue", other, "--add", copy}, &out)) << out;
            EXPECT_EQ(FileCommand(app, c.open, "Open Catalogue", other, nullptr), "");
            EXPECT_EQ(Text(c.path), "Catalogue: " + other);
            EXPECT_EQ(Text(c.status), s.status);
            EXPECT_EQ(FileCommand(app, c.open, "Open Catalogue", file, nullptr), "");
            EXPECT_EQ(Text(c.path), "Catalogue: " + file);
            EXPECT_EQ(Text(c.status), "2 discs, 72 tracks");
            break;
        }
        case Step::OPEN_NEWER: {
            const std::string newer = WorkPath("newer catalogue.sqlite");
            for (const char* ending : {"", "-wal", "-shm"}) app_driver::DeleteFileAt(newer + ending);
            {
                Catalogue source;
                ASSERT_TRUE(OpenCatalogue(file, CatalogueMode::READ, source).isOpen);
                Statement into(*source.Db(), "VACUUM INTO ?1");
                into.Bind(1, newer);
                ASSERT_TRUE(into.Run());
                SqliteDb db;
                ASSERT_TRUE(db.Open(newer, OpenAccess::READ_WRITE));
                ASSERT_TRUE(db.Exec(("PRAGMA user_version = " + std::to_string(CATALOGUE_SCHEMA_VERSION + 1)).c_str()));
            }
            const std::string bytes = app_driver::ReadFileBytes(newer);
            const std::string box = FileCommand(app, c.open, "Open Catalogue", newer, ERROR_TITLE);
            EXPECT_NE(box.find(newer), std::string::npos) << box;
            EXPECT_NE(box.find("newer"), std::string::npos) << box;
            EXPECT_EQ(app_driver::ReadFileBytes(newer), bytes) << "the file untouched";
            EXPECT_EQ(Text(c.path), "Catalogue: " + file) << "the file in use kept";
            SetFind(app, c, "");
            EXPECT_EQ(Text(c.status), s.status);
            break;
        }
        case Step::KEYS:
            SetFind(app, c, s.text);
            ASSERT_TRUE(PressKeyIn(c.window, 'F', VK_CONTROL));
            ASSERT_TRUE(wd::WaitFor([&] { return FocusIn(c.window) == c.find; })) << "Ctrl+F: Find";
            ASSERT_TRUE(PressKeyIn(c.window, VK_TAB));
            ASSERT_TRUE(wd::WaitFor([&] { return FocusIn(c.window) == c.list; })) << "Tab: Find, then the list";
            ASSERT_TRUE(PressKeyIn(c.window, 'F', VK_CONTROL));
            ASSERT_TRUE(wd::WaitFor([&] { return FocusIn(c.window) == c.find; })) << "Ctrl+F: Find";
            ASSERT_TRUE(PressKeyIn(c.window, VK_RETURN));
            EXPECT_TRUE(wd::WaitFor([&] { return SelectedRow(c.list) == 0 && FocusIn(c.window) == c.list; }))
                << "Enter: the first row";
            ASSERT_TRUE(PressKeyIn(c.window, VK_ESCAPE));
            EXPECT_TRUE(wd::WaitFor([&] { return !IsWindowVisible(c.window); })) << "Esc: closed";
            ASSERT_TRUE(OpenCatalogueWindow(app, c)) << "a second press shows it again";
            break;
        }
    }
    CloseAndCheck(app, "after the catalogue");

    // A file that is no catalogue: the box names it, and the file stays.
    const std::string foreign = WorkPath("not a catalogue.sqlite");
    const std::string bytes(4096, 'x');
    ASSERT_TRUE(app_driver::WriteFileBytes(foreign, bytes));
    Tavolin second;
    ASSERT_TRUE(second.Start({"--catalogue", foreign})) << second.Error();
    wd::ClickButton(wd::FindChild(second.Window(), "Button", "Catalogue..."), true);
    HWND box = wd::WaitForMessageBox(ERROR_TITLE, second.ProcessId());
    ASSERT_NE(box, nullptr);
    EXPECT_NE(wd::MessageBoxText(box).find(foreign), std::string::npos) << wd::MessageBoxText(box);
    EXPECT_TRUE(wd::AnswerMessageBox(box));
    EXPECT_EQ(app_driver::ReadFileBytes(foreign), bytes);
    CloseAndCheck(second, "after the foreign file");
}

}  // namespace
