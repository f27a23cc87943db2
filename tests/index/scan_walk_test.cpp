#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index/scan_walk.h"
#include "support/index_image/index_image_builder.h"
#include "walk_recorder.h"

namespace {

using namespace index_image;

std::vector<uint32_t> Slots(const WalkRecorder& r) {
    std::vector<uint32_t> out;
    for (const ReportedTrack& t : r.tracks) out.push_back(t.slot);
    return out;
}


// The three lines of the display-line description. Lengths: 8052 LP2 frames
// are 187.39 s, 77531 HI-SP frames 3605.19 s, 643 HI-LP 48 frames 30.01 s.
TEST(WalkTrackIndex, BuildsTheDisplayLines) {
    IndexImageBuilder b;
    b.AddGroup({7, 7, "Live"});
    b.AddTrack({.slot = 4, .trackNumber = 5, .codecId = CODEC_HI_LP_48, .timing = {{0, 11, 0, 4}}});
    b.AddTrack({.slot = 6, .title = "Song", .artist = "Band", .album = "Tour", .trackNumber = 7,
                .codecId = CODEC_LP2, .timing = {{0, 191, 0, 29}}});
    b.AddTrack({.slot = 11, .title = "Intro", .trackNumber = 12, .codecId = CODEC_HI_SP,
                .timing = {{0, 7753, 0, 0}}});
    const WalkRecorder r = Walk(b.Build());
    ASSERT_EQ(r.tracks.size(), 3u);
    EXPECT_EQ(Slots(r), (std::vector<uint32_t>{4, 6, 11}));
    EXPECT_EQ(r.tracks[0].displayLine, "UNTITLED TRACK 5     (30s)    [ HI-LP 48kbps ]");
    EXPECT_EQ(r.tracks[1].displayLine, "007)  {Live}     Band \\ Tour \\ Song     (3m:07s)    [ LP2 132kbps ]");
    EXPECT_EQ(r.tracks[2].displayLine, "012) Intro     (1h:05s)    [ HI-SP 256kbps ]");
    EXPECT_EQ(r.tracks[1].groupName, "Live");
    EXPECT_EQ(r.tracks[1].artist, "Band");
    EXPECT_EQ(r.tracks[1].album, "Tour");
    EXPECT_EQ(r.tracks[1].title, "Song");
    EXPECT_EQ(r.tracks[1].bitrate, 132000);
    EXPECT_FLOAT_EQ(r.tracks[1].length, 8052 * 384 * 8 / 132000.0f);
    EXPECT_EQ(r.tracks[2].groupName, "");
    EXPECT_TRUE(r.discTitles.empty());
}

}  // namespace
