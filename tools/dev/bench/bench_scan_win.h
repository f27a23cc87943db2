#pragma once
#include "bench_cases.h"

// The scan through the real main window against bare cross-thread sends,
// the program's start-up, and how fast the program answers while it reads
// hostile recorders; prints "scan_full <ms>", "scan_floor <ms>", "scan_ratio
// <full/floor>", "startup_ready <ms>" and "slowest_answer <ms>". 0 when the
// scan listed every track.
int RunScanCases(const BenchOptions& options);
