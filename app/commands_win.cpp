#include "app/commands_win.h"

#include "app/caption.h"
#include "app/format_file_flows_win.h"
#include "app/main_window_win.h"
#include "index/scan_messages.h"
#include "index/locate_copy_win.h"
#include "index/scan_start_win.h"
#include "index/track_report.h"
#include "listing/compare_tracks.h"
#include "listing/listing_win.h"
#include "listing/track_catalogue.h"
#include "settings/busy_flag.h"
#include "settings/settings_handler.h"
#include "ui/controls_win.h"
#include "ui/file_dialogs_win.h"
#include "base/shell_win.h"

const char SCANNING_TEXT[] = "Scanning...";
const char GET_TRACKS_AFTER_FAILURE_TEXT[] = "Get Tracks";
const char SCAN_FAILED_TITLE[] = "Error";
const char SCAN_FAILED_TEXT[] =
    "Failed to scan the HI-MD for tracks. Please make sure the HI-MD device is connected and that "
    "you can access the HI-MD directory using Windows Explorer. Please also ensure that "
    "SonicStage is not running.";

namespace {

// Set when a scan starts, cleared when its MSG_SCAN_DONE is handled. The
// worker clears its own running marker before it posts MSG_SCAN_DONE, so
// this is the window's view of the scan: every track of it has arrived only
// once the flag is clear.
bool gIsScanPending = false;

// Every scan command begins so: the catalogue and the list emptied, the
// button reading "Scanning...".
void PrepareScan() {
    const MainWindow& w = gMainWindow;
    ClearCatalogue();
    BeginListedDisc("");
    ClearList(w.trackList);
    SetControlText(w.getTracksButton, SCANNING_TEXT);
}

// A scan that did not start: the box, then "Get Tracks" on the button until
// the next scan ends.
void ReportRefusedScan(const std::string& text, const char* title) {
    ShowMessage(text.c_str(), title);
    SetControlText(gMainWindow.getTracksButton, GET_TRACKS_AFTER_FAILURE_TEXT);
}

// While a scan runs the button already reads "Scanning..." and that scan will
// deliver the whole disc; starting over would empty the catalogue midway and
// leave a listing of only the tracks that arrive afterwards.
void GetTracks(WindowContext* context) {
    if (gIsScanPending) return;
    PrepareScan();
    if (StartScan(MainWindowOf(context))) {
        BeginListedDisc(gScan.indexPath);
        gIsScanPending = true;
        return;
    }
    ReportRefusedScan(SCAN_FAILED_TEXT, SCAN_FAILED_TITLE);
}

// The box text for a copy whose index was not found at path.
std::string CopyFailureText(CopyIndexResult result, const std::string& path) {
    switch (result) {
    case CopyIndexResult::FOUND: break;
    case CopyIndexResult::NO_SUCH_PATH: return "Tavolin could not find " + path + ".";
    case CopyIndexResult::UNREADABLE_FILE:
        return "The track index " + path + " could not be opened for reading.";
    case CopyIndexResult::NO_INDEX_FOLDER:
        return "No copy of a recorder was found in " + path +
               ". Open the folder that holds the HMDHIFI folder, the HMDHIFI folder itself, or a track index "
               "file (TRKIDXnn.HMA).";
    case CopyIndexResult::NO_MARKER:
        return "No recorder's HMDHIFI folder was found in " + path +
               ": its marker file HMDHIFI\\_MDHIFI.HMA is missing.";
    case CopyIndexResult::NO_INDEX_FILE:
        return "No track index (HMDHIFI\\TRKIDXnn.HMA) was found in " + path + ".";
    }
    return std::string();
}

// Lists the first path of a drop; the others are let go.
int HandleDroppedFiles(WindowContext* context, HWND, UINT, WPARAM wParam, LPARAM, intptr_t) {
    const std::vector<std::string> paths = TakeDroppedPaths(wParam);
    if (!paths.empty()) OpenCopy(context, paths.front());
    return 0;
}

void ClearTrackList() { ClearList(gMainWindow.trackList); }

void ReorderTrackList() { ReorderList(gMainWindow.trackList, gMainWindow.context, CompareTracks); }

}  // namespace

bool IsScanPending() { return gIsScanPending; }

// Refused like Get Tracks while a file command or a scan runs.
void OpenCopy(WindowContext* context, const std::string& path) {
    if (gBusy || gIsScanPending) return;
    PrepareScan();
    std::string fullPath, index;
    const CopyIndexResult result = LocateCopyIndex(path, fullPath, index);
    if (result != CopyIndexResult::FOUND) {
        ReportRefusedScan(CopyFailureText(result, fullPath), TITLE_ERROR);
        return;
    }
    if (StartScanOfFile(MainWindowOf(context), index.c_str(), StartSuspendedThread)) {
        BeginListedDisc(index.c_str());
        gIsScanPending = true;
        return;
    }
    ReportRefusedScan("Tavolin could not start reading the track index " + index + ".", TITLE_ERROR);
}

void AcceptDroppedCopies(WindowContext* context) {
    AcceptDroppedFiles(MainWindowOf(context));
    AddMessageHandler(context, WM_DROPFILES, HandleDroppedFiles, 0);
}

void InstallSettingsRefreshHooks() {
    SettingsRefreshHooks hooks = {};
    hooks.clearList = ClearTrackList;
    hooks.rebuildListing = BuildListing;
    hooks.reorderList = ReorderTrackList;
    hooks.refreshPreview = RefreshPreview;
    SetSettingsRefreshHooks(hooks);
}

// Load Format is the one command that runs while the busy flag is set.
int HandleMainCommand(WindowContext* context, HWND control, intptr_t, intptr_t, intptr_t) {
    const MainWindow& w = gMainWindow;
    if (control == w.loadFormatButton) {
        LoadFormat(context);
        return 1;
    }
    if (gBusy) return 1;
    if (control == w.getTracksButton)
        GetTracks(context);
    else if (control == w.trackList)
        RefreshPreview();
    else if (control == w.exportButton)
        ExportListing();
    else if (control == w.saveFormatButton)
        SaveFormat();
    return 1;
}

int HandleScanMessage(WindowContext* context, HWND, UINT message, WPARAM, LPARAM lParam, intptr_t) {
    const MainWindow& w = gMainWindow;
    switch (message) {
    case MSG_TRACK_FOUND: {
        const TrackReport* report = reinterpret_cast<const TrackReport*>(lParam);
        if (report != nullptr) AppendTrack(*report);
        break;
    }
    case MSG_SCAN_DONE:
        // A switch of the listing mode during the scan has already filled the
        // list from the tracks that had arrived by then; the listing is built
        // from scratch so that no line shows twice.
        gIsScanPending = false;
        ClearList(w.trackList);
        BuildListing();
        ReorderList(w.trackList, context, CompareTracks);
        SetWindowCaption(w.getTracksButton, GET_TRACKS_TEXT);
        break;
    case MSG_DISC_TITLE: {
        const char* title = reinterpret_cast<const char*>(lParam);
        char caption[CAPTION_SIZE];
        ComposeCaption(title != nullptr ? title : "", PROGRAM_TITLE, caption, sizeof caption);
        SetWindowCaption(MainWindowOf(context), caption);
        SetListedDiscTitle(title);
        break;
    }
    case MSG_DISC_IDENTITY: {
        const DiscIdentity* identity = reinterpret_cast<const DiscIdentity*>(lParam);
        if (identity != nullptr) SetListedDiscIdentity(*identity);
        break;
    }
    default: break;
    }
    return 1;
}
