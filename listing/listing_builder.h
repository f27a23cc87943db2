#pragma once
#include <cstddef>
#include <cstdint>

#include "listing/compare_tracks.h"
#include "listing/track_catalogue.h"
#include "settings/format_settings.h"
#include "text/utf8.h"

// A Group Listing line shows at most this many characters of a group's name.
constexpr size_t GROUP_NAME_CHARS = 254;
// Room for one Group Listing line in bytes: a 10-digit number, the name in
// UTF-8, the spaces and the longest length piece fit with margin.
constexpr size_t GROUP_LINE_SIZE = Utf8Size(GROUP_NAME_CHARS) + 64;
constexpr size_t STATUS_TEXT_SIZE = 64;

// One line of the track list: its text and its item data, the catalogue
// index of the record it shows.
struct ListLine {
    const char* text;
    intptr_t itemData;
};

// The lines of a listing, in the order they are added to the list. Full
// Listing lines point into the catalogue's display lines; Group Listing
// lines into groupTexts.
struct ComposedListing {
    ListLine* lines;
    uint32_t count;
    char* groupTexts;
};

// Builds the lines of the listing for mode from the catalogue. In Group
// Listing it also writes groupLength and groupNumber of every group's first
// track. Returns 1, or 0 when memory ran out (out then holds no lines).
int ComposeListing(TrackCatalogue& catalogue, ListingMode mode, ComposedListing& out);
void ReleaseListing(ComposedListing& listing);

// The lines the track list holds once a build of mode and the re-order with
// compare that follows it are done, top to bottom. Returns 1, or 0 when
// memory ran out (out then holds no lines).
int ComposeSortedListing(TrackCatalogue& catalogue, ListingMode mode, CompareCallback compare,
                         ComposedListing& out);

// "Found %u tracks" / "Found no files", or the group wording in Group Listing.
void FormatStatusText(ListingMode mode, uint32_t lineCount, char* out, size_t size);

// The Group Listing line of a group: number, name, summed length (rounded).
void FormatGroupLine(uint32_t number, const char* name, float length, char* out, size_t size);
