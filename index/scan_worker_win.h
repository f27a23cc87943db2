#pragma once
#include <windows.h>

#include <cstdint>

#include "index/scan_messages.h"

// The most of an index file that is read. The decoder reaches no byte past
// the last timing cell (0x30000 + 16 * 0xFFFF + 16 = 0x130000), so a longer
// file is read only this far: its reports are the same, and the image of a
// file of any size stays bounded.
constexpr uint32_t INDEX_READ_LIMIT = 0x400000;
constexpr uint32_t INDEX_IMAGE_PADDING = 100;  // zero bytes after the file's

// The scan thread: reads gScan.indexPath whole, sends MSG_DISC_TITLE and one
// MSG_TRACK_FOUND per track to gScan.notifyWindow and posts MSG_SCAN_DONE at
// its end, whatever happened. The argument is not used; returns 0.
DWORD WINAPI ScanWorker(LPVOID unused);
