// The listing's window side: the track list's order and contents, the status
// label, the preview and the export. GUI thread only.
#pragma once

#include <windows.h>

#include "listing/compare_tracks.h"
#include "ui/window_context_win.h"

// The controls the listing works on; start-up fills these in once the main
// window and its controls exist.
struct ListingWindow {
    WindowContext* context;
    HWND trackList;
    HWND statusLabel;
    HWND previewText;
};
extern ListingWindow gListingWindow;

// Texts and titles of the export's message boxes.
extern const char EXPORT_DIALOG_TITLE[];
// The two file types of the export's dialog: UTF-8 text, and UTF-8 text that
// begins with the byte order mark (EF BB BF).
extern const char EXPORT_TYPE_TEXT[];
extern const char EXPORT_TYPE_TEXT_WITH_BOM[];
extern const char EXPORT_SUCCESS_TEXT[];
extern const char EXPORT_CREATE_FAILED_TEXT[];
extern const char EXPORT_WRITE_FAILED_TEXT[];
extern const char TITLE_OK[];
extern const char TITLE_ERROR[];

// Puts the lines of list into compare order (equal lines reversed); the
// context is not used. The list's scroll upkeep is not run.
void ReorderList(HWND list, WindowContext* context, CompareCallback compare);

// Fills the (empty) track list with the listing of the current mode and
// writes the count into the status label.
void BuildListing();

// BuildListing fills an empty list presorted for the re-order that must
// follow it: ReorderList(gListingWindow.trackList, context, CompareTracks)
// under the same listing mode and sort levels. Another re-order of the
// presorted list still sorts it, but lines that compare equal may then stand
// otherwise than after a plain fill; such a re-order calls this hook with
// what broke the pairing (no hook by default; the tests set one that fails).
extern void (*gListingPairingBroken)(const char* what);

// Shows the current line of the track list rendered through the format
// table; does nothing when no line is current.
void RefreshPreview();

// Every line of the track list, top to bottom, rendered through the current
// layout exactly as Export List writes it (each line ended as the layout ends
// it), handed to write in order; stops at the first write that answers
// false, and answers false then.
using ListedLineWriter = bool (*)(void* sink, const char* line, size_t length);
bool RenderListedLines(ListedLineWriter write, void* sink);

// The Export List command: asks for a file and writes every line of the
// track list, rendered, into it as UTF-8, after the byte order mark when
// the user chose the second file type.
void ExportListing();
