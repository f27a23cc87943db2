// tavolin-bench [N] [fast runs] [reference runs]
// tavolin-bench catalogue [discs [FILE]]: the catalogue's figures (1000 discs
// by default), the generated catalogue kept as FILE when named.
// tavolin-bench list [runs]: whole tavolin-list runs on the fullest disc
// (TAVOLIN_BENCH_KEEP set keeps its recorder folder, for a profiler).
// tavolin-bench catalogue-find FILE: the search figures of an existing catalogue.
// tavolin-bench catalogue-window FILE: the catalogue window's figures on that
// catalogue (Windows).
// Prints one line per case, "<case> <fast ms> <reference ms> <reference/fast>",
// then "fill_baseline <ms>". N defaults to 2047, the most tracks a disc's
// track table holds. Each figure is the median of several runs.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench_cases.h"
#include "tools/lib/listing_reference/listing_reference.h"

double MedianMs(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void PrintCase(const char* name, double fastMs, double referenceMs) {
    std::printf("%s %.2f %.2f %.1f\n", name, fastMs, referenceMs, fastMs > 0 ? referenceMs / fastMs : 0.0);
    std::fflush(stdout);
}

void FillBenchCatalogue(uint32_t trackCount) {
    RandomCatalogueOptions options;
    options.groupCount = trackCount / 10 ? trackCount / 10 : 1;
    options.textLength = 100;
    // Distinct track numbers: the numbering a real disc has, and the one on
    // which the pairwise group build lists every group.
    options.distinctFirstNumbers = true;
    FillRandomCatalogue(2047, trackCount, options);
}

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "catalogue") == 0) {
        const unsigned long discs = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1000;
        if (discs == 0 || discs > 100000) {
            std::fprintf(stderr, "usage: tavolin-bench catalogue [discs 1..100000 [FILE]]\n");
            return 2;
        }
        return RunCatalogueBench(uint32_t(discs), argc > 3 ? argv[3] : "");
    }
    if (argc > 1 && std::strcmp(argv[1], "list") == 0)
        return RunListBench(argc > 2 ? std::max(1, std::atoi(argv[2])) : 21);
    if (argc == 3 && std::strcmp(argv[1], "catalogue-find") == 0) return RunCatalogueFindBench(argv[2]);
#ifdef TAVOLIN_BENCH_SCAN
    if (argc == 3 && std::strcmp(argv[1], "catalogue-window") == 0) return RunCatalogueWindowBench(argv[2]);
#endif
    BenchOptions options{2047, 7, 3};
    if (argc > 1) options.trackCount = uint32_t(std::strtoul(argv[1], nullptr, 10));
    if (argc > 2) options.fastRuns = std::max(1, std::atoi(argv[2]));
    if (argc > 3) options.referenceRuns = std::max(1, std::atoi(argv[3]));
    if (options.trackCount == 0 || options.trackCount > 100000) {
        std::fprintf(stderr, "usage: tavolin-bench [N 1..100000] [fast runs] [reference runs]\n");
        return 2;
    }
    return RunBenchCases(options);
}
