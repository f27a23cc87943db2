#include "listing/reorder.h"

#include <algorithm>

// A stable sort of the reversed sequence keeps equal lines in reverse order,
// which is exactly where one-by-one insertion before the first not-greater
// line leaves them. This holds because the comparison is a strict weak order
// (CompareTracks is: text levels are lexicographic, numeric levels total).
void ComputeReorder(const char* const* texts, const intptr_t* items, size_t n, CompareCallback compare,
                    uint32_t* order) {
    for (size_t i = 0; i < n; ++i) order[i] = uint32_t(n - 1 - i);
    auto text = [texts](uint32_t i) { return texts && texts[i] ? texts[i] : ""; };
    std::stable_sort(order, order + n, [&](uint32_t a, uint32_t b) {
        return compare(text(a), text(b), items[a], items[b]) < 0;
    });
}
