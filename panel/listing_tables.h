#pragma once
#include "panel/option_rows.h"

// The listing window's option panel: the "List Type" row, whose two choices
// reveal the sort and format rows of the Full and the Group Listing.

constexpr int LISTING_TABLE_INDEX = 1;  // registered with the settings handler
constexpr int LISTING_PANEL_X = 0;      // panel origin in the main window
constexpr int LISTING_PANEL_Y = 260;

extern OptionRow ListTypeTable[];
extern OptionRow FullListingRows[];
extern OptionRow GroupListingRows[];
extern OptionRow EmptyTable[];

// Builds the combo rows' items from the listing words, the per-slot choice
// lists and Amount/Custom tables of both modes from their templates, and resets every choice flag to the start-up state
// ("Full Listing" and every "<None>" active). Call once before the panel is
// shown; calling again restores the start-up flags.
void BuildListingTables();
