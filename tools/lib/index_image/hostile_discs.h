// Index images of the recorders that no well-behaved recorder writes: empty,
// cut short, far too long, or the fullest a recorder can hold. Shared by the
// hostile-recorder scenarios and tavolin-bench's slowest_answer case.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace index_image {

// A disc of a few titled tracks by "Artist", its title naming it.
std::vector<uint8_t> SmallDisc(const std::string& title, int tracks = 3);

// The fullest disc: 2047 tracks in 21 groups, and every one of the 4095
// string cells in use by one chain that runs through all of them, full of
// text. Every field starts somewhere in that chain, so every text (disc
// title, group names, titles, artists, albums) is longer than its buffer.
std::vector<uint8_t> FullDisc();
constexpr uint32_t FULL_DISC_TRACKS = 2047;

// Index files that are empty, cut inside the track entries or the string
// cells, 64 MiB long, or FullDisc(); each is written as the newest index
// beside an older SmallDisc("Older").
struct HostileIndex {
    const char* name;
    std::vector<uint8_t> bytes;
};
std::vector<HostileIndex> HostileIndexes();

}  // namespace index_image
