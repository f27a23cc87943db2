// What the scenarios expect, computed in the test process from the same
// recorder folder: the tracks as tavolin-list reports them, put into a
// catalogue of this process, and the listings, lines and files the program
// must show or write for given settings.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "settings/format_settings.h"
#include "tools/app_driver/app_driver_win.h"
#include "tools/listing_reference/listing_reference.h"

namespace e2e {

// Fills this process's catalogue with the listed tracks, in report order,
// as the program's catalogue holds them after a scan.
void FillCatalogue(const app_driver::Listing& listing);

// The listing the program shows right after a scan or a mode switch: lines
// composed in listing order, then re-ordered by the sort levels.
std::vector<RefLine> ExpectedListing(const FormatSettings& settings);
// The same lines re-ordered from the order they stand in now.
std::vector<RefLine> ExpectedReorder(const std::vector<RefLine>& current, const FormatSettings& settings);

// The list's lines with their item data, as the program holds them.
std::vector<RefLine> ShownLines(const app_driver::Tavolin& app);

// The rendering of catalogue record index through settings (what the
// preview shows and the export writes per line).
std::string RenderLine(intptr_t index, const FormatSettings& settings);

// The status label text for that many lines.
std::string StatusText(ListingMode mode, uint32_t count);

// Sets a slot of a table the way the panel stores it.
void SetSlot(FormatTable& table, int slot, const char* token, const char* param);

// A disc of trackCount titled tracks in groups of 100, for the scans that
// last long enough to act during them.
std::vector<uint8_t> BigDisc(uint32_t trackCount);

// "Name (Ascending Order)" and the like to its SortKey.
uint32_t SortKeyOf(const char* itemText);

}  // namespace e2e
