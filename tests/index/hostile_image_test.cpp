#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "index/scan_walk.h"
#include "text/utf8.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "walk_recorder.h"

namespace {

using namespace index_image;

// A text of at most maxChars characters in well-formed UTF-8.
void ExpectText(const std::string& text, size_t maxChars) {
    EXPECT_TRUE(IsValidUtf8(text.data(), text.size())) << text;
    EXPECT_LE(CountUtf8Chars(text.data(), text.size()), maxChars) << text;
}

// What any image, however damaged, must give: few enough tracks in rising
// slot order, texts of well-formed UTF-8 within their character limits,
// finite lengths. (The sanitizers of the native build check every read on
// top.)
void ExpectSaneWalk(const WalkRecorder& r) {
    EXPECT_LE(r.discTitles.size(), 1u);
    for (const std::string& t : r.discTitles) ExpectText(t, 511);
    EXPECT_LE(r.tracks.size(), size_t(TRACK_SLOT_COUNT));
    int64_t lastSlot = -1;
    for (const ReportedTrack& t : r.tracks) {
        EXPECT_GT(int64_t(t.slot), lastSlot);
        EXPECT_LT(t.slot, TRACK_SLOT_COUNT);
        lastSlot = t.slot;
        ExpectText(t.displayLine, 511);
        EXPECT_GT(t.displayLine.size(), 0u);
        for (const std::string* text : {&t.title, &t.artist, &t.album, &t.groupName}) ExpectText(*text, 127);
        EXPECT_TRUE(std::isfinite(t.length) && t.length >= 0.0f) << t.length;
    }
}

std::vector<uint8_t> RichImage(bool withPlayOrder) {
    IndexImageBuilder b;
    b.SetDiscTitle("A disc title that runs over several cells");
    b.AddGroup({1, 2, "Group one"});
    b.AddGroup({3, 3, ""});
    b.AddTrack({.slot = 0, .title = "Opening title that is long", .artist = "Artist", .trackNumber = 1});
    b.AddTrack({.slot = 1,
                .title = Utf16Be(u"Mi\u0142o\u015B\u0107"),
                .encoding = UTF16BE,
                .trackNumber = 2,
                .timing = {{0, 5, 3, 9}, {10, 12, 0, 1}}});
    b.AddTrack({.slot = 3, .album = "Album", .trackNumber = 3, .codecId = 0x288B, .family = 1});
    b.AddTrack({.slot = 4, .trackNumber = 4, .codecId = 0x1234, .family = 1, .c0 = 3, .mp3Seconds = 200});
    if (withPlayOrder) b.SetPlayOrder({1, 2, 5, 4});
    return b.Build();
}

TEST(HostileImages, TruncatedImages) {
    for (bool withPlayOrder : {false, true}) {
        const std::vector<uint8_t> whole = RichImage(withPlayOrder);
        const size_t lengths[] = {0,       1,       0x101,   0x102,           0x2105,  0x2110,
                                  0x8050,  0x8051,  0x80A0,  0x8100,          0x30000, 0x30018,
                                  0x40000, 0x40011, 0x40100, whole.size() - 1};
        for (size_t length : lengths) {
            SCOPED_TRACE(length);
            // A copy of exactly that length, so the sanitizers see any read past it.
            std::vector<uint8_t> cut(whole.begin(), whole.begin() + length);
            ExpectSaneWalk(Walk(cut));
        }
    }
    WalkRecorder r;
    std::atomic<int32_t> stop{0};
    WalkTrackIndex(TrackIndexFile{nullptr, 0}, stop, r);
    EXPECT_TRUE(r.discTitles.empty());
    EXPECT_TRUE(r.tracks.empty());
}

TEST(HostileImages, CellNumbersPastTheImage) {
    IndexImageBuilder b;
    b.PokeBe16(0x2104, 0xFFFF);
    b.AddGroup({0, 0xFFFF, ""});
    b.PokeBe16(0x2108 + 4, 0xFFFF);
    for (uint32_t slot = 0; slot < 3; ++slot) {
        b.AddTrack({.slot = slot, .trackNumber = 0xFFFF});
        for (size_t field : {8, 10, 12}) b.PokeBe16(IndexImageBuilder::EntryOffset(slot) + field, 0xFFFF);
    }
    const WalkRecorder r = Walk(b.Build());
    ExpectSaneWalk(r);
    ASSERT_EQ(r.tracks.size(), 3u);
    EXPECT_EQ(r.discTitles, std::vector<std::string>{""});
    EXPECT_EQ(r.tracks[0].trackNumber, 0xFFFFu);
    EXPECT_EQ(r.tracks[0].title, "");
}

TEST(HostileImages, EveryChainLoops) {
    IndexImageBuilder b;
    // One string chain of two full cells that link to each other, used by
    // every text; timing cells that link in a ring.
    b.PokeByte(IndexImageBuilder::StringCellOffset(1), LATIN1);
    for (uint16_t cell : {1, 2}) {
        const size_t at = IndexImageBuilder::StringCellOffset(cell);
        for (size_t i = cell == 1 ? 1 : 0; i < 14; ++i) b.PokeByte(at + i, 'x');
        b.PokeBe16(at + 14, cell == 1 ? 2 : 1);
    }
    b.PokeBe16(0x2104, 1);
    b.AddGroup({1, 2047, ""});
    b.PokeBe16(0x2108 + 4, 2);
    for (uint32_t slot = 0; slot < TRACK_SLOT_COUNT; ++slot) {
        const size_t e = IndexImageBuilder::EntryOffset(slot);
        b.PokeBe16(e + 8, 1), b.PokeBe16(e + 10, 2), b.PokeBe16(e + 12, 1);
        b.PokeBe16(e + 34, CODEC_LP2);
        b.PokeBe16(e + 36, uint16_t(slot + 1));
        b.PokeBe16(IndexImageBuilder::TimingCellOffset(slot + 1) + 14,
                   uint16_t((slot + 1) % TRACK_SLOT_COUNT + 1));
    }
    b.SetTrackCount(0xFFFF);
    const WalkRecorder r = Walk(b.Build());
    ExpectSaneWalk(r);
    ASSERT_EQ(r.tracks.size(), size_t(TRACK_SLOT_COUNT));
    EXPECT_EQ(r.tracks[5].title, std::string(27, 'x'));
    // Each track's timing chain runs once round the ring of 2047 one-frame cells.
    EXPECT_FLOAT_EQ(r.tracks[5].length, 2047 * 384 * 8 / 132000.0f);
    EXPECT_EQ(r.discTitles, std::vector<std::string>{std::string(27, 'x')});
}

TEST(HostileImages, RandomBytes) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        std::vector<uint8_t> image(0x50000 + 64, 0);
        // Random header, play order, groups and entries; every field of the
        // cells random in a part of the rounds, sparse in the others.
        const size_t density = round % 3 == 0 ? 1 : 16;
        for (size_t i = 0; i < image.size(); i += 1 + random() % density) image[i] = uint8_t(random());
        if (round % 4 == 1) std::memset(image.data() + 0x102, 0, 0x1000);  // no play order
        ExpectSaneWalk(Walk(image));
    }
}

}  // namespace
