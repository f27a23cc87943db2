#pragma once
#include <cstdint>

// The scan worker's window messages, at fixed offsets above WM_USER (0x0400).
// MSG_DISC_IDENTITY, MSG_DISC_TITLE and MSG_TRACK_FOUND are sent (the worker
// waits while the window copies what it keeps); MSG_SCAN_DONE is posted
// after the last one. MSG_DISC_IDENTITY comes once per scan whose index
// opened, before the title, known or not.
constexpr uint32_t SCAN_MESSAGE_BASE = 0x0400;                 // WM_USER
constexpr uint32_t MSG_TRACK_FOUND = SCAN_MESSAGE_BASE + 201;  // wParam slot, lParam const TrackReport*
constexpr uint32_t MSG_SCAN_DONE = SCAN_MESSAGE_BASE + 202;    // wParam 0, lParam 0
constexpr uint32_t MSG_DISC_TITLE = SCAN_MESSAGE_BASE + 203;   // wParam 0, lParam const char* title
constexpr uint32_t MSG_DISC_IDENTITY = SCAN_MESSAGE_BASE + 204;  // wParam 0, lParam const DiscIdentity*
