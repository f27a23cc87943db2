#include "listing/track_catalogue.h"

#include <cstdlib>
#include <cstring>

#include "settings/format_settings.h"
#include "text/fields.h"

TrackCatalogue gCatalogue;
CatalogueAllocFn gCatalogueAlloc = std::calloc;

namespace {
bool Grow() {
    // The storage doubles (the first step makes room for CATALOGUE_GROWTH
    // records), so filling a full disc copies each record about once, not
    // once per step. The record count must stay representable as an int index.
    const uint32_t step = gCatalogue.capacity < CATALOGUE_GROWTH ? CATALOGUE_GROWTH : gCatalogue.capacity;
    if (gCatalogue.capacity > uint32_t(INT32_MAX) - step) return false;
    const uint32_t capacity = gCatalogue.capacity + step;
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
    // Texts longer than their fields are cut on a character boundary, never
    // written past them.
    TrackRecord& r = gCatalogue.records[index];
    StoreFieldText(r.artist, sizeof r.artist, report.artist, TRACK_TEXT_CHARS);
    StoreFieldText(r.album, sizeof r.album, report.album, TRACK_TEXT_CHARS);
    StoreFieldText(r.title, sizeof r.title, report.title, TRACK_TEXT_CHARS);
    StoreFieldText(r.groupName, sizeof r.groupName, report.groupName, TRACK_TEXT_CHARS);
    StoreFieldText(r.displayLine, sizeof r.displayLine, report.displayLine, DISPLAY_LINE_CHARS);
    r.trackNumber = report.trackNumber;
    r.trackLength = report.trackLength ? *report.trackLength : 0.0f;
    r.bitrate = uint32_t(report.bitrate);
    r.slot = report.slot;
    r.recorded = report.recorded;
    gCatalogue.count = index + 1;
    return int(index);
}

const TrackRecord* CatalogueRecord(intptr_t index) {
    if (index < 0 || uint64_t(index) >= gCatalogue.count) return nullptr;
    return &gCatalogue.records[index];
}
