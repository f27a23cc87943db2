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

// The current disc's identity, in HMDHIFI/MCLIST01.HMA: twelve bytes as
// the recorder writes them for all its discs, then four of this disc's own.
inline constexpr uint8_t DEMO_DISC_IDENTITY[16] = {0x01, 0x00, 0x00, 0x02, 0x4d, 0x5a, 0x2d, 0x4e,
                                                   0x48, 0x37, 0x30, 0x30, 0x9c, 0x3e, 0x51, 0x07};

// Writes a folder laid out like a recorder's drive: HMDHIFI/_MDHIFI.HMA,
// TRKIDX00.HMA to TRKIDX02.HMA, whose write times make 01 (the current disc)
// the newest, and the current generation's MCLIST01.HMA alone. False with a
// message on failure.
bool WriteDemoRecorder(const std::filesystem::path& root, std::string& error);

// A sample of the window's two line layouts: the Full Listing as
// "007 Artist - Title<Tab>3m:12s" and the Group Listing as
// "001) Name (24m:19s)", each line ended by CR LF.
FormatSettings DemoLayouts();

// Writes DemoLayouts() as a layouts file (.tfc). False with a message on
// failure.
bool WriteDemoLayouts(const std::filesystem::path& path, std::string& error);
