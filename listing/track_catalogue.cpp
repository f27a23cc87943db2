#include "listing/track_catalogue.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "settings/format_settings.h"
#include "text/fields.h"

TrackCatalogue gCatalogue;
ListedDisc gListedDisc;
CatalogueAllocFn gCatalogueAlloc = std::calloc;
CatalogueFreeFn gCatalogueFree = [](void* storage, size_t, size_t) { std::free(storage); };

namespace {
bool GrowTo(uint32_t capacity) {
    auto* storage = static_cast<TrackRecord*>(gCatalogueAlloc(capacity, sizeof(TrackRecord)));
    if (!storage) return false;
    if (gCatalogue.count)
        std::memcpy(storage, gCatalogue.records, size_t(gCatalogue.count) * sizeof(TrackRecord));
    if (gCatalogue.records) gCatalogueFree(gCatalogue.records, gCatalogue.capacity, sizeof(TrackRecord));
    gCatalogue.records = storage;
    gCatalogue.capacity = capacity;
    return true;
}

bool Grow() {
    // The storage doubles (the first step makes room for CATALOGUE_GROWTH
    // records), so filling a full disc copies each record about once, not
    // once per step. The record count must stay representable as an int index.
    const uint32_t step = gCatalogue.capacity < CATALOGUE_GROWTH ? CATALOGUE_GROWTH : gCatalogue.capacity;
    if (gCatalogue.capacity > uint32_t(INT32_MAX) - step) return false;
    return GrowTo(gCatalogue.capacity + step);
}
}  // namespace

// Records past count are zero already, so only those in use are cleared:
// a large storage that held a small disc is not written over again.
void ClearCatalogue() {
    if (gCatalogue.records) std::memset(gCatalogue.records, 0, size_t(gCatalogue.count) * sizeof(TrackRecord));
    gCatalogue.count = 0;
}

bool ReserveCatalogue(uint32_t count) {
    if (count <= gCatalogue.capacity) return true;
    if (count > uint32_t(INT32_MAX)) return false;
    return GrowTo(count);
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

// A stored record comes back as AppendTrack made it; copied whole, so a disc
// shown from a catalogue lists as when it was read.
int AppendTrackRecord(const TrackRecord& record) {
    if (gCatalogue.count == gCatalogue.capacity && !Grow()) return -1;
    const uint32_t index = gCatalogue.count;
    gCatalogue.records[index] = record;
    gCatalogue.count = index + 1;
    return int(index);
}

const TrackRecord* CatalogueRecord(intptr_t index) {
    if (index < 0 || uint64_t(index) >= gCatalogue.count) return nullptr;
    return &gCatalogue.records[index];
}

// The generation is read from the name's digits once DiscListName has found
// the name to be TRKIDX, up to four hexadecimal digits and .HMA.
void BeginListedDisc(const char* indexPath) {
    gListedDisc = ListedDisc{};
    gListedDisc.generation = NO_GENERATION;
    const char* path = indexPath != nullptr ? indexPath : "";
    StoreFieldText(gListedDisc.indexPath, sizeof gListedDisc.indexPath, path, LISTED_PATH_SIZE - 1);
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p)
        if (*p == '\\' || *p == '/') name = p + 1;
    StoreFieldText(gListedDisc.indexName, sizeof gListedDisc.indexName, name, LISTED_PATH_SIZE - 1);
    std::string listName;
    if (DiscListName(gListedDisc.indexName, listName))
        gListedDisc.generation =
            int32_t(std::strtoul(gListedDisc.indexName + std::strlen(INDEX_NAME_STEM), nullptr, 16));
}

void SetListedDiscTitle(const char* title) {
    StoreFieldText(gListedDisc.title, sizeof gListedDisc.title, title != nullptr ? title : "", LINE_CHARS);
    gListedDisc.hasTitle = true;
}

void SetListedDiscIdentity(const DiscIdentity& identity) { gListedDisc.identity = identity; }
