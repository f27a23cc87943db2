#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Builds track index images from a readable description, for tests, the
// fuzzer's seeds and the demo recorder. Written the way recorders write
// them: a disc title, a group table, track entries at chosen slots, a chain
// of timing cells per track and string chains of 14 text bytes per cell.
namespace index_image {

// Byte 0 of a text's first cell.
inline constexpr uint8_t LATIN1 = 0x05;
inline constexpr uint8_t SHIFT_JIS = 0x90;
inline constexpr uint8_t UTF16BE = 0x84;

// The seven codec ids with named recording modes.
inline constexpr uint16_t CODEC_LP4 = 0x2018;  // 66 kbps
inline constexpr uint16_t CODEC_LP2_105 = 0x2026;
inline constexpr uint16_t CODEC_LP2 = 0x2030;  // 132 kbps
inline constexpr uint16_t CODEC_PCM = 0x2807;
inline constexpr uint16_t CODEC_HI_LP_48 = 0x2822;
inline constexpr uint16_t CODEC_HI_LP_64 = 0x282E;
inline constexpr uint16_t CODEC_HI_SP = 0x28B9;  // 256 kbps

// One timing cell: blocks first..last, from frame firstFrame of the first
// block to frame lastFrame of the last.
struct TimingSpan {
    uint16_t firstBlock = 0;
    uint16_t lastBlock = 0;
    uint8_t firstFrame = 0;
    uint8_t lastFrame = 0;
};

struct TrackDescription {
    uint32_t slot = 0;
    std::string title;  // "" writes cell 0 (no text)
    std::string artist;
    std::string album;
    uint8_t encoding = LATIN1;     // of the three texts; for UTF16BE pass Utf16Be() bytes
    uint16_t trackNumber = 0;      // entry offset 36, the first timing cell; 0 means slot + 1
    uint16_t codecId = CODEC_LP2;  // c1:c2
    uint8_t family = 0;            // codec family byte
    uint8_t c0 = 0;                // first codec-info byte (3 in the low bits marks MP3)
    uint16_t mp3Seconds = 0;
    std::vector<TimingSpan> timing = {{0, 10, 0, 5}};  // one cell each, chained in order
    // Entry offsets 0 and 2, FAT/DOS words (DosDateWord, DosTimeWord).
    // Both 0 writes byte 0 as 1 alone, which reads as a date with day 0: no
    // recording time, as for a track sent from a computer.
    uint16_t recordedDate = 0;
    uint16_t recordedTime = 0;
};

// The FAT/DOS words of a recording time, as a recorder writes them; fields
// out of range are masked into their bits as they stand.
uint16_t DosDateWord(unsigned year, unsigned month, unsigned day);
uint16_t DosTimeWord(unsigned hour, unsigned minute, unsigned second);

// Bytes of a disc list (MCLISTnn.HMA) holding the 16-byte identity at 0x40;
// size bytes long (shorter than 0x50 cuts the identity off).
std::vector<uint8_t> BuildDiscList(const uint8_t (&identity)[16], size_t size = 0x200);

struct GroupDescription {
    uint16_t first = 0;
    uint16_t last = 0;
    std::string title;  // "" writes cell 0 (untitled group)
    uint8_t encoding = LATIN1;
};

class IndexImageBuilder {
public:
    // Image size; writes past it grow the image.
    static constexpr size_t DEFAULT_SIZE = 0x50000;

    IndexImageBuilder();

    IndexImageBuilder& SetDiscTitle(std::string_view text, uint8_t encoding = LATIN1);
    IndexImageBuilder& AddGroup(const GroupDescription& group);
    IndexImageBuilder& AddTrack(const TrackDescription& track);
    // Entry numbers (slot + 1) by play position; also sets the track count.
    IndexImageBuilder& SetPlayOrder(const std::vector<uint16_t>& entries);
    // Overrides the track count, which is otherwise the play order's length
    // or the number of tracks added.
    IndexImageBuilder& SetTrackCount(uint16_t count);

    // Writes a text into newly taken string cells; returns its first cell.
    uint16_t AddText(std::string_view bytes, uint8_t encoding = LATIN1);
    // Writes a text into the given cells (as many as it needs, in order),
    // linking each to the next; the last used cell gets link 0.
    void WriteTextAt(const std::vector<uint16_t>& cells, std::string_view bytes, uint8_t encoding = LATIN1);

    void PokeByte(size_t offset, uint8_t value);
    void PokeBe16(size_t offset, uint16_t value);
    static size_t EntryOffset(uint32_t slot);
    static size_t StringCellOffset(uint32_t cell);
    static size_t TimingCellOffset(uint32_t cell);

    std::vector<uint8_t> Build() const;

private:
    std::vector<uint8_t> image_;
    uint16_t nextStringCell_ = 1;
    uint16_t nextExtraTimingCell_ = 0x800;
    size_t groupCount_ = 0;
    size_t trackCount_ = 0;
    int playOrderLength_ = -1;
    int trackCountOverride_ = -1;
};

// UTF-16 big-endian bytes of a text, for texts written with UTF16BE.
std::string Utf16Be(std::u16string_view text);
// The UTF-16 of a UTF-8 text, for the texts tools write and the titles users
// give them; a character cut short keeps the bits it has, and the byte that
// cut it starts the next.
std::u16string Utf16OfUtf8(std::string_view text);

}  // namespace index_image
