// The listing's window side: the track list's order and contents, the status
// label and the preview. The export is in export_win.h, the presort that
// spares a build's re-order its rewrite in presort_win.h. GUI thread only.
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

// Puts the lines of list into compare order (equal lines reversed); the
// context is not used. The list's scroll upkeep is not run.
void ReorderList(HWND list, WindowContext* context, CompareCallback compare);

// Fills the (empty) track list with the listing of the current mode and
// writes the count into the status label. Into an empty list the lines go
// presorted for the re-order that must follow:
// ReorderList(gListingWindow.trackList, context, CompareTracks) under the
// same listing mode and sort levels. Another re-order of the presorted list
// still sorts it, but lines that compare equal may then stand otherwise than
// after a plain fill.
void BuildListing();

// Shows the current line of the track list rendered through the format
// table; does nothing when no line is current.
void RefreshPreview();
