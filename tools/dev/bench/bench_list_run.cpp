// Whole tavolin-list runs on the fullest disc: the program beside the bench
// is started for each run (the process's start and end are timed too) and
// lists a recorder folder of FullDisc() into a file.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench_cases.h"
#include "tools/lib/index_image/hostile_discs.h"

namespace fs = std::filesystem;

namespace {
struct ListCase {
    const char* name;
    std::vector<std::string> options;  // before the recorder's path
};

const ListCase LIST_CASES[] = {
    {"list_full_disc_ms", {}},
    {"list_full_disc_csv_ms", {"--csv"}},
    {"list_full_disc_group_ms", {"--group"}},
};
}  // namespace

int RunListBench(int runs) {
    const fs::path program = BenchProgramFolder() / LIST_PROGRAM_NAME;
    std::error_code ec;
    if (!fs::exists(program, ec)) {
        std::fprintf(stderr, "tavolin-bench: no %s beside the bench\n", program.string().c_str());
        return 2;
    }
    const fs::path work = fs::temp_directory_path() / ("tavolin-bench-list-" + std::to_string(std::random_device{}()));
    const fs::path recorder = work / "recorder";
    fs::create_directories(recorder / "HMDHIFI");
    std::ofstream(recorder / "HMDHIFI" / "_MDHIFI.HMA", std::ios::binary) << "marker";
    const std::vector<uint8_t> image = index_image::FullDisc();
    std::ofstream(recorder / "HMDHIFI" / "TRKIDX01.HMA", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
    const fs::path output = work / "listing.txt";

    int status = 0;
    for (const ListCase& c : LIST_CASES) {
        std::vector<std::string> args = c.options;
        args.push_back(recorder.string());
        std::vector<double> times;
        for (int i = 0; i < runs && status == 0; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const int exitCode = RunProgram(program, args, output);
            times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            if (exitCode != 0) {
                std::fprintf(stderr, "tavolin-bench: %s exited with %d\n", c.name, exitCode);
                status = 1;
            }
        }
        if (status != 0) break;
        std::sort(times.begin(), times.end());
        std::printf("%s %.2f (median of %d, fastest %.2f, output %ju bytes)\n", c.name, times[times.size() / 2],
                    runs, times.front(), uintmax_t(fs::file_size(output, ec)));
        std::fflush(stdout);
    }
    if (std::getenv("TAVOLIN_BENCH_KEEP") == nullptr) fs::remove_all(work, ec);
    return status;
}
