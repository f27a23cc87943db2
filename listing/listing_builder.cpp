#include "listing/listing_builder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "text/hms.h"
#include "listing/reorder.h"

namespace {
struct GroupEntry {
    uint32_t first;  // catalogue index of the group's first track
    double sum;      // lengths added in catalogue order, at double precision
};

uint64_t HashName(const char* name) {
    uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) {
        h ^= *p;
        h *= 1099511628211ull;
    }
    return h;
}

// Groups the catalogue by exact group name in one pass with an
// open-addressing table. Returns the number of groups, or -1 without memory.
long CollectGroups(const TrackCatalogue& catalogue, GroupEntry* groups) {
    size_t slots = 16;
    while (slots < size_t(catalogue.count) * 2) slots <<= 1;
    std::unique_ptr<int32_t[]> table(new (std::nothrow) int32_t[slots]);
    if (!table) return -1;
    std::fill(table.get(), table.get() + slots, -1);
    long groupCount = 0;
    for (uint32_t i = 0; i < catalogue.count; ++i) {
        const TrackRecord& r = catalogue.records[i];
        if (r.groupName[0] == '\0') continue;
        size_t slot = size_t(HashName(r.groupName)) & (slots - 1);
        while (table[slot] >= 0 &&
               std::strcmp(catalogue.records[groups[table[slot]].first].groupName, r.groupName) != 0)
            slot = (slot + 1) & (slots - 1);
        if (table[slot] < 0) {
            table[slot] = int32_t(groupCount);
            groups[groupCount++] = {i, 0.0};
        }
        groups[table[slot]].sum += double(r.trackLength);
    }
    return groupCount;
}

}  // namespace

void FormatGroupLine(uint32_t number, const char* name, float length, char* out, size_t size) {
    if (size == 0) return;
    char text[HMS_TEXT_SIZE];
    FormatHms(length, 1, text, sizeof text);
    const int nameBytes = int(Utf8CutLength(name, std::strlen(name), SIZE_MAX, GROUP_NAME_CHARS));
    std::snprintf(out, size, "%03u) %.*s       (%s)", unsigned(number), nameBytes, name, text);
}

void ReleaseListing(ComposedListing& listing) {
    delete[] listing.lines;
    delete[] listing.groupTexts;
    listing = {};
}

// Full Listing: one line per record, catalogue order. Group Listing: one line
// per group (the tracks sharing a non-empty, byte-equal group name), standing
// for its member with the lowest catalogue index; groups are listed and
// numbered 1, 2, 3 ... by their first track's trackNumber, equal numbers in
// catalogue order, so every group appears whatever its tracks are numbered.
int ComposeListing(TrackCatalogue& catalogue, ListingMode mode, ComposedListing& out) {
    out = {};
    const uint32_t n = catalogue.count;
    if (mode != GROUP_LISTING) {
        out.lines = new (std::nothrow) ListLine[n ? n : 1];
        if (!out.lines) return 0;
        for (uint32_t i = 0; i < n; ++i) out.lines[i] = {catalogue.records[i].displayLine, intptr_t(i)};
        out.count = n;
        return 1;
    }

    std::unique_ptr<GroupEntry[]> groups(new (std::nothrow) GroupEntry[n ? n : 1]);
    if (!groups) return 0;
    const long found = CollectGroups(catalogue, groups.get());
    if (found < 0) return 0;
    const uint32_t groupCount = uint32_t(found);
    for (uint32_t g = 0; g < groupCount; ++g)
        catalogue.records[groups[g].first].groupLength = float(groups[g].sum);

    // Groups were collected in catalogue order of their first tracks, so a
    // stable sort by track number leaves equal numbers in catalogue order.
    std::stable_sort(groups.get(), groups.get() + groupCount, [&](const GroupEntry& a, const GroupEntry& b) {
        return catalogue.records[a.first].trackNumber < catalogue.records[b.first].trackNumber;
    });

    out.lines = new (std::nothrow) ListLine[groupCount ? groupCount : 1];
    out.groupTexts = new (std::nothrow) char[size_t(groupCount ? groupCount : 1) * GROUP_LINE_SIZE];
    if (!out.lines || !out.groupTexts) {
        ReleaseListing(out);
        return 0;
    }
    for (uint32_t g = 0; g < groupCount; ++g) {
        TrackRecord& r = catalogue.records[groups[g].first];
        r.groupNumber = g + 1;
        char* text = out.groupTexts + size_t(g) * GROUP_LINE_SIZE;
        FormatGroupLine(r.groupNumber, r.groupName, r.groupLength, text, GROUP_LINE_SIZE);
        out.lines[g] = {text, intptr_t(groups[g].first)};
    }
    out.count = groupCount;
    return 1;
}

// The list's re-order only moves whole lines, and a build always fills an
// empty list in composed order, so ordering the composed lines gives the
// list's final contents.
int ComposeSortedListing(TrackCatalogue& catalogue, ListingMode mode, CompareCallback compare,
                         ComposedListing& out) {
    if (!ComposeListing(catalogue, mode, out)) return 0;
    const uint32_t n = out.count;
    std::unique_ptr<const char*[]> texts(new (std::nothrow) const char*[n ? n : 1]);
    std::unique_ptr<intptr_t[]> items(new (std::nothrow) intptr_t[n ? n : 1]);
    std::unique_ptr<uint32_t[]> order(new (std::nothrow) uint32_t[n ? n : 1]);
    std::unique_ptr<ListLine[]> composed(new (std::nothrow) ListLine[n ? n : 1]);
    if (!texts || !items || !order || !composed) {
        ReleaseListing(out);
        return 0;
    }
    for (uint32_t i = 0; i < n; ++i) {
        texts[i] = out.lines[i].text;
        items[i] = out.lines[i].itemData;
        composed[i] = out.lines[i];
    }
    ComputeReorder(texts.get(), items.get(), n, compare, order.get());
    for (uint32_t i = 0; i < n; ++i) out.lines[i] = composed[order[i]];
    return 1;
}

void FormatStatusText(ListingMode mode, uint32_t lineCount, char* out, size_t size) {
    const bool isGroup = mode == GROUP_LISTING;
    if (lineCount == 0)
        std::snprintf(out, size, "%s", isGroup ? "Found no groups" : "Found no files");
    else
        std::snprintf(out, size, isGroup ? "Found %u groups" : "Found %u tracks", unsigned(lineCount));
}
