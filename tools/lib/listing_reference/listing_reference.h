#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "listing/compare_tracks.h"
#include "listing/track_catalogue.h"
#include "settings/format_settings.h"

// Straightforward versions of the listing algorithms, kept as the yardstick
// that the fast code must match exactly (tests and the benchmark).

struct RefLine {
    std::string text;
    intptr_t itemData;
    bool operator==(const RefLine&) const = default;
};

// Re-orders lines by inserting each one, in list order, before the first line
// that it does not compare greater than (appending when there is none).
std::vector<RefLine> ReferenceReorder(const std::vector<RefLine>& lines, CompareCallback compare);

// Group Listing built pairwise: each track's name against every earlier one,
// each first track's sum over all tracks, and the table indexed by track
// number (1..count) that lists the groups. Writes groupLength and
// groupNumber like the fast builder. Only valid where the table loses no
// group (distinct first-track numbers within 1..count).
std::vector<RefLine> ReferenceGroupListing(TrackCatalogue& catalogue);

// Fills gCatalogue (after a clear) with n random tracks: few distinct
// artists/albums/titles in mixed case (many ties), groupCount group names
// (some differing only in case), lengths with repeats, all seven bit rates
// and an unknown one. textLength pads every text to about that length.
struct RandomCatalogueOptions {
    uint32_t groupCount = 10;
    uint32_t textLength = 0;
    bool distinctFirstNumbers = false;  // track numbers are a permutation of 1..n
};
void FillRandomCatalogue(uint32_t seed, uint32_t n, const RandomCatalogueOptions& options);

// The lines a list holds after a listing is composed: text and item data.
std::vector<RefLine> FullListingLines(const TrackCatalogue& catalogue);

// The fast code's results in the references' shape, for side-by-side checks:
// the lines that the fast builder composes from gCatalogue in a mode, and
// lines put into the order that the fast re-order computes.
std::vector<RefLine> ComposedLines(ListingMode mode);
std::vector<RefLine> FastReorder(const std::vector<RefLine>& lines);
