// make_walk_seeds DIR: writes the seed images of fuzz_walk, each cut after
// its last non-zero byte (the walk reads missing bytes as zero, so a cut
// seed decodes as the whole image does, at a fraction of the size).
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tools/lib/index_image/index_image_builder.h"

using namespace index_image;

namespace {

std::vector<uint8_t> Cut(std::vector<uint8_t> image) {
    while (!image.empty() && image.back() == 0) image.pop_back();
    return image;
}

// A disc with a play order, groups, chained texts in all encodings and
// timing chains, codecs named and not.
std::vector<uint8_t> PlayOrderDisc() {
    IndexImageBuilder b;
    b.SetDiscTitle("Seed disc with a title longer than a cell");
    b.AddGroup({1, 2, "Group"});
    b.AddGroup({3, 3, ""});
    b.AddTrack({.slot = 0,
                .title = "First title, long",
                .artist = "Artist",
                .album = "Album",
                .timing = {{0, 10, 0, 5}, {20, 22, 4, 1}}});
    b.AddTrack({.slot = 1,
                .title = Utf16Be(u"Mi\u0142o\u015B\u0107 \u00E9t\u00E9"),
                .encoding = UTF16BE,
                .codecId = CODEC_HI_SP});
    b.AddTrack(
        {.slot = 2, .title = "\x82\xA0\x82\xA2", .encoding = SHIFT_JIS, .codecId = 0x288B, .family = 1});
    b.AddTrack({.slot = 3, .codecId = 0x0090, .family = 1, .c0 = 3, .mp3Seconds = 300});
    b.AddTrack({.slot = 5, .title = "PCM", .codecId = CODEC_PCM, .family = 0x80, .timing = {{0, 400, 0, 9}}});
    b.SetPlayOrder({1, 4, 2, 6, 3});
    return Cut(b.Build());
}

// Entries without a play order, empty slots between them; no texts, so the
// seed ends before the timing cells.
std::vector<uint8_t> EntriesOnly() {
    IndexImageBuilder b;
    for (uint32_t slot : {0u, 2u, 3u, 7u}) {
        b.AddTrack({.slot = slot, .codecId = CODEC_LP2});
    }
    std::vector<uint8_t> image = b.Build();
    image.resize(IndexImageBuilder::EntryOffset(8));
    return image;
}

// Chains that loop and cell numbers at the top of their range.
std::vector<uint8_t> Hostile() {
    IndexImageBuilder b;
    b.AddTrack({.slot = 0, .title = "loop"});
    b.PokeBe16(IndexImageBuilder::EntryOffset(0) + 36, 0xFFFF);  // timing cell far past the image
    b.AddTrack({.slot = 1, .title = "chain of three cells looping", .timing = {{0, 1, 0, 0}, {2, 3, 0, 0}}});
    b.PokeBe16(IndexImageBuilder::TimingCellOffset(0x800) + 14,
               2);                                               // the chain's last cell back to its first
    b.PokeBe16(IndexImageBuilder::StringCellOffset(4) + 14, 2);  // the text's last cell back to its first
    b.PokeBe16(0x2104, 0xFFFF);
    b.SetTrackCount(0xFFFF);
    return Cut(b.Build());
}

bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_walk_seeds DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    const bool ok = Write(dir + "/play_order_disc", PlayOrderDisc()) &&
                    Write(dir + "/entries_only", EntriesOnly()) && Write(dir + "/hostile", Hostile());
    if (!ok) std::fprintf(stderr, "make_walk_seeds: cannot write into %s\n", dir.c_str());
    return ok ? 0 : 1;
}
