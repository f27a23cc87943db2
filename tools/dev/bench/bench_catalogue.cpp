// The catalogue's figures: a file of generated discs (36 tracks each, texts
// in every script the program shows), the time to add each disc, to search
// it, and its size per track.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench_cases.h"
#include "catalogue/catalogue.h"
#include "text/utf8.h"

namespace {
constexpr uint32_t TRACKS_PER_DISC = 36;
constexpr uint64_t FIND_PAGE = 100;  // the rows a window shows of a search at once

const char* const WORDS[] = {
    "Morning", "Lights", "River", "Café", "Über", "Señora", "Ça", "Noël", "東京", "夜明け", "さくら", "カタカナ",
    "漢字", "Καλημέρα", "Θάλασσα", "Ἀθῆναι", "Москва", "Зима", "Ночь", "서울", "바다", "Straße", "Øresund", "Łódź",
};

std::string Words(std::mt19937& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i) text += ' ';
        text += WORDS[random() % (sizeof WORDS / sizeof WORDS[0])];
    }
    return text;
}

double Ms(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

struct Figures {
    double median, worst;
};

Figures Summary(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}
}  // namespace

int RunCatalogueBench(uint32_t discCount) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("tavolin-bench-" + std::to_string(std::random_device{}()) + ".sqlite");
    const std::string path = file.string();
    Catalogue c;
    const CatalogueOpenResult opened = OpenCatalogue(path, CatalogueMode::WRITE, c);
    if (!opened.isOpen) {
        std::fprintf(stderr, "tavolin-bench: %s\n", opened.message.c_str());
        return 2;
    }
    std::mt19937 random(1);
    std::vector<double> adds;
    const auto allStart = std::chrono::steady_clock::now();
    int failures = 0;
    for (uint32_t disc = 0; disc < discCount; ++disc) {
        ClearCatalogue();
        std::vector<std::string> texts;
        for (uint32_t t = 0; t < TRACKS_PER_DISC; ++t) {
            const std::string title = Words(random, 3), artist = Words(random, 2), album = Words(random, 2);
            const std::string group = t < 12 ? Words(random, 2) : "";
            const std::string line = std::to_string(t + 1) + ". " + artist + " - " + title;
            const float length = 120.0f + float(random() % 300000) / 1000.0f;
            TrackReport report{line.c_str(), artist.c_str(), album.c_str(), title.c_str(), t + 1, &length,
                               132000, group.c_str(), t, 0x5A8B6000u + t};
            AppendTrack(report);
        }
        char key[DISC_KEY_SIZE];
        std::snprintf(key, sizeof key, "%08x%024x", disc, 7);
        const std::string title = Words(random, 2);
        StoredDiscInfo info{key, false, title.c_str(), 1, "E:\\", 2};
        const auto start = std::chrono::steady_clock::now();
        if (AddDisc(c, info, gCatalogue.records, gCatalogue.count).result != AddResult::ADDED) ++failures;
        adds.push_back(Ms(start));
    }
    const double all = Ms(allStart);
    ClearCatalogue();

    // A search as a window makes it: how many, and the first page.
    auto findMs = [&](const char* text, uint64_t* hits) {
        const auto start = std::chrono::steady_clock::now();
        CountTracks(c, text, *hits);
        uint64_t rows = 0;
        FindTracks(c, text, [&](const FoundTrack&) { return ++rows < FIND_PAGE; }, FindRange{0, FIND_PAGE});
        return Ms(start);
    };
    std::vector<double> long3, short12;
    uint64_t hits = 0, longHits = 0, shortHits = 0;
    for (const char* text : {"Morning", "京の", "夜明け", "καλη", "ΘΆΛ", "москв", "바다", "straße", "Łódź", "zzz"}) {
        const bool isShort = CountUtf8Chars(text, std::strlen(text)) < 3;
        for (int run = 0; run < 5; ++run) (isShort ? short12 : long3).push_back(findMs(text, &hits));
        (isShort ? shortHits : longHits) += hits;
    }
    for (const char* text : {"a", "é", "東", "κα", "Зи", "바"})
        for (int run = 0; run < 5; ++run) {
            short12.push_back(findMs(text, &hits));
            shortHits += run == 0 ? hits : 0;
        }
    // Every result of a search read out, for comparison: what a listing of
    // all of them would cost.
    const auto allRowsStart = std::chrono::steady_clock::now();
    uint64_t allRows = 0;
    FindTracks(c, "Morning", [&](const FoundTrack&) { return ++allRows, true; });
    const double allRowsMs = Ms(allRowsStart);

    c = Catalogue();  // closes the file, its WAL checkpointed into it
    std::error_code ec;
    const auto bytes = std::filesystem::file_size(file, ec);
    const Figures add = Summary(adds), f3 = Summary(long3), f12 = Summary(short12);
    std::printf("catalogue_discs %u tracks %u failures %d\n", discCount, discCount * TRACKS_PER_DISC, failures);
    std::printf("catalogue_add_ms median %.2f worst %.2f\n", add.median, add.worst);
    std::printf("catalogue_add_all_s %.2f\n", all / 1000.0);
    std::printf("catalogue_find3_ms median %.2f worst %.2f (count + first %llu rows)\n", f3.median, f3.worst,
                (unsigned long long)FIND_PAGE);
    std::printf("catalogue_find12_ms median %.2f worst %.2f (count + first %llu rows)\n", f12.median, f12.worst,
                (unsigned long long)FIND_PAGE);
    std::printf("catalogue_find_all_rows_ms %.2f (%llu rows of \"Morning\")\n", allRowsMs, (unsigned long long)allRows);
    std::printf("catalogue_bytes_per_track %.0f (file %llu bytes)\n", double(bytes) / (discCount * TRACKS_PER_DISC),
                (unsigned long long)bytes);
    for (const char* side : {"", "-wal", "-shm"}) std::filesystem::remove(path + side, ec);
    return failures ? 1 : 0;
}
