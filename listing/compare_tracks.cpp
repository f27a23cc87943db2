#include "listing/compare_tracks.h"
#include "text/fields.h"

namespace {
template <typename T>
int CompareNumbers(T a, T b) {
    return a > b ? 1 : (a < b ? -1 : 0);
}

// A NaN length (a damaged disc could yield one) would compare equal to every
// value and break the ordering that the re-order relies on. Here NaNs are
// equal to each other and greater than every number; all other values
// compare by their order.
int CompareLengths(float a, float b) {
    const bool aNan = a != a, bNan = b != b;
    if (aNan || bNan) return int(aNan) - int(bNan);
    return CompareNumbers(a, b);
}

const char* TextField(const TrackRecord& r, uint32_t key) {
    switch (key) {
    case SORT_ARTIST_ASC:
    case SORT_ARTIST_DESC: return r.artist;
    case SORT_ALBUM_ASC:
    case SORT_ALBUM_DESC: return r.album;
    case SORT_TITLE_ASC:
    case SORT_TITLE_DESC: return r.title;
    default: return r.groupName;
    }
}

const TrackRecord& RecordOrZero(intptr_t index) {
    static const TrackRecord zero{};
    const TrackRecord* r = CatalogueRecord(index);
    return r ? *r : zero;
}
}  // namespace

int CompareText(const char* a, const char* b, int caseSensitive) {
    const auto* pa = reinterpret_cast<const unsigned char*>(a);
    const auto* pb = reinterpret_cast<const unsigned char*>(b);
    for (;; ++pa, ++pb) {
        const unsigned ca = caseSensitive ? *pa : FoldCase(*pa);
        const unsigned cb = caseSensitive ? *pb : FoldCase(*pb);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

// Text and recording-time levels that find the records equal hand over to
// the next level; the other numeric levels decide at once, equal or not. Unknown key codes are passed
// over like an equal text level.
int CompareRecords(const TrackRecord& a, const TrackRecord& b, const FormatSettings& settings) {
    const bool isGroup = settings.listingMode == GROUP_LISTING;
    for (const SortLevel& level : settings.sortLevels) {
        switch (level.key) {
        case SORT_ARTIST_ASC:
        case SORT_ALBUM_ASC:
        case SORT_TITLE_ASC:
        case SORT_GROUP_NAME_ASC:
        case SORT_ARTIST_DESC:
        case SORT_ALBUM_DESC:
        case SORT_TITLE_DESC:
        case SORT_GROUP_NAME_DESC: {
            const bool isDescending = level.key == SORT_ARTIST_DESC || level.key == SORT_ALBUM_DESC ||
                                      level.key == SORT_TITLE_DESC || level.key == SORT_GROUP_NAME_DESC;
            const char* ta = TextField(a, level.key);
            const char* tb = TextField(b, level.key);
            const int result = isDescending ? CompareText(tb, ta, level.caseSensitive != 0)
                                            : CompareText(ta, tb, level.caseSensitive != 0);
            if (result != 0) return result;
            break;
        }
        case SORT_NUMBER_ASC:
        case SORT_NUMBER_DESC: {
            const int result = isGroup ? CompareNumbers(a.groupNumber, b.groupNumber)
                                       : CompareNumbers(a.trackNumber, b.trackNumber);
            return level.key == SORT_NUMBER_ASC ? result : -result;
        }
        case SORT_LENGTH_ASC:
        case SORT_LENGTH_DESC: {
            const int result = isGroup ? CompareLengths(a.groupLength, b.groupLength)
                                       : CompareLengths(a.trackLength, b.trackLength);
            return level.key == SORT_LENGTH_ASC ? result : -result;
        }
        case SORT_BITRATE_ASC:
        case SORT_BITRATE_DESC: {
            const int result = CompareNumbers(a.bitrate, b.bitrate);
            return level.key == SORT_BITRATE_ASC ? result : -result;
        }
        case SORT_RECORDED_ASC:
        case SORT_RECORDED_DESC: {
            // Tracks recorded in one go share a second only by chance, and
            // tracks without a time share NO_RECORDING_TIME (the earliest):
            // both hand over to the next level.
            const int result = CompareNumbers(a.recorded, b.recorded);
            if (result != 0) return level.key == SORT_RECORDED_ASC ? result : -result;
            break;
        }
        default: break;
        }
    }
    return 0;
}

int CompareTracks(const char*, const char*, intptr_t dataA, intptr_t dataB) {
    return CompareRecords(RecordOrZero(dataA), RecordOrZero(dataB), gFormatSettings);
}
