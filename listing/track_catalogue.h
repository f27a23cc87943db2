#pragma once
#include <cstddef>
#include <cstdint>

#include "index/disc_identity.h"
#include "index/locate.h"
#include "index/track_index.h"
#include "index/track_report.h"

// Text fields in bytes of UTF-8, and the most characters each keeps.
// artist, album, title and groupName hold every text a report carries
// (TEXT_CHARS characters of any kind) and TRACK_TEXT_CHARS Latin letters;
// displayLine holds a whole display line.
constexpr size_t TRACK_TEXT_CHARS = 254;
constexpr size_t TRACK_TEXT_SIZE = TEXT_BUFFER_SIZE;
constexpr size_t DISPLAY_LINE_CHARS = 2047;
constexpr size_t DISPLAY_LINE_SIZE = 2048;
static_assert(TRACK_TEXT_SIZE >= 2 * TRACK_TEXT_CHARS + 1 && DISPLAY_LINE_SIZE >= LINE_BUFFER_SIZE);
constexpr uint32_t CATALOGUE_GROWTH = 100;  // records of the first storage; each growth doubles it

// One reported track. The four text fields lie back to back with
// trackNumber directly after them.
struct TrackRecord {
    char artist[TRACK_TEXT_SIZE];
    char album[TRACK_TEXT_SIZE];
    char title[TRACK_TEXT_SIZE];
    char groupName[TRACK_TEXT_SIZE];
    uint32_t trackNumber;
    char displayLine[DISPLAY_LINE_SIZE];
    uint32_t groupNumber;  // 0 until a Group Listing numbers the group's first track
    float groupLength;     // 0 until a Group Listing sums the group (first track only)
    float trackLength;     // seconds
    uint32_t bitrate;      // bits per second
    uint32_t slot;         // the track's entry slot in the index
    RecordingTime recorded;
};

static_assert(offsetof(TrackRecord, trackNumber) == 4 * TRACK_TEXT_SIZE);

// Every reported track in report order, addressed by catalogue index.
// Records past count are all zero bytes.
struct TrackCatalogue {
    TrackRecord* records;
    uint32_t count;
    uint32_t capacity;  // CATALOGUE_GROWTH, then doubled as needed
};

extern TrackCatalogue gCatalogue;

// Zero-filled allocation used for the record storage (calloc's shape), and
// its release, given the count and size it was made with (std::free's part
// by default). Tests swap the allocation to see a failed growth; a program
// may keep its records in storage of its own kind.
using CatalogueAllocFn = void* (*)(size_t count, size_t size);
using CatalogueFreeFn = void (*)(void* storage, size_t count, size_t size);
extern CatalogueAllocFn gCatalogueAlloc;
extern CatalogueFreeFn gCatalogueFree;

// Zeroes every record of the storage and sets count to 0; the storage stays.
void ClearCatalogue();

// Makes room for at least count records in one step, so a fill of that many
// copies no record on the way; false (the storage as it was) when it could
// not grow.
bool ReserveCatalogue(uint32_t count);

// Copies the report into the next record (texts cut to their fields) and
// returns its index, or -1 when the storage could not grow (the records
// already in are kept, the report is dropped).
int AppendTrack(const TrackReport& report);

// Copies a whole record into the next one; -1 as AppendTrack.
int AppendTrackRecord(const TrackRecord& record);

// The record at index, or nullptr when index is not below count.
const TrackRecord* CatalogueRecord(intptr_t index);

// Bytes of a listed index's path in UTF-8: a Win32 path of up to 259 UTF-16
// units is at most three bytes a unit.
constexpr size_t LISTED_PATH_SIZE = 3 * (INDEX_PATH_SIZE - 1) + 1;
constexpr int32_t NO_GENERATION = -1;  // the index's name carries no number

// The disc whose tracks the catalogue holds, as its scan reported it. Filled
// on the window thread beside the catalogue; emptied when a scan begins.
struct ListedDisc {
    char title[LINE_BUFFER_SIZE];       // "" while the disc has reported none
    bool hasTitle;                      // the disc reported a title, also one of no text
    DiscIdentity identity;              // not known until the scan says so
    char indexPath[LISTED_PATH_SIZE];   // the track index read; "" before a scan
    char indexName[LISTED_PATH_SIZE];   // its file name, e.g. "TRKIDX01.HMA"
    int32_t generation;                 // the number in that name, or NO_GENERATION
};

extern ListedDisc gListedDisc;

// Empties the record and notes the index that the scan beginning now reads.
void BeginListedDisc(const char* indexPath);
void SetListedDiscTitle(const char* title);
void SetListedDiscIdentity(const DiscIdentity& identity);
