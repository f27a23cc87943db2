#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "index/recording_time.h"
#include "text/utf8.h"

// A track index file held whole in memory. Every field is decoded from this
// image through accessors that know its length: a read past the end yields 0.
struct TrackIndexFile {
    const uint8_t* bytes;
    size_t length;
};

// Layout of the track index file. Offsets are absolute unless named *_AT_*
// (offset inside an entry or cell). Multi-byte fields are big-endian 16-bit.
inline constexpr size_t TRACK_COUNT_OFFSET = 0x00100;      // number of tracks to report
inline constexpr size_t PLAY_ORDER_OFFSET = 0x00102;       // BE16 per play position: 1-based entry number
inline constexpr size_t DISC_TITLE_CELL_OFFSET = 0x02104;  // 0: no disc title
inline constexpr size_t GROUP_TABLE_OFFSET = 0x02108;
inline constexpr size_t GROUP_ENTRY_SIZE = 8;
inline constexpr size_t GROUP_TABLE_END = 0x08000;  // the entry area begins here
inline constexpr size_t GROUP_FIRST_AT = 0;         // first track number (play position)
inline constexpr size_t GROUP_LAST_AT = 2;          // last track number; 0 ends the table
inline constexpr size_t GROUP_TITLE_CELL_AT = 4;    // 0: untitled group

// Entry number v (1-based, as the play order names it) lies at
// TRACK_ENTRY_BASE + TRACK_ENTRY_SIZE * v, so slot k is entry k + 1.
inline constexpr size_t TRACK_ENTRY_BASE = 0x08000;
inline constexpr size_t TRACK_ENTRY_SIZE = 80;
inline constexpr size_t TRACK_SLOT_OFFSET = TRACK_ENTRY_BASE + TRACK_ENTRY_SIZE;  // slot 0
inline constexpr uint32_t TRACK_SLOT_COUNT = 2047;   // the table ends where the timing cells begin
inline constexpr size_t ENTRY_EMPTY_TEST_SIZE = 28;  // all zero: the slot is empty
inline constexpr size_t ENTRY_RECORDED_DATE_AT = 0;  // BE16 FAT/DOS date word, recorder's clock
inline constexpr size_t ENTRY_RECORDED_TIME_AT = 2;  // BE16 FAT/DOS time word
inline constexpr size_t ENTRY_TITLE_CELL_AT = 8;
inline constexpr size_t ENTRY_ARTIST_CELL_AT = 10;
inline constexpr size_t ENTRY_ALBUM_CELL_AT = 12;
inline constexpr size_t ENTRY_CODEC_FAMILY_AT = 32;  // 0 ATRAC3, 1 ATRAC3plus or MP3, 0x80 PCM
inline constexpr size_t ENTRY_CODEC_INFO_AT = 33;    // codec-info bytes c0, c1, c2
inline constexpr size_t ENTRY_CODEC_ID_AT = 34;      // BE16 c1:c2
inline constexpr size_t ENTRY_TRACK_NUMBER_AT = 36;  // also the track's first timing cell
inline constexpr size_t ENTRY_MP3_SECONDS_AT = 40;
inline constexpr size_t ENTRY_CODEC_INFO_EXTRA_AT = 44;  // codec-info bytes c3, c4

inline constexpr size_t CELL_SIZE = 16;
inline constexpr size_t TIMING_CELL_BASE = 0x30000;
inline constexpr size_t STRING_CELL_BASE = 0x40000;
inline constexpr size_t TIMING_FIRST_BLOCK_AT = 8;
inline constexpr size_t TIMING_LAST_BLOCK_AT = 10;
inline constexpr size_t TIMING_FIRST_FRAME_AT = 12;  // one byte
inline constexpr size_t TIMING_LAST_FRAME_AT = 13;   // one byte
inline constexpr size_t CELL_LINK_AT = 14;           // low 12 bits of bytes 14-15: next cell, 0 none
inline constexpr uint32_t CELL_LINK_MASK = 0x0FFF;
inline constexpr uint32_t LINKED_CELL_COUNT = CELL_LINK_MASK + 1;  // cells a link can reach

// Every offset the decoder forms is a 16-bit cell number's 16-byte cell above
// 0x30000 or 0x40000, so it reads nothing at or past this offset
// (0x40000 + 16 * 0x10000 = 0x140000).
inline constexpr size_t INDEX_DECODED_END = STRING_CELL_BASE + CELL_SIZE * 0x10000;

// The most of an index file that is read (4 MiB). It lies past
// INDEX_DECODED_END, so a longer file is read only this far with the same
// reports, and the image of a file of any size stays bounded.
inline constexpr uint32_t INDEX_READ_LIMIT = 0x400000;
static_assert(INDEX_READ_LIMIT >= INDEX_DECODED_END);
inline constexpr uint32_t INDEX_IMAGE_PADDING = 100;  // zero bytes after the file's

// Texts of the scan, in characters: a title, artist, album or group name,
// and the disc title or a display line. Their buffers hold that many
// characters of any kind in UTF-8 and the terminating zero.
inline constexpr size_t TEXT_CHARS = 127;
inline constexpr size_t LINE_CHARS = 511;
inline constexpr size_t TEXT_BUFFER_SIZE = Utf8Size(TEXT_CHARS);
inline constexpr size_t LINE_BUFFER_SIZE = Utf8Size(LINE_CHARS);

// Sentinels.
inline constexpr int32_t NO_GROUP = -1;  // FindGroup: the track lies in no group

// The scan's stop flag, as every loop of the decoder polls it: non-zero stops.
inline bool IsStopped(const std::atomic<int32_t>& stop) { return stop.load(std::memory_order_relaxed) != 0; }

// The cells a chain walk has passed, so that a link back to one of them ends
// the chain. Links reach only the first LINKED_CELL_COUNT cells; a cell past
// them (a chain's first cell may be one) is never marked and never found.
class VisitedCells {
public:
    void Mark(uint32_t cell) {
        if (cell < LINKED_CELL_COUNT) bits_[cell / 8] |= uint8_t(1u << (cell % 8));
    }
    bool IsMarked(uint32_t cell) const {
        return cell < LINKED_CELL_COUNT && (bits_[cell / 8] & (1u << (cell % 8))) != 0;
    }

private:
    uint8_t bits_[LINKED_CELL_COUNT / 8] = {};
};

// Reads of hostile offsets go through these two: the image may be short, or
// an offset may come from a 16-bit cell number far past its end. Inline, as
// every decoded byte passes through them.
inline uint8_t ImageByte(const TrackIndexFile& file, size_t offset) {
    if (file.bytes == nullptr || offset >= file.length) return 0;
    return file.bytes[offset];
}

// offset + 1 is never formed before offset is known to lie in the image, so
// no offset wraps around to the start.
inline uint16_t ImageBe16(const TrackIndexFile& file, size_t offset) {
    if (file.bytes == nullptr || offset >= file.length) return 0;
    const uint8_t low = file.length - offset >= 2 ? file.bytes[offset + 1] : 0;
    return uint16_t(file.bytes[offset] << 8 | low);
}

uint16_t TrackCount(const TrackIndexFile& file);
uint16_t DiscTitleCell(const TrackIndexFile& file);
size_t TrackEntryOffset(uint32_t slot);
bool IsEmptySlot(const TrackIndexFile& file, uint32_t slot);
uint16_t TitleCell(const TrackIndexFile& file, uint32_t slot);
uint16_t ArtistCell(const TrackIndexFile& file, uint32_t slot);
uint16_t AlbumCell(const TrackIndexFile& file, uint32_t slot);
// When the track in the slot was recorded; NO_RECORDING_TIME when it has none.
RecordingTime RecordedTime(const TrackIndexFile& file, uint32_t slot);
uint16_t LinkOfCell(const TrackIndexFile& file, size_t cellOffset);

// Fills positions[slot] with the slot's play position (1-based), 0 for a slot
// the play order does not name; returns how many slots it names.
uint32_t ReadPlayOrder(const TrackIndexFile& file, uint16_t (&positions)[TRACK_SLOT_COUNT]);

// The title cell of the first group that holds the track number (0 for an
// untitled group), or NO_GROUP.
int32_t FindGroup(const TrackIndexFile& file, uint32_t trackNumber);

// Appends the text of the string chain that begins at the cell to out (which
// holds outSize bytes and a terminated text) as UTF-8, cut on a character
// boundary to fit outSize bytes and maxChars characters, and terminated.
void ReadCellText(const TrackIndexFile& file, uint32_t cell, char* out, size_t outSize, size_t maxChars,
                  const std::atomic<int32_t>& stop);
