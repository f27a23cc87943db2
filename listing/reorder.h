#pragma once
#include <cstddef>
#include <cstdint>

#include "listing/compare_tracks.h"

// The order that re-ordering a list gives: ascending by compare, with lines
// that compare equal in the reverse of their previous order (what placing
// each line, in list order, before the first line it does not compare
// greater than produces). Fills order[0..n) with previous positions: the new
// line i is the previous line order[i]. texts may be null (the callback then
// sees ""). compare must be a consistent ordering. O(n log n) comparisons.
void ComputeReorder(const char* const* texts, const intptr_t* items, size_t n, CompareCallback compare,
                    uint32_t* order);
