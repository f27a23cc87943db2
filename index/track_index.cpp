#include "index/track_index.h"

uint16_t TrackCount(const TrackIndexFile& file) { return ImageBe16(file, TRACK_COUNT_OFFSET); }

uint16_t DiscTitleCell(const TrackIndexFile& file) { return ImageBe16(file, DISC_TITLE_CELL_OFFSET); }

size_t TrackEntryOffset(uint32_t slot) { return TRACK_SLOT_OFFSET + TRACK_ENTRY_SIZE * size_t(slot); }

bool IsEmptySlot(const TrackIndexFile& file, uint32_t slot) {
    const size_t entry = TrackEntryOffset(slot);
    for (size_t i = 0; i < ENTRY_EMPTY_TEST_SIZE; ++i)
        if (ImageByte(file, entry + i) != 0) return false;
    return true;
}

uint16_t TitleCell(const TrackIndexFile& file, uint32_t slot) {
    return ImageBe16(file, TrackEntryOffset(slot) + ENTRY_TITLE_CELL_AT);
}

uint16_t ArtistCell(const TrackIndexFile& file, uint32_t slot) {
    return ImageBe16(file, TrackEntryOffset(slot) + ENTRY_ARTIST_CELL_AT);
}

uint16_t AlbumCell(const TrackIndexFile& file, uint32_t slot) {
    return ImageBe16(file, TrackEntryOffset(slot) + ENTRY_ALBUM_CELL_AT);
}

// Tracks sent from a computer carry zeros here; a recorder writes its clock.
RecordingTime RecordedTime(const TrackIndexFile& file, uint32_t slot) {
    const size_t entry = TrackEntryOffset(slot);
    return DecodeRecordingTime(ImageBe16(file, entry + ENTRY_RECORDED_DATE_AT),
                               ImageBe16(file, entry + ENTRY_RECORDED_TIME_AT));
}

// Timing and string cells share the link field: 12 bits, so cells 0x100,
// 0x200, ... (low byte 0) are real targets.
uint16_t LinkOfCell(const TrackIndexFile& file, size_t cellOffset) {
    return uint16_t(ImageBe16(file, cellOffset + CELL_LINK_AT) & CELL_LINK_MASK);
}

// Recorders and their PC software keep the tracks' order in this table and
// leave moved or deleted tracks' entries where they were, so the table (not
// the entries' own bytes) says which slots hold tracks. It has one value per
// track; there are never more tracks than slots, which bounds the read
// whatever the track count claims. A slot named twice keeps its first
// (lowest) play position.
uint32_t ReadPlayOrder(const TrackIndexFile& file, uint16_t (&positions)[TRACK_SLOT_COUNT]) {
    for (uint16_t& p : positions) p = 0;
    uint32_t count = TrackCount(file);
    if (count > TRACK_SLOT_COUNT) count = TRACK_SLOT_COUNT;
    uint32_t named = 0;
    for (uint32_t i = 0; i < count; ++i) {
        const uint16_t entry = ImageBe16(file, PLAY_ORDER_OFFSET + 2 * size_t(i));
        if (entry == 0 || entry > TRACK_SLOT_COUNT) continue;
        uint16_t& position = positions[entry - 1];
        if (position != 0) continue;
        position = uint16_t(i + 1);
        ++named;
    }
    return named;
}

// Groups are searched in table order and the first match wins; the entry
// whose last track is 0 is examined, then the search ends. A table without
// that entry ends where the track entries begin.
int32_t FindGroup(const TrackIndexFile& file, uint32_t trackNumber) {
    for (size_t g = GROUP_TABLE_OFFSET; g <= GROUP_TABLE_END - GROUP_ENTRY_SIZE; g += GROUP_ENTRY_SIZE) {
        const uint16_t first = ImageBe16(file, g + GROUP_FIRST_AT);
        const uint16_t last = ImageBe16(file, g + GROUP_LAST_AT);
        if (first <= trackNumber && trackNumber <= last) return ImageBe16(file, g + GROUP_TITLE_CELL_AT);
        if (last == 0) break;
    }
    return NO_GROUP;
}
