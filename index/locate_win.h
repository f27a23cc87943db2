#pragma once
#include <windows.h>

#include <cstdint>

#include "index/locate.h"

// The recorder's index directory (at least INDEX_DIRECTORY_SIZE bytes) and
// the number of its newest index file, found by walking the drive letters.
// Returns 1, or 0 with both untouched.
int LocateRecorderIndex(char* directory, uint32_t* number);
