// The Windows half: BuildListing and ReorderList on a real list box of the
// track list's kind, against one AddItem per line and one-by-one insertion.
#include <windows.h>

#include "bench_cases.h"
#include "listing/listing_win.h"
#include "support/listing_reference/listing_reference.h"
#include "support/listing_reference/listing_reference_win.h"
#include "ui/controls_win.h"

namespace {
struct BenchWindow {
    WindowContext* context;
    HWND fastList, slowList, status;
};

bool OpenBenchWindow(BenchWindow& w) {
    w.context = CreateWindowContext(GetModuleHandleA(nullptr), "TAVOLINBENCHCLASS", 0);
    if (!w.context || !OpenMainWindow(w.context, 1000, 700, "tavolin-bench")) return false;
    // Two lists of the same kind and size, so that both start from the same state.
    w.fastList = CreateControl(w.context, CONTROL_LIST_BOX, 10, 10, 960, 300, "", 0, nullptr, 0, 0);
    w.slowList = CreateControl(w.context, CONTROL_LIST_BOX, 10, 320, 960, 300, "", 0, nullptr, 0, 0);
    w.status = CreateControl(w.context, CONTROL_STATIC_TEXT, 10, 630, 300, 20, "", 0, nullptr, 0, 0);
    for (HWND list : {w.fastList, w.slowList}) SetControlFont(w.context, list, 14, 0, 0, 0, "Tahoma");
    gListingWindow = {w.context, w.fastList, w.status, nullptr};
    return w.fastList && w.slowList;
}
}  // namespace

int RunBenchCases(const BenchOptions& o) {
    BenchWindow w{};
    if (!OpenBenchWindow(w)) {
        std::fprintf(stderr, "tavolin-bench: cannot open the window\n");
        return 2;
    }
    FillBenchCatalogue(o.trackCount);
    int mismatches = 0;
    auto check = [&] { mismatches += !(ReadListState(w.fastList) == ReadListState(w.slowList)); };

    for (ListingMode mode : {FULL_LISTING, GROUP_LISTING}) {
        SetFormatDefaults(gFormatSettings);
        gFormatSettings.listingMode = mode;
        const double f = MedianMs(
            o.fastRuns, [&] { ClearList(w.fastList); },
            [&] {
                BuildListing();
                ReorderList(w.fastList, w.context, CompareTracks);
            });
        const double r = MedianMs(
            o.referenceRuns, [&] { ClearList(w.slowList); },
            [&] {
                ReferenceBuildListing(w.context, w.slowList, w.status);
                ReferenceReorderList(w.slowList, CompareTracks);
            });
        check();
        PrintCase(mode == GROUP_LISTING ? "group_build" : "full_build", f, r);
    }

    // Re-order of a built Full Listing after level 1 changes to a text key.
    SetFormatDefaults(gFormatSettings);
    auto rebuild = [&](HWND list) {
        ClearList(list);
        gFormatSettings.sortLevels[0] = {SORT_NUMBER_ASC, 0};
        ReferenceBuildListing(w.context, list, w.status);
        ReorderList(list, w.context, CompareTracks);
        gFormatSettings.sortLevels[0] = {SORT_TITLE_ASC, 0};
    };
    const double f = MedianMs(o.fastRuns, [&] { rebuild(w.fastList); },
                              [&] { ReorderList(w.fastList, w.context, CompareTracks); });
    const double r = MedianMs(o.referenceRuns, [&] { rebuild(w.slowList); },
                              [&] { ReferenceReorderList(w.slowList, CompareTracks); });
    check();
    PrintCase("resort_text", f, r);

    // One bare batch fill of the Full Listing's lines, no sorting.
    std::vector<ListLine> lines;
    for (uint32_t i = 0; i < gCatalogue.count; ++i) lines.push_back({gCatalogue.records[i].displayLine, intptr_t(i)});
    const double fill = MedianMs(o.fastRuns, [&] { ClearList(w.fastList); },
                                 [&] { AppendListLines(w.context, w.fastList, lines.data(), lines.size()); });
    std::printf("fill_baseline %.2f\n", fill);

    DestroyWindow(MainWindowOf(w.context));
    DestroyWindowContext(w.context);
    if (mismatches) std::fprintf(stderr, "tavolin-bench: %d case(s) differ from the reference\n", mismatches);
    return mismatches ? 1 : 0;
}
