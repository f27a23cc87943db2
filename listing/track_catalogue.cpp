#include "listing/track_catalogue.h"

#include <cstdlib>
#include <cstring>

TrackCatalogue gCatalogue;
CatalogueAllocFn gCatalogueAlloc = std::calloc;

namespace {
// Copies up to the first NUL or size - 1 bytes and always terminates, so a
// report text longer than its field is cut, never written past it.
void CopyText(char* field, size_t size, const char* text) {
    size_t n = 0;
    if (text)
        while (n < size - 1 && text[n] != '\0') ++n;
    if (n) std::memcpy(field, text, n);
    field[n] = '\0';
}

bool Grow() {
    // The record count must stay representable as an int index.
    if (gCatalogue.capacity > uint32_t(INT32_MAX) - CATALOGUE_GROWTH) return false;
    const uint32_t capacity = gCatalogue.capacity + CATALOGUE_GROWTH;
    auto* storage = static_cast<TrackRecord*>(gCatalogueAlloc(capacity, sizeof(TrackRecord)));
    if (!storage) return false;
    if (gCatalogue.count)
        std::memcpy(storage, gCatalogue.records, size_t(gCatalogue.count) * sizeof(TrackRecord));
    std::free(gCatalogue.records);
    gCatalogue.records = storage;
    gCatalogue.capacity = capacity;
    return true;
}
}  // namespace

void ClearCatalogue() {
    if (gCatalogue.records)
        std::memset(gCatalogue.records, 0, size_t(gCatalogue.capacity) * sizeof(TrackRecord));
    gCatalogue.count = 0;
}

int AppendTrack(const TrackReport& report) {
    if (gCatalogue.count == gCatalogue.capacity && !Grow()) return -1;
    const uint32_t index = gCatalogue.count;
    // The slot is zero (fresh storage or cleared), so groupNumber and
    // groupLength start at 0 without being written here.
    TrackRecord& r = gCatalogue.records[index];
    CopyText(r.artist, sizeof r.artist, report.artist);
    CopyText(r.album, sizeof r.album, report.album);
    CopyText(r.title, sizeof r.title, report.title);
    CopyText(r.groupName, sizeof r.groupName, report.groupName);
    CopyText(r.displayLine, sizeof r.displayLine, report.displayLine);
    r.trackNumber = report.trackNumber;
    r.trackLength = report.trackLength ? *report.trackLength : 0.0f;
    r.bitrate = uint32_t(report.bitrate);
    gCatalogue.count = index + 1;
    return int(index);
}

const TrackRecord* CatalogueRecord(intptr_t index) {
    if (index < 0 || uint64_t(index) >= gCatalogue.count) return nullptr;
    return &gCatalogue.records[index];
}
