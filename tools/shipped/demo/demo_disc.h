#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "settings/format_settings.h"

// Generations of the demo disc's track index, oldest first by write time.
enum class DemoGeneration {
    FIRST_SESSION,
    DRAFT,
    CURRENT
};

// The track index image of one generation of the demo disc.
std::vector<uint8_t> BuildDemoIndex(DemoGeneration generation);

// Writes a folder laid out like a recorder's drive: HMDHIFI/_MDHIFI.HMA and
// TRKIDX00.HMA to TRKIDX02.HMA, whose write times make 01 (the current disc)
// the newest. False with a message on failure.
bool WriteDemoRecorder(const std::filesystem::path& root, std::string& error);

// A sample of the window's two line layouts: the Full Listing as
// "007 Artist - Title<Tab>3m:12s" and the Group Listing as
// "001) Name (24m:19s)", each line ended by CR LF.
FormatSettings DemoLayouts();

// Writes DemoLayouts() as a layouts file (.tfc). False with a message on
// failure.
bool WriteDemoLayouts(const std::filesystem::path& path, std::string& error);
