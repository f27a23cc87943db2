#pragma once
#include "bench_cases.h"

// The scan through the real main window against bare cross-thread sends,
// and the program's start-up; prints "scan_full <ms>", "scan_floor <ms>",
// "scan_ratio <full/floor>" and "startup_ready <ms>". 0 when the scan listed
// every track.
int RunScanCases(const BenchOptions& options);
