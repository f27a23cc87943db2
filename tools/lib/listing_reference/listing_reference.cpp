#include "tools/lib/listing_reference/listing_reference.h"

#include <cstdio>
#include <cstring>
#include <algorithm>
#include <random>

#include "listing/listing_builder.h"
#include "listing/reorder.h"

std::vector<RefLine> ReferenceReorder(const std::vector<RefLine>& lines, CompareCallback compare) {
    std::vector<RefLine> list;
    for (const RefLine& line : lines) {
        size_t k = 0;
        while (k < list.size() &&
               compare(line.text.c_str(), list[k].text.c_str(), line.itemData, list[k].itemData) > 0)
            ++k;
        list.insert(list.begin() + k, line);
    }
    return list;
}

std::vector<RefLine> ReferenceGroupListing(TrackCatalogue& catalogue) {
    const uint32_t n = catalogue.count;
    std::vector<uint32_t> table(size_t(n) + 10, 0);
    for (uint32_t i = 0; i < n; ++i) {
        TrackRecord& r = catalogue.records[i];
        if (r.groupName[0] == '\0') continue;
        bool isFirst = true;
        for (uint32_t j = 0; j < i && isFirst; ++j)
            if (std::strcmp(catalogue.records[j].groupName, r.groupName) == 0) isFirst = false;
        if (!isFirst) continue;
        double sum = 0.0;
        for (uint32_t t = 0; t < n; ++t)
            if (std::strcmp(catalogue.records[t].groupName, r.groupName) == 0)
                sum += double(catalogue.records[t].trackLength);
        r.groupLength = float(sum);
        if (r.trackNumber >= 1 && r.trackNumber <= n) table[r.trackNumber] = i + 1;
    }
    std::vector<RefLine> lines;
    uint32_t number = 0;
    for (uint32_t k = 1; k <= n; ++k) {
        if (table[k] == 0) continue;
        TrackRecord& r = catalogue.records[table[k] - 1];
        r.groupNumber = ++number;
        char text[GROUP_LINE_SIZE];
        FormatGroupLine(r.groupNumber, r.groupName, r.groupLength, text, sizeof text);
        lines.push_back({text, intptr_t(table[k] - 1)});
    }
    return lines;
}

std::vector<RefLine> FullListingLines(const TrackCatalogue& catalogue) {
    std::vector<RefLine> lines;
    for (uint32_t i = 0; i < catalogue.count; ++i)
        lines.push_back({catalogue.records[i].displayLine, intptr_t(i)});
    return lines;
}

void FillRandomCatalogue(uint32_t seed, uint32_t n, const RandomCatalogueOptions& options) {
    static const char* const words[] = {"abba", "ABBA",       "Abba",      "_x", "Apple", "apple",
                                        "zed",  "\xC3\x84nglish", "\xC3\xA9t\xC3\xA9", "",   "b",     "B"};
    static const uint32_t rates[] = {48000, 64000, 66000, 105000, 132000, 256000, 1411200, 12345};
    static const float lengths[] = {0.0f, 7.0f, 42.0f, 42.7f, 65.0f, 187.4f, 3605.0f, 3725.4f};
    std::mt19937 rng(seed);
    auto pick = [&rng](uint32_t count) { return uint32_t(rng() % count); };
    std::vector<uint32_t> numbers(n);
    for (uint32_t i = 0; i < n; ++i) numbers[i] = i + 1;
    std::shuffle(numbers.begin(), numbers.end(), rng);

    ClearCatalogue();
    const std::string pad(options.textLength, '.');
    for (uint32_t i = 0; i < n; ++i) {
        std::string artist = words[pick(12)] + pad, album = words[pick(12)] + pad,
                    title = words[pick(12)] + pad, group;
        if (options.groupCount && pick(5) != 0) {
            const uint32_t g = pick(options.groupCount);
            char name[32];
            // Every third group name differs from another only in letter case.
            std::snprintf(name, sizeof name, g % 3 == 2 ? "GROUP %u" : "Group %u", unsigned(g - g % 3 / 2));
            group = name + pad;
        }
        char line[64];
        std::snprintf(line, sizeof line, "%03u) line %u", unsigned(numbers[i]), unsigned(i));
        std::string display = line + pad + pad;
        float length = pick(3) == 0 ? lengths[pick(8)] : float(pick(400000)) / 100.0f;
        TrackReport report{display.c_str(),
                           artist.c_str(),
                           album.c_str(),
                           title.c_str(),
                           options.distinctFirstNumbers ? numbers[i] : pick(n / 4 + 2),
                           &length,
                           int32_t(rates[pick(8)]),
                           group.c_str()};
        AppendTrack(report);
    }
}

std::vector<RefLine> ComposedLines(ListingMode mode) {
    ComposedListing listing;
    std::vector<RefLine> lines;
    if (!ComposeListing(gCatalogue, mode, listing)) return lines;
    lines.reserve(listing.count);
    for (uint32_t i = 0; i < listing.count; ++i)
        lines.push_back({listing.lines[i].text, listing.lines[i].itemData});
    ReleaseListing(listing);
    return lines;
}

std::vector<RefLine> FastReorder(const std::vector<RefLine>& lines) {
    std::vector<const char*> texts;
    std::vector<intptr_t> items;
    for (const RefLine& line : lines) {
        texts.push_back(line.text.c_str());
        items.push_back(line.itemData);
    }
    std::vector<uint32_t> order(lines.size());
    ComputeReorder(texts.data(), items.data(), lines.size(), CompareTracks, order.data());
    std::vector<RefLine> out;
    out.reserve(lines.size());
    for (uint32_t i : order) out.push_back(lines[i]);
    return out;
}
