#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "index/track_timing.h"
#include "tools/lib/index_image/index_image_builder.h"

namespace {

using namespace index_image;

struct TimingRow {
    const char* name;
    TrackDescription track;
    int32_t bitrate;
    uint32_t totalBytes;
    double length;  // seconds, checked to float precision
};

TEST(ComputeTrackTiming, NamedCodecs) {
    const TimingRow rows[] = {
        {"LP2, blocks 100-110, last frame 5",
         {.codecId = CODEC_LP2, .timing = {{100, 110, 0, 5}}},
         132000,
         163584,
         163584 * 8 / 132000.0},
        {"HI-SP, blocks 1-2, last frame 3",
         {.codecId = CODEC_HI_SP, .timing = {{1, 2, 0, 3}}},
         256000,
         20832,
         0.651},
        // 652800704 bytes: the bit count exceeds 32 bits.
        {"PCM, blocks 0-40000, last frame 10",
         {.codecId = CODEC_PCM, .timing = {{0, 40000, 0, 10}}},
         1411200,
         652800704,
         652800704 * 8.0 / 1411200},
        {"LP4", {.codecId = CODEC_LP4, .timing = {{0, 0, 0, 0}}}, 66000, 192, 192 * 8 / 66000.0},
        {"LP2 105",
         {.codecId = CODEC_LP2_105, .timing = {{0, 1, 0, 0}}},
         105000,
         304 * 54,
         304 * 54 * 8 / 105000.0},
        {"HI-LP 48",
         {.codecId = CODEC_HI_LP_48, .timing = {{0, 1, 0, 0}}},
         48000,
         280 * 59,
         280 * 59 * 8 / 48000.0},
        {"HI-LP 64",
         {.codecId = CODEC_HI_LP_64, .timing = {{0, 1, 0, 0}}},
         64000,
         376 * 44,
         376 * 44 * 8 / 64000.0},
        // A divided track begins in the middle of a block; counting from
        // frame 0 gave it frames it does not hold.
        {"first frame 10",
         {.codecId = CODEC_LP2, .timing = {{5, 7, 10, 20}}},
         132000,
         384 * 95,
         384 * 95 * 8 / 132000.0},
        // An edited track spans several timing cells; reading only the first
        // gave a length too short.
        {"two timing cells",
         {.codecId = CODEC_LP2, .timing = {{0, 10, 0, 5}, {20, 21, 3, 3}}},
         132000,
         384 * (426 + 43),
         384 * 469 * 8 / 132000.0},
        {"three timing cells",
         {.codecId = CODEC_HI_SP, .timing = {{0, 0, 0, 9}, {4, 4, 2, 2}, {9, 10, 5, 0}}},
         256000,
         1488 * (10 + 1 + 6),
         1488 * 17 * 8 / 256000.0},
    };
    for (const TimingRow& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        TrackDescription track = row.track;
        track.slot = 3;
        b.AddTrack(track);
        const std::vector<uint8_t> image = b.Build();
        TrackTiming t;
        ComputeTrackTiming(TrackIndexFile{image.data(), image.size()}, 3, t);
        EXPECT_EQ(t.bitrate, row.bitrate);
        EXPECT_EQ(t.totalBytes, row.totalBytes);
        EXPECT_EQ(t.trackNumber, 4u);
        EXPECT_NEAR(t.length, row.length, std::abs(row.length) * 1e-6 + 5e-4);
    }
}

TEST(ComputeTrackTiming, CodecsOutsideTheTable) {
    const TimingRow rows[] = {
        // MP3 keeps whole seconds in the entry.
        {"MP3",
         {.codecId = 0x4412, .family = 1, .c0 = 0x03, .mp3Seconds = 245, .timing = {{0, 99, 0, 0}}},
         0,
         0,
         245.0},
        // c1:c2 0x288B: frame 1120 bytes, 44100 Hz, 2048 samples, 14 frames a block.
        {"ATRAC3plus 192 kbps",
         {.codecId = 0x288B, .family = 1, .timing = {{0, 100, 0, 13}}},
         192938,
         1120 * 1414,
         1414 * 2048 / 44100.0},
        // c2 0x40: frame 512 bytes, 44100 Hz, 1024 samples, 31 frames a block.
        {"ATRAC3 176 kbps",
         {.codecId = 0x2040, .family = 0, .timing = {{0, 2, 0, 0}}},
         176400,
         512 * 63,
         63 * 1024 / 44100.0},
        // 33 x 8 x 8 x 32000 / 1024 is exactly 66000, the LP4 rate: moved off it.
        {"ATRAC3 landing on a named rate",
         {.codecId = 0x0021, .family = 0, .timing = {{0, 0, 0, 0}}},
         66001,
         264,
         1024 / 32000.0},
        // Frames per block are 16319 / frame size. Only a size that divides
        // 16320 tells that from 16320 / size, and only over several blocks.
        // c2 0x18: frame 192 bytes, 48000 Hz, 1024 samples, 84 frames a block.
        {"ATRAC3 frames dividing 16320",
         {.codecId = 0x4018, .family = 0, .timing = {{0, 4, 0, 0}}},
         72000,
         192 * 337,
         337 * 1024 / 48000.0},
        // c1:c2 0x20FE: frame 2040 bytes, 44100 Hz, 2048 samples, 7 frames a block.
        {"ATRAC3plus frames dividing 16320",
         {.codecId = 0x20FE, .family = 1, .timing = {{0, 3, 0, 0}}},
         351422,
         2040 * 22,
         22 * 2048 / 44100.0},
        {"rate index past the list", {.codecId = 0xA040, .family = 0, .timing = {{0, 9, 0, 0}}}, 0, 0, 0.0},
        {"zero frame size", {.codecId = 0x2000, .family = 0, .timing = {{0, 9, 0, 0}}}, 0, 0, 0.0},
        {"PCM family, unknown id", {.codecId = 0x2808, .family = 0x80, .timing = {{0, 9, 0, 0}}}, 0, 0, 0.0},
    };
    for (const TimingRow& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        b.AddTrack(row.track);
        const std::vector<uint8_t> image = b.Build();
        TrackTiming t;
        ComputeTrackTiming(TrackIndexFile{image.data(), image.size()}, 0, t);
        EXPECT_EQ(t.bitrate, row.bitrate);
        EXPECT_EQ(t.totalBytes, row.totalBytes);
        EXPECT_NEAR(t.length, row.length, row.length * 1e-6 + 1e-6);
        EXPECT_STREQ(RecordingModeName(t.bitrate), "UNKNOWN ATRAC");
    }
}

TEST(ComputeTrackTiming, HostileTimingChainsStayBounded) {
    struct Row {
        const char* name;
        uint16_t link;  // written into the first timing cell
        uint32_t frames;
    };
    const Row rows[] = {
        {"cell linking to itself", 4, 11},   // track number 4 is the first cell
        {"link to a zero cell", 0x123, 12},  // cell 0x123 holds 0..0: one frame
        {"link with high nibble set", 0xF000 | 0x123, 12},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        b.AddTrack({.slot = 3, .codecId = CODEC_LP2, .timing = {{0, 0, 0, 10}}});
        b.PokeBe16(IndexImageBuilder::TimingCellOffset(4) + 14, row.link);
        const std::vector<uint8_t> image = b.Build();
        TrackTiming t;
        ComputeTrackTiming(TrackIndexFile{image.data(), image.size()}, 3, t);
        EXPECT_EQ(t.totalBytes, 384 * row.frames);
    }
    // A ring of two cells: each is counted once.
    IndexImageBuilder b;
    b.AddTrack({.slot = 0, .codecId = CODEC_LP2, .timing = {{0, 0, 0, 1}, {0, 0, 0, 2}}});
    const size_t second = IndexImageBuilder::TimingCellOffset(0x800);
    b.PokeBe16(second + 14, 1);
    const std::vector<uint8_t> image = b.Build();
    TrackTiming t;
    ComputeTrackTiming(TrackIndexFile{image.data(), image.size()}, 0, t);
    EXPECT_EQ(t.totalBytes, 384u * 5);
}

TEST(RecordingModeName, NamesByBitrate) {
    const std::pair<int32_t, const char*> rows[] = {
        {48000, "HI-LP 48kbps"},    {64000, "HI-LP 64kbps"},  {66000, "LP4 66kbps"},
        {105000, "LP2 105kbps"},    {132000, "LP2 132kbps"},  {256000, "HI-SP 256kbps"},
        {1411200, "PCM 1411kbps"},  {96000, "UNKNOWN ATRAC"}, {0, "UNKNOWN ATRAC"},
        {-132000, "UNKNOWN ATRAC"},
    };
    for (const auto& [bitrate, name] : rows) {
        SCOPED_TRACE(bitrate);
        EXPECT_STREQ(RecordingModeName(bitrate), name);
    }
}

}  // namespace
