#include "app/catalogue_window_win.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/caption.h"
#include "app/commands_win.h"
#include "app/main_window_win.h"
#include "base/file_system_win.h"
#include "base/known_folders_win.h"
#include "base/scoped_win.h"
#include "catalogue/catalogue.h"
#include "catalogue/catalogue_path.h"
#include "catalogue/found_rows.h"
#include "index/track_index.h"
#include "listing/compare_tracks.h"
#include "listing/export_win.h"
#include "listing/listing_builder.h"
#include "listing/listing_win.h"
#include "listing/presort_win.h"
#include "listing/track_catalogue.h"
#include "settings/busy_flag.h"
#include "ui/controls_win.h"
#include "ui/file_dialogs_win.h"
#include "ui/list_view_win.h"
#include "ui/save_flow_win.h"

namespace {

constexpr int WINDOW_WIDTH = 820;  // outer size as the window opens
constexpr int WINDOW_HEIGHT = 520;
// Rows fetched at once around a row the list asks for.
constexpr uint64_t PAGE_ROWS = 128;

struct CatalogueWindow {
    WindowContext* context;
    HWND findLabel, findEdit, list, status, addButton, showButton, removeButton, exportButton, pathLabel,
        openButton;
    std::string path;
    Catalogue reader;         // kept open for finds; reopened when empty or another file is chosen
    std::string readerPath;   // the path reader was opened with, as given
    bool hasReportedFailure;  // the current file's failure was shown once already
    std::string findText;
    uint64_t count;        // rows found
    uint64_t pageOffset;   // first row of page
    std::vector<FoundRow> page;
    int sortColumn;        // -1: the store's order; rows are fetched a page at a time in either
    bool isDescending;
    std::string note;      // the last add's outcome, shown after the counts
};

CatalogueWindow gWindow = {};
std::string gPath;
CatalogueWindowCounts gCounts = {};

// The stored disc the main window lists, when it lists one: Add Listed Disc
// stores it under its own key again.
struct ShownDisc {
    bool isShown;
    std::string key;
    bool isKeyDerived;
    std::string source;
};
ShownDisc gShown = {};

struct ControlPlace {
    HWND CatalogueWindow::*handle;
    ControlKind kind;
    int x, y, width, height;
    const char* text;
    uint32_t resizeFlags;
};

const ControlPlace PLACES[] = {
    {&CatalogueWindow::findLabel, CONTROL_STATIC_TEXT, 10, 13, 40, 20, "Find:", 0},
    {&CatalogueWindow::findEdit, CONTROL_EDIT, 55, 10, 400, 22, "", RESIZE_WIDTH},
    {&CatalogueWindow::list, CONTROL_LIST_VIEW, 10, 40, 785, 340, nullptr, RESIZE_WIDTH | RESIZE_HEIGHT},
    {&CatalogueWindow::status, CONTROL_STATIC_TEXT, 10, 388, 785, 20, "", RESIZE_Y | RESIZE_WIDTH},
    {&CatalogueWindow::addButton, CONTROL_PUSH_BUTTON, 10, 412, 130, 26, "Add Listed Disc", RESIZE_Y},
    {&CatalogueWindow::showButton, CONTROL_PUSH_BUTTON, 150, 412, 100, 26, "Show Disc", RESIZE_Y},
    {&CatalogueWindow::removeButton, CONTROL_PUSH_BUTTON, 260, 412, 100, 26, "Remove Disc", RESIZE_Y},
    {&CatalogueWindow::exportButton, CONTROL_PUSH_BUTTON, 370, 412, 110, 26, "Export CSV...", RESIZE_Y},
    {&CatalogueWindow::pathLabel, CONTROL_STATIC_TEXT, 10, 452, 675, 20, "", RESIZE_Y | RESIZE_WIDTH},
    {&CatalogueWindow::openButton, CONTROL_PUSH_BUTTON, 695, 448, 100, 26, "Open...", RESIZE_X | RESIZE_Y},
};

const int COLUMN_WIDTHS[FOUND_COLUMN_COUNT] = {150, 32, 105, 105, 135, 55, 85, 115};

bool IsOpen() { return gWindow.context != nullptr && MainWindowOf(gWindow.context) != nullptr; }

void ReportFailure(const std::string& message) {
    ShowMessage(message.c_str(), CATALOGUE_ERROR_TITLE);
}

// The reader for the next find. A missing file reads as an empty catalogue
// until the first add makes it, so an empty reader is opened again each time.
bool EnsureReader() {
    CatalogueWindow& w = gWindow;
    // The store keeps the path in its own form; the one asked for decides.
    if (w.reader.Db() != nullptr && w.readerPath == w.path) return true;
    Catalogue opened;
    const CatalogueOpenResult result = OpenCatalogue(w.path, CatalogueMode::READ, opened);
    if (!result.isOpen) {
        // One box per file: the find runs on every keystroke.
        if (!w.hasReportedFailure) ReportFailure(result.message);
        w.hasReportedFailure = true;
        return false;
    }
    w.reader = std::move(opened);
    w.readerPath = w.path;
    return true;
}

void ShowStatus(const std::string& counts) {
    CatalogueWindow& w = gWindow;
    std::string text = counts;
    if (!w.note.empty()) text += "  (" + w.note + ")";
    SetWindowCaption(w.status, text.c_str());
}

std::string Plural(uint64_t n, const char* one, const char* many) {
    return FormatCount(n) + " " + (n == 1 ? one : many);
}

static_assert(int(ORDER_DISC) == int(FOUND_DISC) && int(ORDER_RECORDED) == int(FOUND_RECORDED) &&
                  int(ORDER_COUNT) == int(FOUND_COLUMN_COUNT),
              "the store's orders are the table's columns");

// The found rows from offset on, in the window's order: the sorted column's
// or the store's.
FindRange RangeOfRows(uint64_t offset, uint64_t limit) {
    const CatalogueWindow& w = gWindow;
    FindRange range;
    range.offset = offset;
    range.limit = limit;
    range.order = w.sortColumn;
    range.isDescending = w.isDescending;
    range.knownCount = w.count;
    return range;
}

// Every row found, in the window's order.
bool FetchAllRows(std::vector<FoundRow>& rows) {
    CatalogueWindow& w = gWindow;
    rows.clear();
    if (!EnsureReader()) return false;
    if (w.reader.IsEmpty()) return true;
    ++gCounts.queries;
    const CatalogueStatus status = FindTracks(
        w.reader, w.findText,
        [&rows](const FoundTrack& found) {
            rows.push_back(MakeFoundRow(found));
            return true;
        },
        RangeOfRows(0, UINT64_MAX));
    gCounts.rowsRead += rows.size();
    if (!status.ok) ReportFailure(status.message);
    return status.ok;
}

// The find as the text stands: the count, and no row until the list asks
// for it; the store sorts a sorted column's pages.
void Find() {
    CatalogueWindow& w = gWindow;
    w.page.clear();
    w.pageOffset = 0;
    w.count = 0;
    uint64_t discs = 0;
    if (EnsureReader() && !w.reader.IsEmpty()) {
        ++gCounts.queries;
        const CatalogueStatus status = CountTracks(w.reader, w.findText, w.count);
        if (!status.ok) ReportFailure(status.message);
        if (w.findText.empty()) {
            ++gCounts.queries;
            CountDiscs(w.reader, discs);
        }
    }
    std::string counts;
    if (w.findText.empty())
        counts = Plural(discs, "disc", "discs") + ", " + Plural(w.count, "track", "tracks");
    else
        counts = Plural(w.count, "track", "tracks") + " found";
    SetListViewRowCount(w.list, size_t(w.count));
    ShowStatus(counts);
}

// The row at index, fetched with its page when not at hand; null past the
// found rows.
const FoundRow* RowAt(uint64_t index) {
    CatalogueWindow& w = gWindow;
    if (index >= w.count) return nullptr;
    if (index >= w.pageOffset && index - w.pageOffset < w.page.size()) return &w.page[size_t(index - w.pageOffset)];
    if (!EnsureReader() || w.reader.IsEmpty()) return nullptr;
    w.page.clear();
    w.pageOffset = index / PAGE_ROWS * PAGE_ROWS;
    std::vector<FoundRow>& page = w.page;
    FindTracks(
        w.reader, w.findText,
        [&page](const FoundTrack& found) {
            page.push_back(MakeFoundRow(found));
            return true;
        },
        RangeOfRows(w.pageOffset, PAGE_ROWS));
    ++gCounts.queries;
    gCounts.rowsRead += w.page.size();
    if (index - w.pageOffset < w.page.size()) return &w.page[size_t(index - w.pageOffset)];
    return nullptr;
}

const FoundRow* SelectedRow() {
    const int row = GetListViewSelectedRow(gWindow.list);
    return row < 0 ? nullptr : RowAt(uint64_t(row));
}

void ShowPath() {
    const std::string text = "Catalogue: " + gWindow.path;
    SetWindowCaption(gWindow.pathLabel, text.c_str());
}

// Reads the index file whole, for the key of a disc without identity.
bool ReadIndexFile(const char* path, std::vector<uint8_t>& image) {
    HANDLE file = OpenFileByPath(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (file == INVALID_HANDLE_VALUE) return false;
    image.assign(INDEX_READ_LIMIT, 0);
    DWORD got = 0;
    const BOOL isRead = ReadFile(file, image.data(), INDEX_READ_LIMIT, &got, nullptr);
    CloseHandle(file);
    image.resize(got);
    return isRead != FALSE;
}

const char* AddResultText(AddResult result) {
    switch (result) {
    case AddResult::ADDED: return "added";
    case AddResult::UPDATED: return "updated";
    case AddResult::UNCHANGED: return "unchanged";
    case AddResult::FAILED: break;
    }
    return "failed";
}

void AddListedDisc() {
    CatalogueWindow& w = gWindow;
    if (gCatalogue.count == 0 || IsScanPending()) return;
    char key[DISC_KEY_SIZE] = "";
    bool isDerived = false;
    std::string source = gListedDisc.indexPath;
    if (gShown.isShown) {
        snprintf(key, sizeof key, "%s", gShown.key.c_str());
        isDerived = gShown.isKeyDerived;
        source = gShown.source;
    } else if (!DiscKeyFromIdentity(gListedDisc.identity, key)) {
        std::vector<uint8_t> image;
        if (!ReadIndexFile(gListedDisc.indexPath, image)) {
            ReportFailure(std::string("The track index ") + gListedDisc.indexPath +
                          " could not be read again to make the disc's key; the catalogue " + w.path +
                          " was left as it was.");
            return;
        }
        DiscKeyFromImage(image.data(), image.size(), key);
        isDerived = true;
    }
    // The records as tavolin-list stores them: the Group Listing composed
    // over them (numbering and summing groups in place) whatever the window
    // lists now, so that either program finds the other's disc unchanged.
    std::vector<TrackRecord> tracks(gCatalogue.records, gCatalogue.records + gCatalogue.count);
    for (TrackRecord& t : tracks) {
        t.groupNumber = 0;
        t.groupLength = 0;
    }
    TrackCatalogue stored = {tracks.data(), uint32_t(tracks.size()), uint32_t(tracks.size())};
    ComposedListing groups = {};
    uint32_t groupCount = 0;
    if (ComposeListing(stored, GROUP_LISTING, groups)) groupCount = groups.count;
    ReleaseListing(groups);
    Catalogue writer;
    const CatalogueOpenResult opened = OpenCatalogue(w.path, CatalogueMode::WRITE, writer);
    if (!opened.isOpen) {
        ReportFailure(opened.message);
        return;
    }
    StoredDiscInfo info = {key,         isDerived, gListedDisc.title,
                           uint32_t(gListedDisc.generation < 0 ? 0 : gListedDisc.generation),
                           source.c_str(), groupCount};
    if (gListedDisc.indexName[0] != '\0') info.indexName = gListedDisc.indexName;
    info.hasTitleCell = gListedDisc.hasTitle;
    const AddOutcome outcome = AddDisc(writer, info, tracks.data(), tracks.size());
    if (outcome.result == AddResult::FAILED) {
        ReportFailure(outcome.message);
        return;
    }
    w.hasReportedFailure = false;
    w.note = std::string(gListedDisc.title[0] != '\0' ? gListedDisc.title : key) + " " +
             AddResultText(outcome.result);
    Find();
}

// Lists the stored disc in the main window as a scan of it would: the same
// listing, sort, preview and export run on it.
void ShowDisc(const FoundRow& row) {
    if (gBusy || IsScanPending()) return;
    CatalogueWindow& w = gWindow;
    if (!EnsureReader() || w.reader.IsEmpty()) return;
    std::vector<TrackRecord> tracks;
    const CatalogueStatus loaded = LoadDiscTracks(w.reader, row.discId, tracks);
    gCounts.queries += 2;
    gCounts.rowsRead += tracks.size();
    if (!loaded.ok) {
        ReportFailure(loaded.message);
        return;
    }
    StoredDisc disc = {};
    const CatalogueStatus found = FindDisc(w.reader, row.discKey, disc);
    ClearCatalogue();
    for (const TrackRecord& t : tracks) AppendTrackRecord(t);
    BeginListedDisc("");
    if (!found.ok || disc.hasTitle) SetListedDiscTitle(row.discTitle.c_str());
    DiscIdentity identity = {};
    if (found.ok && !disc.isKeyDerived && disc.key.size() == 2 * DISC_IDENTITY_SIZE) {
        identity.isKnown = true;
        for (size_t i = 0; i < DISC_IDENTITY_SIZE; ++i)
            identity.bytes[i] = uint8_t(std::stoi(disc.key.substr(2 * i, 2), nullptr, 16));
    }
    SetListedDiscIdentity(identity);
    gShown = {true, row.discKey, found.ok && disc.isKeyDerived, found.ok ? disc.source : std::string()};

    char caption[CAPTION_SIZE];
    ComposeCaption(row.discTitle.c_str(), PROGRAM_TITLE, caption, sizeof caption);
    SetWindowCaption(MainWindowOf(gMainWindow.context), caption);
    // Emptied with redraw off: the build fills it at once, and a paint of
    // the empty box in between would only cost time.
    const HWND list = gMainWindow.trackList;
    SetRedraw(list, false);
    ClearList(list);
    BuildListing();
    // A presorted fill that still stands as it was left is in the order the
    // re-order would give; reading its lines back to find that out cost
    // more than the build's sort.
    if (IsOwedReorder(list) && StandsAsFilled(list))
        SettleListFill(list);
    else
        ReorderList(list, gMainWindow.context, CompareTracks);
    RefreshCatalogueCommands();
}

void RemoveDisc() {
    CatalogueWindow& w = gWindow;
    const FoundRow* selected = SelectedRow();
    if (selected == nullptr) return;
    const FoundRow row = *selected;
    const std::string question = "Remove the disc \"" + (row.discTitle.empty() ? row.discKey : row.discTitle) +
                                 "\" and its tracks from the catalogue " + w.path + "?";
    if (!AskYesNo(question.c_str(), "Remove Disc")) return;
    Catalogue writer;
    const CatalogueOpenResult opened = OpenCatalogue(w.path, CatalogueMode::WRITE, writer);
    if (!opened.isOpen) {
        ReportFailure(opened.message);
        return;
    }
    const CatalogueStatus removed = ::RemoveDisc(writer, row.discId);
    if (!removed.ok) {
        ReportFailure(removed.message);
        return;
    }
    w.note = (row.discTitle.empty() ? row.discKey : row.discTitle) + " removed";
    Find();
}

const FileType CSV_TYPES[] = {{"CSV File (*.csv)", "*.csv"}};

bool WriteFoundCsv(FileReplacement& file, int, void*) {
    if (!file.Write(FOUND_CSV_HEADER, DWORD(strlen(FOUND_CSV_HEADER)))) return false;
    std::vector<FoundRow> rows;
    if (!FetchAllRows(rows)) return false;
    for (const FoundRow& row : rows) {
        const std::string line = FoundCsvLine(row);
        if (!file.Write(line.data(), DWORD(line.size()))) return false;
    }
    return true;
}

void ExportCsv() {
    const SaveCommand command = {"Export CSV",
                                 CSV_TYPES,
                                 1,
                                 FILE_SHARE_READ,
                                 "The tracks were written.",
                                 TITLE_OK,
                                 "The CSV file could not be created.",
                                 "The CSV file could not be written.",
                                 CATALOGUE_ERROR_TITLE};
    SaveThroughDialog(command, WriteFoundCsv, nullptr);
}

const FileType CATALOGUE_TYPE = {"Tavolin Catalogue (*.sqlite)", "*.sqlite"};

// Another file is used only once it opens; a failure keeps the one in use.
void OpenOtherFile() {
    CatalogueWindow& w = gWindow;
    char name[3 * MAX_PATH + 1];
    if (!ShowOpenDialog("Open Catalogue", CATALOGUE_TYPE, name, sizeof name)) return;
    Catalogue opened;
    const CatalogueOpenResult result = OpenCatalogue(name, CatalogueMode::READ, opened);
    if (!result.isOpen) {
        ReportFailure(result.message);
        return;
    }
    w.path = gPath = name;
    w.reader = std::move(opened);
    w.readerPath = w.path;
    w.hasReportedFailure = false;
    w.note.clear();
    ShowPath();
    Find();
}

void ReadFindText() {
    CatalogueWindow& w = gWindow;
    const int length = GetWindowTextLengthW(w.findEdit);
    std::string text(size_t(length > 0 ? length : 0) * 3 + 1, '\0');
    const int got = GetControlText(w.findEdit, text.data(), text.size());
    text.resize(size_t(got > 0 ? got : 0));
    w.findText = text;
}

void HandleCommand(WindowContext*, HWND control, intptr_t, void*) {
    CatalogueWindow& w = gWindow;
    if (control == w.findEdit) {
        ReadFindText();
        w.note.clear();
        Find();
    } else if (control == w.addButton) {
        AddListedDisc();
    } else if (control == w.showButton) {
        if (const FoundRow* row = SelectedRow()) ShowDisc(*row);
    } else if (control == w.removeButton) {
        RemoveDisc();
    } else if (control == w.exportButton) {
        ExportCsv();
    } else if (control == w.openButton) {
        OpenOtherFile();
    }
}

void HandleNotify(WindowContext*, HWND, UINT, WPARAM, LPARAM lParam, intptr_t) {
    CatalogueWindow& w = gWindow;
    const ListViewNotification n = ReadListViewNotification(lParam);
    if (n.view != w.list) return;
    switch (n.event) {
    case LIST_VIEW_TEXT_REQUEST: {
        const FoundRow* row = n.row >= 0 ? RowAt(uint64_t(n.row)) : nullptr;
        AnswerListViewTextRequest(lParam, row != nullptr ? FoundColumnText(*row, n.column).c_str() : "");
        break;
    }
    case LIST_VIEW_COLUMN_CLICK:
        if (n.column < 0 || n.column >= FOUND_COLUMN_COUNT) break;
        w.isDescending = w.sortColumn == n.column ? !w.isDescending : false;
        w.sortColumn = n.column;
        Find();
        break;
    case LIST_VIEW_DOUBLE_CLICK:
        if (n.row >= 0) {
            if (const FoundRow* row = RowAt(uint64_t(n.row))) ShowDisc(*row);
        }
        break;
    case LIST_VIEW_OTHER: break;
    }
}

// Closing hides the window; the next Catalogue... shows it as it was left.
void HandleClose(WindowContext* context, HWND, UINT, WPARAM, LPARAM, intptr_t) {
    ShowWindow(MainWindowOf(context), SW_HIDE);
}

bool IsControlDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }

bool HandleKey(WindowContext* context, HWND focus, WPARAM key) {
    CatalogueWindow& w = gWindow;
    if (key == VK_ESCAPE) {
        ShowWindow(MainWindowOf(context), SW_HIDE);
        return true;
    }
    if (key == 'F' && IsControlDown()) {
        SetFocus(w.findEdit);
        SendMessageW(w.findEdit, EM_SETSEL, 0, -1);
        return true;
    }
    if (key == VK_RETURN && focus == w.findEdit) {
        if (w.count > 0) {
            SelectListViewRow(w.list, 0);
            SetFocus(w.list);
        }
        return true;
    }
    return false;
}

}  // namespace

void SetCataloguePath(const std::string& path) {
    if (!path.empty()) gPath = path;
}

const std::string& CataloguePath() {
    if (gPath.empty()) {
        const std::string appData = RoamingAppDataFolder();
        gPath = DefaultCataloguePath(CataloguePlace{true, appData.c_str(), nullptr, nullptr});
    }
    return gPath;
}

void OpenCatalogueWindow(HINSTANCE instance) {
    CatalogueWindow& w = gWindow;
    if (IsOpen()) {
        ShowWindow(MainWindowOf(w.context), SW_SHOWNORMAL);
        SetForegroundWindow(MainWindowOf(w.context));
        Find();
        return;
    }
    WindowContext* context = CreateWindowContext(instance, CATALOGUE_CLASS_NAME, MAIN_ICON_ID);
    if (context == nullptr) return;
    if (!OpenMainWindow(context, WINDOW_WIDTH, WINDOW_HEIGHT, CATALOGUE_WINDOW_TITLE)) {
        DestroyWindowContext(context);
        return;
    }
    w = CatalogueWindow{};
    w.context = context;
    w.sortColumn = -1;
    w.path = CataloguePath();
    for (const ControlPlace& p : PLACES)
        w.*p.handle = CreateControl(context, p.kind, p.x, p.y, p.width, p.height, p.text, p.resizeFlags,
                                    HandleCommand, nullptr);
    const HWND fonted[] = {w.findLabel, w.list, w.status, w.pathLabel};
    for (HWND control : fonted) SetControlFont(context, control, 14, 5, false, false, "Arial");
    SetListViewTableLook(w.list);
    for (int c = 0; c < FOUND_COLUMN_COUNT; ++c) AddListViewColumn(w.list, FOUND_COLUMN_NAMES[c], COLUMN_WIDTHS[c]);
    const HWND order[] = {w.findEdit, w.list, w.addButton, w.showButton, w.removeButton, w.exportButton,
                          w.openButton};
    SetTabOrder(order, sizeof order / sizeof order[0]);
    AddMessageHandler(context, WM_NOTIFY, HandleNotify, 0);
    AddMessageHandler(context, WM_CLOSE, HandleClose, 0);
    context->keyHandler = HandleKey;
    ServeKeys(context);
    ShowPath();
    RefreshCatalogueCommands();
    Find();
    SetFocus(w.findEdit);
}

void NoteScanBegins() {
    gShown = {};
    RefreshCatalogueCommands();
}

void RefreshCatalogueCommands() {
    if (gWindow.context == nullptr) return;
    const bool canAdd = gCatalogue.count > 0 && !IsScanPending();
    EnableWindow(gWindow.addButton, canAdd);
}

CatalogueWindowCounts ReadCatalogueWindowCounts() { return gCounts; }
void ResetCatalogueWindowCounts() { gCounts = {}; }

void DestroyCatalogueWindow() {
    CatalogueWindow& w = gWindow;
    if (w.context == nullptr) return;
    StopServingKeys(w.context);
    HWND window = MainWindowOf(w.context);
    // Its WM_DESTROY posts a quit message that no loop reads any more.
    if (window != nullptr) DestroyWindow(window);
    DestroyWindowContext(w.context);
    w = CatalogueWindow{};
}
