// The catalogue window: finds tracks in the catalogue file, adds the listed
// disc, lists a stored one in the main window, removes discs and exports
// what was found. One window; GUI thread only.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/window_context_win.h"

constexpr char CATALOGUE_CLASS_NAME[] = "TAVOLINCATALOGUEWND";
constexpr char CATALOGUE_WINDOW_TITLE[] = "Tavolin Catalogue";
constexpr char CATALOGUE_BUTTON_TEXT[] = "Catalogue...";
constexpr char CATALOGUE_ERROR_TITLE[] = "Tavolin Error";

// The file the window works on; "" leaves the default.
void SetCataloguePath(const std::string& path);
const std::string& CataloguePath();

// Opens the window, or brings it to the front when it is open.
void OpenCatalogueWindow(HINSTANCE instance);
// A scan begins: the main window no longer lists a stored disc.
void NoteScanBegins();
// A scan began or ended, or the main window lists another disc: Add Listed
// Disc follows.
void RefreshCatalogueCommands();
// Closes the window for good (the program ends).
void DestroyCatalogueWindow();

// What the window asked of the store since the last reset, for the bench.
struct CatalogueWindowCounts {
    uint64_t queries;   // calls of the store: finds, counts, disc lists and reads
    uint64_t rowsRead;  // found tracks, discs and disc tracks read back
};
CatalogueWindowCounts ReadCatalogueWindowCounts();
void ResetCatalogueWindowCounts();
