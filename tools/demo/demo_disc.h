#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Generations of the demo disc's track index, oldest first by write time.
enum class DemoGeneration { FIRST_SESSION, DRAFT, CURRENT };

// The track index image of one generation of the demo disc.
std::vector<uint8_t> BuildDemoIndex(DemoGeneration generation);

// Writes a folder laid out like a recorder's drive: HMDHIFI/_MDHIFI.HMA and
// TRKIDX00.HMA to TRKIDX02.HMA, whose write times make 01 (the current disc)
// the newest. False with a message on failure.
bool WriteDemoRecorder(const std::filesystem::path& root, std::string& error);
