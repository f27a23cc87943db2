#include "e2e_support_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "index/track_report.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "listing/track_catalogue.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "tools/lib/window_driver/window_driver_win.h"

namespace e2e {
namespace wd = window_driver;

std::string CaptionWith(const std::string& discTitle) {
    // A caption holds 387 characters; a longer title is cut to fit and ends
    // in "...", so the closing quote and the program title stay whole.
    constexpr size_t CAPTION_LENGTH = 387;
    // Built by appends: GCC 12 warns falsely (-Wrestrict) on "'" + string.
    const std::string tail = std::string("'  ---- ") + PROGRAM_TITLE;
    std::string caption = "'";
    if (1 + discTitle.size() + tail.size() <= CAPTION_LENGTH)
        caption += discTitle;
    else
        caption += discTitle.substr(0, CAPTION_LENGTH - 1 - tail.size() - 3) + "...";
    return caption + tail;
}

void ExpectNoHang(process_probe::ResponseWatch& watch) {
    watch.Stop();
    std::printf("window answers: %d probes, slowest %.1f ms\n", watch.Probes(), watch.SlowestMs());
    EXPECT_EQ(watch.Misses(), 0) << "the window did not answer for " << HANG_LIMIT_MS << " ms";
}

std::string Text(HWND window) { return wd::ReadWindowText(window); }

std::string WorkPath(const std::string& name) { return app_driver::WorkFolder() + "\\" + name; }

std::string ScriptFolderPath(const std::string& name) {
    return app_driver::WorkFolderIn("Zo\xC3\xAB\\\xE9\x9F\xB3\xE6\xA5\xBD") + "\\" + name;
}

void EmptyAllDrives() {
    for (char d : {app_driver::REMOVABLE_DRIVE, app_driver::SECOND_REMOVABLE_DRIVE, app_driver::CDROM_DRIVE,
                   app_driver::FIXED_DRIVE})
        app_driver::EmptyDrive(d);
}

bool GetTracks(app_driver::Tavolin& app, DWORD timeoutMs) {
    const HWND button = app.Controls().getTracks;
    wd::PendingClick click(button);
    return wd::WaitFor([&] { return click.IsReturned() && Text(button) == GET_TRACKS_TEXT; }, timeoutMs);
}

std::string FileCommand(app_driver::Tavolin& app, HWND button, const char* dialogTitle,
                        const std::string& path, const char* boxTitle, int fileType) {
    wd::PendingClick click(button);
    HWND dialog = wd::WaitForTopWindow(wd::DIALOG_CLASS, dialogTitle, app.ProcessId());
    if (!dialog) return "<no dialog>";
    if (fileType >= 0) {
        // The dialog takes the type on CBN_SELENDOK, which a user's choice
        // sends after CBN_SELCHANGE.
        HWND types = GetDlgItem(dialog, FILE_TYPE_COMBO_ID);
        if (!types) return "<no file types>";
        wd::SelectComboItem(types, fileType);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(FILE_TYPE_COMBO_ID, CBN_SELENDOK), LPARAM(types));
    }
    if (!wd::DriveFileDialog(dialog, path.c_str(), true)) return "<no dialog>";
    std::string text;
    if (boxTitle) {
        HWND box = wd::WaitForMessageBox(boxTitle, app.ProcessId());
        if (!box) return "<no box titled " + std::string(boxTitle) + ">";
        text = wd::MessageBoxText(box);
        wd::AnswerMessageBox(box);
    }
    wd::WaitFor([&] { return click.IsReturned(); });
    return text;
}

void CloseAndCheck(app_driver::Tavolin& app, const char* when) {
    SCOPED_TRACE(when);
    DWORD code = 1;
    EXPECT_TRUE(app.Close(5000, &code)) << "still running 5 s after WM_CLOSE";
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(app.HasCrashReport()) << app.Log();
}

void FillCatalogue(const app_driver::Listing& listing) {
    ClearCatalogue();
    for (const app_driver::ListedTrack& t : listing.tracks) {
        const float length = t.length;
        const TrackReport report = {
            t.displayLine.c_str(), t.artist.c_str(), t.album.c_str(), t.title.c_str(),
            t.trackNumber,         &length,          t.bitrate,       t.groupName.c_str()};
        AppendTrack(report);
    }
}

std::vector<RefLine> ReferenceGroups() { return ReferenceGroupListing(gCatalogue); }

namespace {
RecordOrder gOrder = nullptr;

int CompareRecords(const char*, const char*, intptr_t a, intptr_t b) {
    return gOrder(gCatalogue.records[a], gCatalogue.records[b]);
}
}  // namespace

std::vector<RefLine> Reordered(const std::vector<RefLine>& lines, RecordOrder compare) {
    gOrder = compare;
    return ReferenceReorder(lines, CompareRecords);
}

std::vector<RefLine> ReportOrder(const app_driver::Listing& listing) {
    std::vector<RefLine> lines;
    for (size_t i = 0; i < listing.tracks.size(); ++i)
        lines.push_back({listing.tracks[i].displayLine, intptr_t(i)});
    return lines;
}

int ByTrackNumber(const TrackRecord& a, const TrackRecord& b) {
    return a.trackNumber < b.trackNumber ? -1 : a.trackNumber > b.trackNumber ? 1 : 0;
}

void ExpectToolLines(const app_driver::Tavolin& app, const app_driver::Listing& listing) {
    std::multiset<std::string> expected, shown;
    for (const app_driver::ListedTrack& t : listing.tracks) expected.insert(t.displayLine);
    for (const std::string& line : app.Lines()) shown.insert(line);
    EXPECT_EQ(shown.size(), expected.size());
    EXPECT_TRUE(shown == expected) << "the listing differs from tavolin-list's";
}

std::vector<RefLine> ShownLines(const app_driver::Tavolin& app) {
    const std::vector<std::string> texts = app.Lines();
    const std::vector<intptr_t> items = wd::ReadListItemData(app.Controls().trackList);
    std::vector<RefLine> lines;
    for (size_t i = 0; i < texts.size(); ++i) lines.push_back({texts[i], i < items.size() ? items[i] : -1});
    return lines;
}

std::string Number(uint32_t n) {
    char text[16];
    std::snprintf(text, sizeof text, "%03u", unsigned(n));
    return text;
}

std::string LayoutsFile(uint32_t version, std::initializer_list<SlotText> full,
                        std::initializer_list<SlotText> group) {
    constexpr size_t FIELD = 32, SLOTS = 40;
    std::string bytes = {char(version), char(version >> 8), char(version >> 16), char(version >> 24)};
    for (const std::initializer_list<SlotText>* table : {&full, &group}) {
        if (table == &group && version < 2) break;
        for (size_t s = 0; s < SLOTS; ++s) {
            std::string token = "<None>", param = "1";
            for (const SlotText& given : *table)
                if (size_t(given.slot) == s) token = given.token, param = given.param;
            token.resize(FIELD, '\0');
            param.resize(FIELD, '\0');
            bytes += token + param;
        }
    }
    return bytes;
}

std::vector<uint8_t> BigDisc(uint32_t trackCount) {
    index_image::IndexImageBuilder b;
    b.SetDiscTitle("Long Scan");
    for (uint32_t first = 1; first <= trackCount; first += 100) {
        char name[32];
        std::snprintf(name, sizeof name, "Part %u", first / 100 + 1);
        const uint32_t last = first + 99 < trackCount ? first + 99 : trackCount;
        b.AddGroup({uint16_t(first), uint16_t(last), name});
    }
    for (uint32_t slot = 0; slot < trackCount; ++slot) {
        index_image::TrackDescription t;
        t.slot = slot;
        char title[16];
        std::snprintf(title, sizeof title, "Song %04u", slot + 1);
        t.title = title;
        t.timing = {{uint16_t(slot % 50), uint16_t(slot % 50 + 5), 0, 5}};
        b.AddTrack(t);
    }
    return b.Build();
}

namespace {
bool IsMainControl(const app_driver::MainControls& c, HWND window) {
    for (HWND own : {c.trackList, c.getTracks, c.status, c.example, c.preview, c.exportList, c.saveFormat,
                     c.loadFormat}) {
        if (own == window) return true;
    }
    return false;
}
}  // namespace

bool PressKey(const app_driver::Tavolin& app, WORD key, WORD modifier) {
    return PressKeyIn(app.Window(), key, modifier);
}

bool PressKeyIn(HWND window, WORD key, WORD modifier) {
    SetForegroundWindow(window);
    if (!wd::WaitFor([&] { return GetForegroundWindow() == window; }, 2000)) return false;
    std::vector<INPUT> inputs;
    auto add = [&](WORD k, bool up) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = k;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    if (modifier != 0) add(modifier, false);
    add(key, false);
    add(key, true);
    if (modifier != 0) add(modifier, true);
    return SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

HWND FocusOf(const app_driver::Tavolin& app) { return FocusIn(app.Window()); }

HWND FocusIn(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Panel controls on one line differ in top by the edit's one-unit offset;
// lines stand 29 units apart.
std::vector<HWND> ReadingOrder(const app_driver::Tavolin& app) {
    const app_driver::MainControls& c = app.Controls();
    // The Catalogue... button opens another window: it comes after the
    // listing's own buttons.
    HWND catalogue = wd::FindChild(app.Window(), "Button", "Catalogue...");
    std::vector<wd::ChildWindow> panel;
    for (const wd::ChildWindow& child : wd::ListChildren(app.Window())) {
        if (IsMainControl(c, child.window) || !(child.style & WS_TABSTOP) || !(child.style & WS_VISIBLE)) continue;
        if (child.window == catalogue) continue;
        if (GetParent(child.window) != app.Window()) continue;
        panel.push_back(child);
    }
    std::sort(panel.begin(), panel.end(), [](const wd::ChildWindow& a, const wd::ChildWindow& b) {
        if (std::abs(a.rect.top - b.rect.top) > 3) return a.rect.top < b.rect.top;
        return a.rect.left < b.rect.left;
    });
    std::vector<HWND> order{c.trackList};
    for (const wd::ChildWindow& child : panel) order.push_back(child.window);
    for (HWND button : {c.getTracks, c.exportList, c.loadFormat, c.saveFormat, catalogue}) order.push_back(button);
    return order;
}

bool EmptyTheClipboard() {
    if (!wd::WaitFor([] { return OpenClipboard(nullptr) != FALSE; }, 2000)) return false;
    const bool isEmptied = EmptyClipboard() != FALSE;
    CloseClipboard();
    return isEmptied;
}

std::string WaitForClipboardText(DWORD timeoutMs) {
    std::string text;
    wd::WaitFor(
        [&] {
            if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr)) return false;
            HANDLE data = GetClipboardData(CF_UNICODETEXT);
            const wchar_t* wide = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
            if (wide != nullptr) {
                const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
                if (bytes > 1) {
                    text.resize(size_t(bytes));
                    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
                    text.resize(size_t(bytes - 1));
                }
                GlobalUnlock(data);
            }
            CloseClipboard();
            return wide != nullptr;
        },
        timeoutMs);
    return text;
}

}  // namespace e2e
