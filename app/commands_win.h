// The main window's commands: its buttons and track list, and the scan
// worker's messages. GUI thread only.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/window_context_win.h"

// Texts of the Get Tracks command.
extern const char SCANNING_TEXT[];
extern const char GET_TRACKS_AFTER_FAILURE_TEXT[];
extern const char SCAN_FAILED_TITLE[];
extern const char SCAN_FAILED_TEXT[];

// ControlCallback of the track list and the four push buttons.
int HandleMainCommand(WindowContext* context, HWND control, intptr_t param, intptr_t handler, intptr_t user);

// MessageCallback of MSG_TRACK_FOUND, MSG_SCAN_DONE, MSG_DISC_TITLE and
// MSG_DISC_IDENTITY.
int HandleScanMessage(WindowContext* context, HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                      intptr_t user);

// True from a started scan until its MSG_SCAN_DONE has been handled.
bool IsScanPending();

// Lists the recorder copy at path (the folder holding HMDHIFI, the HMDHIFI
// folder or an index file) as Get Tracks lists a recorder: the same scan,
// the same rules while busy or scanning. A path without an index gives an
// error box naming it.
void OpenCopy(WindowContext* context, const std::string& path);

// The main window takes folders and index files dropped on it and opens
// the first of each drop with OpenCopy.
void AcceptDroppedCopies(WindowContext* context);

// Installs the refreshes that a changed setting runs on the main window's
// list and preview.
void InstallSettingsRefreshHooks();
