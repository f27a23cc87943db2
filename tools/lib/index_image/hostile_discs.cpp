#include "tools/lib/index_image/hostile_discs.h"

#include <algorithm>

#include "tools/lib/index_image/index_image_builder.h"

namespace index_image {

std::vector<uint8_t> SmallDisc(const std::string& title, int tracks) {
    IndexImageBuilder b;
    b.SetDiscTitle(title);
    for (int i = 0; i < tracks; ++i) {
        TrackDescription t;
        t.slot = uint32_t(i);
        t.title = title + " song " + std::to_string(i + 1);
        t.artist = "Artist";
        b.AddTrack(t);
    }
    return b.Build();
}

std::vector<uint8_t> FullDisc() {
    constexpr uint32_t TRACKS = FULL_DISC_TRACKS, CELLS = 4095, GROUP_SIZE = 100;
    IndexImageBuilder b;
    std::vector<uint16_t> cells;
    for (uint32_t c = 1; c <= CELLS; ++c) cells.push_back(uint16_t(c));
    std::string text;
    for (uint32_t i = 0; text.size() < CELLS * 14; ++i) text += "Word" + std::to_string(i) + " ";
    text.resize(CELLS * 14 - 1);
    uint32_t groups = 0;
    for (uint32_t first = 1; first <= TRACKS; first += GROUP_SIZE, ++groups)
        b.AddGroup({uint16_t(first), uint16_t(std::min(first + GROUP_SIZE - 1, TRACKS)), ""});
    for (uint32_t slot = 0; slot < TRACKS; ++slot) {
        TrackDescription t;
        t.slot = slot;
        t.timing = {{uint16_t(slot % 97), uint16_t(slot % 97 + slot % 7), 0, uint8_t(slot % 11)}};
        t.codecId = slot % 2 ? CODEC_LP2 : CODEC_HI_SP;
        b.AddTrack(t);
    }
    b.WriteTextAt(cells, text);
    // Field offsets of the header, a group entry and a track entry.
    constexpr size_t DISC_TITLE_CELL = 0x02104, GROUP_TABLE = 0x02108, GROUP_ENTRY = 8, GROUP_TITLE = 4;
    constexpr size_t TITLE = 8, ARTIST = 10, ALBUM = 12;
    b.PokeBe16(DISC_TITLE_CELL, 1);
    for (uint32_t g = 0; g < groups; ++g)
        b.PokeBe16(GROUP_TABLE + g * GROUP_ENTRY + GROUP_TITLE, uint16_t(50 + g));
    for (uint32_t slot = 0; slot < TRACKS; ++slot) {
        const size_t entry = IndexImageBuilder::EntryOffset(slot);
        b.PokeBe16(entry + TITLE, uint16_t(1 + (slot * 2) % (CELLS - 20)));
        b.PokeBe16(entry + ARTIST, uint16_t(2 + (slot * 3) % (CELLS - 20)));
        b.PokeBe16(entry + ALBUM, uint16_t(3 + (slot * 5) % (CELLS - 20)));
    }
    return b.Build();
}

std::vector<HostileIndex> HostileIndexes() {
    const std::vector<uint8_t> full = FullDisc();
    std::vector<uint8_t> huge = SmallDisc("Huge");
    huge.resize(64u << 20, 0xA5);  // 64 MiB: the tail is never read
    // Cut points inside the 80-byte track entries (from 0x8050) and inside
    // the 16-byte string cells (from 0x40000).
    const size_t inEntries = 0x8050 + 80 * 700 + 33, inCells = 0x40000 + 16 * 900 + 7;
    return {
        {"0-byte index", {}},
        {"index cut inside the track entries", std::vector<uint8_t>(full.begin(), full.begin() + inEntries)},
        {"index cut inside the string cells", std::vector<uint8_t>(full.begin(), full.begin() + inCells)},
        {"index of 64 MiB", huge},
        {"full disc: 2047 tracks, 4095 string cells, long texts everywhere", full},
    };
}

}  // namespace index_image
