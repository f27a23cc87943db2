#pragma once
#include <windows.h>

#include <cstdint>

#include "index/scan_messages.h"

// The most of an index file that is read. Every offset the decoder forms is
// a 16-bit cell number's 16-byte cell above 0x30000 or 0x40000, so nothing
// past 0x40000 + 16 * 0x10000 = 0x140000 is ever read: a longer file is read
// only this far with the same reports, and the image stays bounded.
constexpr uint32_t INDEX_READ_LIMIT = 0x400000;
constexpr uint32_t INDEX_IMAGE_PADDING = 100;  // zero bytes after the file's

// The scan thread: reads gScan.indexPath whole, sends MSG_DISC_TITLE and one
// MSG_TRACK_FOUND per track to gScan.notifyWindow and posts MSG_SCAN_DONE at
// its end, whatever happened. The argument is not used; returns 0.
DWORD WINAPI ScanWorker(LPVOID unused);
