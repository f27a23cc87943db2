// The portable half: the order and the grouping computed in memory, against
// the reference algorithms on a plain array in place of the list box.
#include <cstring>
#include <string>
#include <vector>

#include "bench_cases.h"
#include "listing/listing_builder.h"
#include "listing/reorder.h"
#include "tools/lib/listing_reference/listing_reference.h"

int RunBenchCases(const BenchOptions& o) {
    FillBenchCatalogue(o.trackCount);
    int mismatches = 0;
    std::vector<RefLine> fast, slow;
    auto none = [] {};

    for (ListingMode mode : {FULL_LISTING, GROUP_LISTING}) {
        SetFormatDefaults(gFormatSettings);
        gFormatSettings.listingMode = mode;
        const double f = MedianMs(o.fastRuns, none, [&] { fast = FastReorder(ComposedLines(mode)); });
        const double r = MedianMs(o.referenceRuns, none, [&] {
            slow = ReferenceReorder(
                mode == GROUP_LISTING ? ReferenceGroupListing(gCatalogue) : FullListingLines(gCatalogue),
                CompareTracks);
        });
        mismatches += fast != slow;
        PrintCase(mode == GROUP_LISTING ? "group_build" : "full_build", f, r);
    }

    SetFormatDefaults(gFormatSettings);
    const std::vector<RefLine> built = FastReorder(ComposedLines(FULL_LISTING));
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
