#pragma once
#include <cstddef>
#include <cstdint>

// The listing choices: listing mode, three sort levels, the rounding flag and
// one line layout per listing mode. The two FormatTables are byte images that
// the format configuration file stores whole, so their layout is fixed.

// ListingMode values; the same values mark the mode bits of option ids.
constexpr uint32_t FULL_LISTING = 0x10000000;
constexpr uint32_t GROUP_LISTING = 0x20000000;
using ListingMode = uint32_t;

// SortKey codes. Codes 7 to 10 read the track fields in Full Listing and the
// group fields in Group Listing.
enum SortKey : uint32_t {
    SORT_ARTIST_ASC = 1,
    SORT_ALBUM_ASC = 2,
    SORT_TITLE_ASC = 3,
    SORT_ARTIST_DESC = 4,
    SORT_ALBUM_DESC = 5,
    SORT_TITLE_DESC = 6,
    SORT_NUMBER_ASC = 7,
    SORT_NUMBER_DESC = 8,
    SORT_LENGTH_ASC = 9,
    SORT_LENGTH_DESC = 10,
    SORT_BITRATE_ASC = 11,
    SORT_BITRATE_DESC = 12,
    SORT_GROUP_NAME_ASC = 13,
    SORT_GROUP_NAME_DESC = 14,
    SORT_RECORDED_ASC = 15,  // tracks without a recording time first
    SORT_RECORDED_DESC = 16,
};

struct SortLevel {
    uint32_t key;            // a SortKey code, 1..16
    uint32_t caseSensitive;  // non-zero: text keys compare without folding A-Z
};

constexpr size_t FORMAT_FIELD_SIZE = 32;
constexpr size_t FORMAT_SLOT_COUNT = 40;
constexpr size_t FORMAT_USED_SLOTS = 21;  // the formatter and the option ids reach slots 0..20

struct FormatSlot {
    char token[FORMAT_FIELD_SIZE];  // token text: "<None>", "Artist", "-", "<Custom>", ...
    char param[FORMAT_FIELD_SIZE];  // repeat amount of a separator, or the "<Custom>" text
};

struct FormatTable {
    FormatSlot slots[FORMAT_SLOT_COUNT];
};

struct FormatSettings {
    ListingMode listingMode;
    SortLevel sortLevels[3];
    uint32_t roundLengths;
    FormatTable fullFormat;
    FormatTable groupFormat;
};

static_assert(sizeof(FormatSlot) == 64, "a FormatSlot is a 64-byte image");
static_assert(sizeof(FormatTable) == 2560, "a FormatTable is a 2560-byte image");
static_assert(sizeof(SortLevel) == 8);

// The one instance, owned by the window thread.
extern FormatSettings gFormatSettings;

// Start-up defaults: Full Listing, keys 7, 9, 11 case-insensitive, rounding
// on, and "<None>" / "1" in all 40 slots of both tables.
void SetFormatDefaults(FormatSettings& settings);

// The table that the formatter uses in the settings' current listing mode.
const FormatTable& ActiveFormatTable(const FormatSettings& settings);
