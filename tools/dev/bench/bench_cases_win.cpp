// The Windows half: BuildListing and ReorderList on a real list box of the
// track list's kind, against one AddItem per line and one-by-one insertion.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "bench_cases.h"
#ifdef TAVOLIN_BENCH_SCAN
#include "bench_scan_win.h"
#endif
#include "listing/listing_builder.h"
#include "listing/listing_win.h"
#include "tools/lib/listing_reference/listing_reference.h"
#include "tools/lib/listing_reference/listing_reference_win.h"
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
    w.fastList = CreateControl(w.context, CONTROL_LIST_BOX, 10, 10, 960, 300, "", 0, nullptr, nullptr);
    w.slowList = CreateControl(w.context, CONTROL_LIST_BOX, 10, 320, 960, 300, "", 0, nullptr, nullptr);
    w.status = CreateControl(w.context, CONTROL_STATIC_TEXT, 10, 630, 300, 20, "", 0, nullptr, nullptr);
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

    // The baseline, one bare batch fill of the Full Listing's lines, is
    // sampled once before every fast run (on the other list), so that it
    // sees the same machine load as the figures it is compared with.
    std::vector<ListLine> lines;
    for (uint32_t i = 0; i < gCatalogue.count; ++i)
        lines.push_back({gCatalogue.records[i].displayLine, intptr_t(i)});
    std::vector<double> baseline;
    auto sampleBaseline = [&] {
        baseline.push_back(MedianMs(
            1, [&] { ClearList(w.slowList); },
            [&] { AppendListLines(w.context, w.slowList, lines.data(), lines.size()); }));
    };
    auto check = [&] { mismatches += !(ReadListState(w.fastList) == ReadListState(w.slowList)); };

    for (ListingMode mode : {FULL_LISTING, GROUP_LISTING}) {
        SetFormatDefaults(gFormatSettings);
        gFormatSettings.listingMode = mode;
        const double f = MedianMs(
            o.fastRuns,
            [&] {
                sampleBaseline();
                ClearList(w.fastList);
            },
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
    // Both lists start from the built and sorted listing (the fast build
    // leaves exactly the reference's state, which the tests prove).
    auto rebuild = [&](HWND list) {
        gListingWindow.trackList = list;
        ClearList(list);
        gFormatSettings.sortLevels[0] = {SORT_NUMBER_ASC, 0};
        BuildListing();
        ReorderList(list, w.context, CompareTracks);
        gFormatSettings.sortLevels[0] = {SORT_TITLE_ASC, 0};
        gListingWindow.trackList = w.fastList;
    };
    const double f = MedianMs(
        o.fastRuns,
        [&] {
            sampleBaseline();
            rebuild(w.fastList);
        },
        [&] { ReorderList(w.fastList, w.context, CompareTracks); });
    const double r = MedianMs(
        o.referenceRuns, [&] { rebuild(w.slowList); },
        [&] { ReferenceReorderList(w.slowList, CompareTracks); });
    check();
    PrintCase("resort_text", f, r);

    std::sort(baseline.begin(), baseline.end());
    std::printf("fill_baseline %.2f\n", baseline[baseline.size() / 2]);
    std::printf("panel_switch %.2f\n", PanelSwitchMs(o.fastRuns));

    DestroyWindow(MainWindowOf(w.context));
    DestroyWindowContext(w.context);
    if (mismatches) std::fprintf(stderr, "tavolin-bench: %d case(s) differ from the reference\n", mismatches);
#ifdef TAVOLIN_BENCH_SCAN
    mismatches += RunScanCases(o);
#endif
    return mismatches ? 1 : 0;
}
