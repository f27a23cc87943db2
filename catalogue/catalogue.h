// Every disc in one catalogue: a SQLite file of discs and their tracks that
// the window and tavolin-list share. Portable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/disc_key.h"
#include "listing/track_catalogue.h"

class SqliteDb;

// The SQLite file's marks: application_id "TAVO", and the schema version a
// file of this program has in user_version. Older files are read as they
// are and brought to version 3 when opened for writing: version 2 added the
// tracks' folded texts, version 3 whether a disc has a title cell.
inline constexpr int32_t CATALOGUE_APPLICATION_ID = 0x5441564F;
inline constexpr int32_t CATALOGUE_SCHEMA_VERSION = 3;
// The most tracks one stored disc has; more than a disc's track table holds.
inline constexpr uint32_t CATALOGUE_DISC_TRACKS_MAX = 4096;
// Texts of a disc read back: titles as long as a track's texts, places as
// long as a path may usefully be.
inline constexpr size_t CATALOGUE_SOURCE_CHARS = 1024;

enum class CatalogueMode {
    READ,   // find and list: a missing file is an empty catalogue, nothing is created
    WRITE,  // add and remove: a missing file (and its folder) is created
};

struct CatalogueOptions {
    int busyTimeoutMs = 5000;  // how long to wait for another program's write
    int64_t maxPageCount = 0;  // > 0: the file may grow no further (a full disk, for tests)
};

class Catalogue {
public:
    Catalogue();
    ~Catalogue();
    Catalogue(Catalogue&&) noexcept;
    Catalogue& operator=(Catalogue&&) noexcept;
    const std::string& Path() const { return path_; }
    bool IsEmpty() const;  // READ of a missing file: no connection at all
    SqliteDb* Db() const { return db_.get(); }
    int SchemaVersion() const { return schemaVersion_; }

private:
    friend struct CatalogueOpener;
    std::string path_;
    int schemaVersion_ = CATALOGUE_SCHEMA_VERSION;
    std::unique_ptr<SqliteDb> db_;
};

struct CatalogueOpenResult {
    bool isOpen;
    std::string message;  // names the file; "" when open
};

// Opens the catalogue at path (UTF-8). An existing file is checked read-only
// first, and a file that is not a Tavolin catalogue or has a newer schema is
// refused without a byte written.
CatalogueOpenResult OpenCatalogue(const std::string& path, CatalogueMode mode, Catalogue& out,
                                  const CatalogueOptions& options = {});

// What the caller knows of a disc besides its tracks.
struct StoredDiscInfo {
    const char* key;             // DISC_KEY_SIZE - 1 lower-case hexadecimal digits
    bool isKeyDerived;           // true: a hash of the index image, the disc had no identity
    const char* title;           // disc title, "" when none
    uint32_t indexGeneration;    // the nn of TRKIDXnn
    const char* source;          // drive or folder as the user gave it
    uint32_t groupCount;
    const char* now = nullptr;   // UTC "YYYY-MM-DDTHH:MM:SSZ"; nullptr: the clock's
    const char* indexName = nullptr;  // the index file's name as its folder lists it
    bool hasTitleCell = false;  // a title cell, also one of no text; a title that is not "" has one
};

enum class AddResult { ADDED, UPDATED, UNCHANGED, FAILED };

struct AddOutcome {
    AddResult result;
    int64_t discId;       // the disc's row; 0 on failure
    std::string message;  // on failure, names the file
};

// Stores the disc and its n tracks in one transaction: a new key is ADDED,
// a known key with other contents replaces its tracks (UPDATED), the same
// contents again change nothing (UNCHANGED).
AddOutcome AddDisc(Catalogue& catalogue, const StoredDiscInfo& info, const TrackRecord* tracks, size_t n);

struct CatalogueStatus {
    bool ok;
    std::string message;
};

// Removes the disc and its tracks.
CatalogueStatus RemoveDisc(Catalogue& catalogue, int64_t discId);

struct StoredDisc {
    int64_t id;
    std::string key;
    bool isKeyDerived;
    std::string title;
    uint32_t indexGeneration;
    std::string source;
    std::string firstAdded;   // UTC, ISO 8601
    std::string lastUpdated;  // UTC, ISO 8601
    uint32_t trackCount;
    uint32_t groupCount;
    double totalLength;  // seconds
    std::string indexName;  // "" when not known (a disc stored by version 1)
    bool hasTitle = false;  // a title cell (a title line is listed); before version 3: title not ""
};

// Every disc, by title then key.
CatalogueStatus ListDiscs(Catalogue& catalogue, std::vector<StoredDisc>& out);

// The one disc that text names: its full key, a prefix of at least
// DISC_KEY_PREFIX_MIN hexadecimal digits, or its exact title. None or
// several is a failure whose message says which.
CatalogueStatus FindDisc(Catalogue& catalogue, const std::string& text, StoredDisc& out);

// The disc's tracks in their stored order, as AppendTrack made them.
CatalogueStatus LoadDiscTracks(Catalogue& catalogue, int64_t discId, std::vector<TrackRecord>& out);

// One track a search found; the pointers hold only during the call.
struct FoundTrack {
    int64_t discId;
    const char* discKey;
    const char* discTitle;
    const TrackRecord& track;
};
// Return false to stop the search early.
using FoundTrackSink = std::function<bool(const FoundTrack&)>;

// The orders a search's results can come in: the store's (by disc title,
// disc and stored order), or by one of the catalogue window's columns in
// their on-screen order.
enum TrackOrder {
    ORDER_STORED = -1,
    ORDER_DISC,
    ORDER_NUMBER,
    ORDER_ARTIST,
    ORDER_ALBUM,
    ORDER_TITLE,
    ORDER_LENGTH,
    ORDER_MODE,
    ORDER_RECORDED,
    ORDER_COUNT,
};

struct FindRange {
    uint64_t offset = 0;
    uint64_t limit = UINT64_MAX;
    int order = ORDER_STORED;  // a TrackOrder
    bool isDescending = false;  // the order's exact reverse
    uint64_t knownCount = UINT64_MAX;  // what CountTracks said for the text, when the caller has it
};

// Every track whose disc title, group, artist, album or title holds text,
// case folded; "" finds every track. Results come in range's order: by a
// column, texts A-Z with ASCII letters folded, numbers, lengths and times
// by value, modes by bitrate, ties by disc title (folded), disc, track
// number and stored order; range pages them. total, when given, receives
// how many tracks the search finds in all (what CountTracks says), counted
// once for both.
CatalogueStatus FindTracks(Catalogue& catalogue, const std::string& text, const FoundTrackSink& sink,
                           const FindRange& range = {}, uint64_t* total = nullptr);
// How many tracks FindTracks would give for text.
CatalogueStatus CountTracks(Catalogue& catalogue, const std::string& text, uint64_t& count);
// How many discs are stored.
CatalogueStatus CountDiscs(Catalogue& catalogue, uint64_t& count);

// The fold a search applies: each code point as the full-text index's
// case-insensitive trigrams fold it; bytes that are no UTF-8 stay as they are.
std::string FoldSearchText(const char* text, size_t n);
