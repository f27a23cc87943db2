// The portable half: the order and the grouping computed in memory, against
// the reference algorithms on a plain array in place of the list box.
#include <cstring>
#include <string>
#include <vector>

#include "bench_cases.h"
#include "listing/listing_builder.h"
#include "listing/reorder.h"
#include "support/listing_reference/listing_reference.h"

namespace {
std::vector<RefLine> FastLines(ListingMode mode) {
    ComposedListing listing;
    std::vector<RefLine> lines;
    if (!ComposeListing(gCatalogue, mode, listing)) return lines;
    lines.reserve(listing.count);
    for (uint32_t i = 0; i < listing.count; ++i) lines.push_back({listing.lines[i].text, listing.lines[i].itemData});
    ReleaseListing(listing);
    return lines;
}

std::vector<RefLine> FastReorder(const std::vector<RefLine>& lines) {
    std::vector<const char*> texts;
    std::vector<intptr_t> items;
    for (const RefLine& l : lines) {
        texts.push_back(l.text.c_str());
        items.push_back(l.itemData);
    }
    std::vector<uint32_t> order(lines.size());
    ComputeReorder(texts.data(), items.data(), lines.size(), CompareTracks, order.data());
    std::vector<RefLine> out;
    out.reserve(lines.size());
    for (uint32_t i : order) out.push_back(lines[i]);
    return out;
}
}  // namespace

int RunBenchCases(const BenchOptions& o) {
    FillBenchCatalogue(o.trackCount);
    int mismatches = 0;
    std::vector<RefLine> fast, slow;
    auto none = [] {};

    for (ListingMode mode : {FULL_LISTING, GROUP_LISTING}) {
        SetFormatDefaults(gFormatSettings);
        gFormatSettings.listingMode = mode;
        const double f = MedianMs(o.fastRuns, none, [&] { fast = FastReorder(FastLines(mode)); });
        const double r = MedianMs(o.referenceRuns, none, [&] {
            slow = ReferenceReorder(mode == GROUP_LISTING ? ReferenceGroupListing(gCatalogue)
                                                          : FullListingLines(gCatalogue),
                                    CompareTracks);
        });
        mismatches += fast != slow;
        PrintCase(mode == GROUP_LISTING ? "group_build" : "full_build", f, r);
    }

    SetFormatDefaults(gFormatSettings);
    const std::vector<RefLine> built = FastReorder(FastLines(FULL_LISTING));
    gFormatSettings.sortLevels[0] = {SORT_TITLE_ASC, 0};
    const double f = MedianMs(o.fastRuns, none, [&] { fast = FastReorder(built); });
    const double r = MedianMs(o.referenceRuns, none, [&] { slow = ReferenceReorder(built, CompareTracks); });
    mismatches += fast != slow;
    PrintCase("resort_text", f, r);

    std::vector<RefLine> copy;
    const double fill = MedianMs(o.fastRuns, none, [&] { copy = FullListingLines(gCatalogue); });
    std::printf("fill_baseline %.2f\n", fill);
    if (mismatches) std::fprintf(stderr, "tavolin-bench: %d case(s) differ from the reference\n", mismatches);
    return mismatches ? 1 : 0;
}
