// The program's own window messages, all numbered here so that no two share
// a number. WM_USER + 20 is taken by the window layer's MSG_CONTROL_COMMAND
// (ui/window_context_win.h).
#pragma once
#include <cstdint>

constexpr uint32_t USER_MESSAGE_BASE = 0x0400;  // WM_USER

// The scan worker's messages. MSG_DISC_IDENTITY, MSG_DISC_TITLE and
// MSG_TRACK_FOUND are sent (the worker waits while the window copies what it
// keeps); MSG_SCAN_DONE is posted after the last one. MSG_DISC_IDENTITY
// comes once per scan whose index opened, before the title, known or not.
constexpr uint32_t MSG_TRACK_FOUND = USER_MESSAGE_BASE + 201;  // wParam slot, lParam const TrackReport*
constexpr uint32_t MSG_SCAN_DONE = USER_MESSAGE_BASE + 202;    // wParam 0, lParam 0
constexpr uint32_t MSG_DISC_TITLE = USER_MESSAGE_BASE + 203;   // wParam 0, lParam const char* title
constexpr uint32_t MSG_DISC_IDENTITY = USER_MESSAGE_BASE + 204;  // wParam 0, lParam const DiscIdentity*

// The option panel's request to rebuild a row's child rows, posted so that
// the rebuild runs after the notification that asked for it. wParam: the
// control; lParam: its OptionRow*, or 0 for the whole panel.
constexpr uint32_t MSG_PANEL_REBUILD = USER_MESSAGE_BASE + 2000;
