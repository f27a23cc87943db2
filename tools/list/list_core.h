#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "index/track_index.h"

// Index files tried in a recorder folder: TRKIDX00.HMA to TRKIDXff.HMA.
inline constexpr uint32_t LIST_INDEX_NUMBER_LIMIT = 0x100;

// The track index to read for a path: the path itself when it is a file, or
// the newest index in the HMDHIFI folder of a recorder's root. On failure
// returns false with a message naming the path.
bool ResolveIndexPath(const std::filesystem::path& path, std::filesystem::path& index, std::string& error);

// Reads the file, up to INDEX_READ_LIMIT bytes, into a zeroed image 100 bytes
// longer than what was read, as the scan does. False when the file can't be
// opened or read.
bool ReadIndexImage(const std::filesystem::path& path, std::vector<uint8_t>& image);

// Walks the image and prints the disc title and every display line, or with
// tsv set one tab-separated record for the disc and each track.
void PrintListing(const TrackIndexFile& file, bool tsv, FILE* out);

// A text for a TSV field: backslash, tab, CR and LF written as \\ \t \r \n.
std::string EscapeTsvField(const char* text);
