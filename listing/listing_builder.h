#pragma once
#include <cstddef>
#include <cstdint>

#include "listing/track_catalogue.h"
#include "settings/format_settings.h"
#include "ui/list_line.h"

// Room for one Group Listing line: a 10-digit number, a 254-character name,
// the spaces and the longest length piece fit with margin.
constexpr size_t GROUP_LINE_SIZE = 320;
constexpr size_t STATUS_TEXT_SIZE = 64;

// The lines of a listing, in the order they are added to the list. Full
// Listing lines point into the catalogue's display lines; Group Listing
// lines into groupTexts.
struct ComposedListing {
    ListLine* lines;  // item data: the line's catalogue index
    uint32_t count;
    char* groupTexts;
};

// Builds the lines of the listing for mode from the catalogue. In Group
// Listing it also writes groupLength and groupNumber of every group's first
// track. Returns 1, or 0 when memory ran out (out then holds no lines).
int ComposeListing(TrackCatalogue& catalogue, ListingMode mode, ComposedListing& out);
void ReleaseListing(ComposedListing& listing);

// "Found %u tracks" / "Found no files", or the group wording in Group Listing.
void FormatStatusText(ListingMode mode, uint32_t lineCount, char* out, size_t size);

// The Group Listing line of a group: number, name, summed length (rounded).
void FormatGroupLine(uint32_t number, const char* name, float length, char* out, size_t size);
