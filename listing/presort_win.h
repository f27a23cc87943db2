// The presort of a build and the record of the track list's last fill. A
// build of an empty list is always followed by its re-order; when the build
// fills the lines already in that order, and the list still stands as the
// fill left it, the re-order has nothing to move and leaves out its rewrite:
// a full build then fills the list box once, not twice (the box's fill is
// what a build costs most). GUI thread only.
#pragma once

#include <windows.h>

#include <cstddef>

#include "listing/listing_builder.h"
#include "ui/window_context_win.h"

// Puts lines into CompareTracks order, equal lines kept in listing order,
// unless that would change the horizontal extent that the fill's scroll
// upkeep sets or no line has a text. Returns whether the lines were
// presorted.
bool PresortLines(WindowContext* context, HWND list, ListLine* lines, size_t n);

// Notes that list was just emptied and filled (presorted or not).
void NoteListFill(HWND list, bool isPresorted);
// Forgets the last fill: no list then stands as it left it.
void ForgetListFill();
// Whether list is the list last filled and still stands in the position
// (lines, selection, scrolling) the fill left it in.
bool StandsAsFilled(HWND list);
// Whether list's last fill was presorted and no re-order has run on it
// since; a re-order settles it (SettleListFill).
bool IsOwedReorder(HWND list);
void SettleListFill(HWND list);
