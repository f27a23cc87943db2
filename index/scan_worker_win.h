#pragma once
#include <windows.h>

#include <cstdint>

#include "base/messages.h"
#include "index/track_index.h"

// The scan thread: reads gScan.indexPath whole, sends MSG_DISC_TITLE and one
// MSG_TRACK_FOUND per track to gScan.notifyWindow and posts MSG_SCAN_DONE at
// its end, whatever happened. The argument is not used; returns 0.
DWORD WINAPI ScanWorker(LPVOID unused);
