// tavolin-bench: the fast listing code against the straightforward
// one-line-at-a-time references, on a full disc's worth of tracks.
#pragma once
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct BenchOptions {
    uint32_t trackCount;  // N
    int fastRuns;         // runs per fast figure (median)
    int referenceRuns;    // runs per reference figure (median)
};

// Median wall time in milliseconds of runs calls of work, each after an
// untimed prepare.
double MedianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& work);

// Prints "<case> <fast ms> <reference ms> <reference/fast>".
void PrintCase(const char* name, double fastMs, double referenceMs);

// Fills the catalogue: N tracks with long texts, N/10 groups.
void FillBenchCatalogue(uint32_t trackCount);

// Runs every case and prints its line; 0 when the fast results equalled the
// reference results, 1 otherwise.
int RunBenchCases(const BenchOptions& options);

// Median ms of one Full -> Group -> Full switch of the real option panel
// (Windows only).
double PanelSwitchMs(int runs);

// Adds that many generated discs to a new catalogue file and prints the figures
// of adding, searching and size; 0 when every add succeeded. A keep path
// ("" for none) receives the file.
int RunCatalogueBench(uint32_t discs, const std::string& keep);
// The searching figures alone, on an existing catalogue file.
int RunCatalogueFindBench(const std::string& path);

// The real catalogue window on an existing catalogue file (Windows only):
// opening, keystrokes in Find, a sort and Show Disc, in milliseconds.
int RunCatalogueWindowBench(const std::string& path);

// Whole tavolin-list runs on the fullest disc, each a new process listing it
// into a file: the median ms of runs per output form.
int RunListBench(int runs);

// The folder of the running bench, where tavolin-list is built beside it,
// and that program's file name.
std::filesystem::path BenchProgramFolder();
extern const char* const LIST_PROGRAM_NAME;
// Starts program with args, its standard output in the file output, and
// waits for it: its exit status, or -1 when it could not be started.
int RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& output);
