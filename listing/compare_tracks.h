#pragma once
#include <cstdint>

#include "listing/track_catalogue.h"
#include "settings/format_settings.h"

// The shape of a list-line comparison: the two lines' texts (not looked at by
// CompareTracks) and item data (catalogue indexes). > 0 when A belongs after B.
using CompareCallback = int (*)(const char* textA, const char* textB, intptr_t dataA, intptr_t dataB);

// Compares the catalogue records behind two list lines by the three sort
// levels of gFormatSettings, in the current listing mode.
int CompareTracks(const char* textA, const char* textB, intptr_t dataA, intptr_t dataB);

// The same comparison on explicit records and settings.
int CompareRecords(const TrackRecord& a, const TrackRecord& b, const FormatSettings& settings);

// The listing's one case fold: A-Z as a-z, every other byte as it is.
inline unsigned FoldCase(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? unsigned(c) + ('a' - 'A') : c;
}

// Byte-wise text comparison; without caseSensitive only A-Z fold to a-z.
// Bytes compare as unsigned values and a text that ends first is smaller.
int CompareText(const char* a, const char* b, int caseSensitive);
