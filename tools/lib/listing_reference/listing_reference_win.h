// Reference versions of the list-box work: one line at a time, as the
// straightforward code does it, for the tests and tavolin-bench to measure
// and compare the fast code against.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "listing/compare_tracks.h"
#include "tools/lib/window_driver/window_driver_win.h"
#include "ui/window_context_win.h"

// Saves every line, empties the list, then inserts each saved line before
// the first line it does not compare greater than, reading each existing
// line's text and item data back from the list (LB_INSERTSTRING/LB_ADDSTRING).
void ReferenceReorderList(HWND list, CompareCallback compare);

// Fills the list from gCatalogue in gFormatSettings' mode with one AddItem
// (duplicates allowed, scroll upkeep each time) per line, Group Listing
// built pairwise, and writes the status text.
void ReferenceBuildListing(WindowContext* context, HWND list, HWND status);

// The list state that lists are compared by (tools/lib/window_driver).
using window_driver::ListState;
using window_driver::ReadListState;
