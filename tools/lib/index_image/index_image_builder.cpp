#include "tools/lib/index_image/index_image_builder.h"

#include <stdexcept>

namespace index_image {
namespace {

// Offsets of the image, as the recorder lays it out. Written out here rather
// than taken from the decoder's headers, so that a wrong offset in the
// decoder is caught by its tests instead of being mirrored by the builder.
constexpr size_t TRACK_COUNT = 0x00100;
constexpr size_t PLAY_ORDER = 0x00102;
constexpr size_t DISC_TITLE_CELL = 0x02104;
constexpr size_t GROUP_TABLE = 0x02108;
constexpr size_t GROUP_ENTRY = 8;
constexpr size_t ENTRY_BASE = 0x08050;
constexpr size_t ENTRY_SIZE = 80;
constexpr size_t RECORDED_DATE = 0;  // in the entry
constexpr size_t RECORDED_TIME = 2;
constexpr size_t DISC_LIST_IDENTITY = 0x40;
constexpr size_t TIMING_BASE = 0x30000;
constexpr size_t STRING_BASE = 0x40000;
constexpr size_t CELL = 16;
constexpr size_t CELL_TEXT = 14;
constexpr uint16_t LAST_LINKED_CELL = 0xFFF;

// The first cell carries the encoding in byte 0 and 13 text bytes; each
// further cell 14.
size_t CellsForText(size_t length) {
    size_t cells = 1;
    for (size_t room = CELL_TEXT - 1; room < length; room += CELL_TEXT) ++cells;
    return cells;
}

}  // namespace

IndexImageBuilder::IndexImageBuilder() : image_(DEFAULT_SIZE, 0) {}

size_t IndexImageBuilder::EntryOffset(uint32_t slot) { return ENTRY_BASE + ENTRY_SIZE * slot; }
size_t IndexImageBuilder::StringCellOffset(uint32_t cell) { return STRING_BASE + CELL * cell; }
size_t IndexImageBuilder::TimingCellOffset(uint32_t cell) { return TIMING_BASE + CELL * cell; }

void IndexImageBuilder::PokeByte(size_t offset, uint8_t value) {
    if (offset >= image_.size()) image_.resize(offset + 1, 0);
    image_[offset] = value;
}

void IndexImageBuilder::PokeBe16(size_t offset, uint16_t value) {
    PokeByte(offset, uint8_t(value >> 8));
    PokeByte(offset + 1, uint8_t(value));
}

void IndexImageBuilder::WriteTextAt(const std::vector<uint16_t>& cells, std::string_view bytes,
                                    uint8_t encoding) {
    const size_t needed = CellsForText(bytes.size());
    if (cells.size() < needed) throw std::invalid_argument("WriteTextAt: too few cells for the text");
    size_t pos = 0;
    for (size_t i = 0; i < needed; ++i) {
        const size_t cell = StringCellOffset(cells[i]);
        for (size_t b = 0; b < CELL; ++b) PokeByte(cell + b, 0);
        size_t b = 0;
        if (i == 0) PokeByte(cell + b++, encoding);
        for (; b < CELL_TEXT && pos < bytes.size(); ++b) PokeByte(cell + b, uint8_t(bytes[pos++]));
        const uint16_t link = i + 1 < needed ? cells[i + 1] : 0;
        PokeByte(cell + 14, uint8_t((link >> 8) & 0x0F));
        PokeByte(cell + 15, uint8_t(link));
    }
}

uint16_t IndexImageBuilder::AddText(std::string_view bytes, uint8_t encoding) {
    std::vector<uint16_t> cells;
    for (size_t i = CellsForText(bytes.size()); i > 0; --i) cells.push_back(nextStringCell_++);
    if (nextStringCell_ - 1 > LAST_LINKED_CELL) throw std::length_error("AddText: string cells exhausted");
    WriteTextAt(cells, bytes, encoding);
    return cells.front();
}

IndexImageBuilder& IndexImageBuilder::SetDiscTitle(std::string_view text, uint8_t encoding) {
    PokeBe16(DISC_TITLE_CELL, AddText(text, encoding));
    return *this;
}

IndexImageBuilder& IndexImageBuilder::AddGroup(const GroupDescription& group) {
    const size_t g = GROUP_TABLE + GROUP_ENTRY * groupCount_++;
    PokeBe16(g, group.first);
    PokeBe16(g + 2, group.last);
    PokeBe16(g + 4, group.title.empty() ? 0 : AddText(group.title, group.encoding));
    return *this;
}

IndexImageBuilder& IndexImageBuilder::AddTrack(const TrackDescription& track) {
    const size_t e = EntryOffset(track.slot);
    // Byte 0 is set on every written entry, so an entry without texts is
    // still not empty.
    PokeByte(e, 0x01);
    if (track.recordedDate != 0 || track.recordedTime != 0) {
        PokeBe16(e + RECORDED_DATE, track.recordedDate);
        PokeBe16(e + RECORDED_TIME, track.recordedTime);
    }
    if (!track.title.empty()) PokeBe16(e + 8, AddText(track.title, track.encoding));
    if (!track.artist.empty()) PokeBe16(e + 10, AddText(track.artist, track.encoding));
    if (!track.album.empty()) PokeBe16(e + 12, AddText(track.album, track.encoding));
    PokeByte(e + 32, track.family);
    PokeByte(e + 33, track.c0);
    PokeBe16(e + 34, track.codecId);
    const uint16_t number = track.trackNumber != 0 ? track.trackNumber : uint16_t(track.slot + 1);
    PokeBe16(e + 36, number);
    PokeBe16(e + 40, track.mp3Seconds);

    uint16_t cell = number;
    for (size_t i = 0; i < track.timing.size(); ++i) {
        const TimingSpan& span = track.timing[i];
        const size_t t = TimingCellOffset(cell);
        PokeBe16(t + 8, span.firstBlock);
        PokeBe16(t + 10, span.lastBlock);
        PokeByte(t + 12, span.firstFrame);
        PokeByte(t + 13, span.lastFrame);
        const uint16_t next = i + 1 < track.timing.size() ? nextExtraTimingCell_++ : 0;
        if (next > LAST_LINKED_CELL) throw std::length_error("AddTrack: timing cells exhausted");
        PokeBe16(t + 14, next);
        cell = next;
    }
    ++trackCount_;
    return *this;
}

IndexImageBuilder& IndexImageBuilder::SetPlayOrder(const std::vector<uint16_t>& entries) {
    for (size_t i = 0; i < entries.size(); ++i) PokeBe16(PLAY_ORDER + 2 * i, entries[i]);
    playOrderLength_ = int(entries.size());
    return *this;
}

IndexImageBuilder& IndexImageBuilder::SetTrackCount(uint16_t count) {
    trackCountOverride_ = count;
    return *this;
}

std::vector<uint8_t> IndexImageBuilder::Build() const {
    std::vector<uint8_t> image = image_;
    size_t count = trackCountOverride_ >= 0 ? size_t(trackCountOverride_)
                   : playOrderLength_ >= 0  ? size_t(playOrderLength_)
                                            : trackCount_;
    image[TRACK_COUNT] = uint8_t(count >> 8);
    image[TRACK_COUNT + 1] = uint8_t(count);
    return image;
}

uint16_t DosDateWord(unsigned year, unsigned month, unsigned day) {
    return uint16_t(((year - 1980) & 0x7F) << 9 | (month & 0xF) << 5 | (day & 0x1F));
}

uint16_t DosTimeWord(unsigned hour, unsigned minute, unsigned second) {
    return uint16_t((hour & 0x1F) << 11 | (minute & 0x3F) << 5 | ((second / 2) & 0x1F));
}

std::vector<uint8_t> BuildDiscList(const uint8_t (&identity)[16], size_t size) {
    std::vector<uint8_t> bytes(size > DISC_LIST_IDENTITY + 16 ? size : DISC_LIST_IDENTITY + 16, 0);
    for (size_t i = 0; i < 16; ++i) bytes[DISC_LIST_IDENTITY + i] = identity[i];
    bytes.resize(size);
    return bytes;
}

std::string Utf16Be(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        out.push_back(char(uint8_t(c >> 8)));
        out.push_back(char(uint8_t(c)));
    }
    return out;
}

std::u16string Utf16OfUtf8(std::string_view text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i++]);
        const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        char32_t c = lead & (0x7F >> extra);
        for (int k = 0; k < extra && i < text.size() && (text[i] & 0xC0) == 0x80; ++k)
            c = (c << 6) | (text[i++] & 0x3F);
        if (c >= 0x10000) {
            out.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(char16_t(c));
        }
    }
    return out;
}

}  // namespace index_image
