// What the scenarios share: the texts the program shows, as a user reads
// them; the steps every scenario takes (a scan, a file command, the close);
// and what the program must show or write for a recorder, worked out in this
// process from tavolin-list's report of the same folder, never by the
// program's own listing, sort or line code.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/process_probe/process_probe_win.h"
#include "tools/lib/app_driver/app_driver_win.h"
#include "tools/lib/listing_reference/listing_reference.h"

namespace e2e {

// Captions, buttons and message boxes, word for word.
constexpr char PROGRAM_TITLE[] = "Tavolin - 0.04 - https://tavolin.example/";
constexpr char GET_TRACKS_TEXT[] = "Get Tracks...";
constexpr char GET_TRACKS_AFTER_FAILURE_TEXT[] = "Get Tracks";
constexpr char SCANNING_TEXT[] = "Scanning...";
constexpr char SCAN_FAILED_TITLE[] = "Error";
constexpr char SCAN_FAILED_TEXT[] =
    "Failed to scan the HI-MD for tracks. Please make sure the HI-MD device is connected and that you can "
    "access the HI-MD directory using Windows Explorer. Please also ensure that SonicStage is not running.";
constexpr char OK_TITLE[] = "Tavolin OK";
constexpr char ERROR_TITLE[] = "Tavolin Error";
constexpr char EXPORT_TITLE[] = "Select where to save output listing file.";
constexpr char EXPORT_DONE_TEXT[] = "Listing file has been successfully created";
constexpr char EXPORT_CREATE_FAILED_TEXT[] =
    "Failed to create output listing file. Please make sure the path is valid, the media is not write "
    "protected and that you are not trying to overwrite a write protected file ";
constexpr char EXPORT_WRITE_FAILED_TEXT[] =
    "Failed to write output listing file. Please make sure the media is not full or write protected and "
    "that it is still connected; the file may be incomplete.";
constexpr char SAVE_TITLE[] = "Select where to save formatting configuration.";
constexpr char LOAD_TITLE[] = "Select format configuration file to use";
constexpr char SAVE_DONE_TEXT[] = "Configuration file has been successfully created";
constexpr char SAVE_CREATE_FAILED_TEXT[] =
    "Failed to create formatting configuration file. Please make sure the path is valid, the media is not "
    "write protected and that you are not trying to overwrite a write protected file ";
constexpr char SAVE_WRITE_FAILED_TEXT[] =
    "Failed to write formatting configuration file. Please make sure the media is not full or write "
    "protected and that it is still connected; the file may be incomplete.";
constexpr char LOAD_VERSION_TEXT[] = "The format file could not be read or is an incorrect version.";

// "'<disc title>'  ---- <program title>"
std::string CaptionWith(const std::string& discTitle);

// A window that has not answered a message for this long hangs; slower
// answers than usual are only printed (tavolin-bench measures them).
constexpr DWORD HANG_LIMIT_MS = 30000;
// Stops the watch and prints its figures; fails if the window hung.
void ExpectNoHang(process_probe::ResponseWatch& watch);

std::string Text(HWND window);
std::string WorkPath(const std::string& name);
// A path in work folders named in other scripts: "...\\Zoë\\音楽\\name".
std::string ScriptFolderPath(const std::string& name);
void EmptyAllDrives();

// Get Tracks on a recorder that is there: true once the handler returned
// and the scan ended (the button's caption back).
bool GetTracks(app_driver::Tavolin& app, DWORD timeoutMs = 30000);
// The button's file dialog answered with path (an overwrite prompt
// confirmed), then the message box titled boxTitle, unless null, answered.
// Returns the box's text ("" without one), or what did not appear.
// fileType >= 0: that entry of the dialog's file types is chosen first.
constexpr int FILE_TYPE_COMBO_ID = 0x470;
std::string FileCommand(app_driver::Tavolin& app, HWND button, const char* dialogTitle,
                        const std::string& path, const char* boxTitle, int fileType = -1);
// Closes the window: the program ends by itself, exit code 0, no crash.
void CloseAndCheck(app_driver::Tavolin& app, const char* when);

// Puts the listed tracks into this process's catalogue, in report order
// (item data: the report index), for the expected listings.
void FillCatalogue(const app_driver::Listing& listing);
// The Full Listing's lines in report order, and the Group Listing in its
// default order (by group number) built by the reference: as composed
// before any re-order.
std::vector<RefLine> ReportOrder(const app_driver::Listing& listing);
std::vector<RefLine> ReferenceGroups();
// The lines re-ordered as the program re-orders (lines that compare equal
// reversed) by `compare` over the catalogue's records.
using RecordOrder = int (*)(const TrackRecord& a, const TrackRecord& b);
std::vector<RefLine> Reordered(const std::vector<RefLine>& lines, RecordOrder compare);
int ByTrackNumber(const TrackRecord& a, const TrackRecord& b);
// The shown lines, in any order, are tavolin-list's lines.
void ExpectToolLines(const app_driver::Tavolin& app, const app_driver::Listing& listing);
// The list's lines with their item data.
std::vector<RefLine> ShownLines(const app_driver::Tavolin& app);
// A track or group number as a layout writes it: "007".
std::string Number(uint32_t n);

// A layouts file: the version, then the Full Listing table and, from
// version 2, the Group Listing table; 40 slots of a 32-byte token and a
// 32-byte parameter each, "<None>" and "1" unless given, NUL-filled.
struct SlotText {
    int slot;
    const char* token;
    const char* param;
};
constexpr size_t LAYOUTS_FILE_SIZE = 5124;
std::string LayoutsFile(uint32_t version, std::initializer_list<SlotText> full,
                        std::initializer_list<SlotText> group = {});

// A disc of trackCount titled tracks in groups of 100, for the scans that
// last long enough to act during them.
std::vector<uint8_t> BigDisc(uint32_t trackCount);

// The keyboard, as a user uses it: the program's window brought to the
// front, then the key pressed and let go while the modifier (0: none) is
// held. False when the window did not come to the front or the input was
// refused.
bool PressKey(const app_driver::Tavolin& app, WORD key, WORD modifier = 0);
// The same into another of the program's top-level windows.
bool PressKeyIn(HWND window, WORD key, WORD modifier = 0);
// The control of the program that has the keyboard focus; null: none.
HWND FocusOf(const app_driver::Tavolin& app);
// The focused control of the thread that owns the window; null: none.
HWND FocusIn(HWND window);
// The controls that Tab walks, in the order a user reads them: the track
// list, the panel's controls line by line and left to right, the buttons.
std::vector<HWND> ReadingOrder(const app_driver::Tavolin& app);
// Empties the clipboard; then the clipboard's text as UTF-8 once some is
// there ("" when none arrives in time).
bool EmptyTheClipboard();
std::string WaitForClipboardText(DWORD timeoutMs = 5000);

}  // namespace e2e
