#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "index/scan_walk.h"
#include "tools/lib/index_image/index_image_builder.h"
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
    b.AddTrack({.slot = 6,
                .title = "Song",
                .artist = "Band",
                .album = "Tour",
                .trackNumber = 7,
                .codecId = CODEC_LP2,
                .timing = {{0, 191, 0, 29}}});
    b.AddTrack({.slot = 11,
                .title = "Intro",
                .trackNumber = 12,
                .codecId = CODEC_HI_SP,
                .timing = {{0, 7753, 0, 0}}});
    const WalkRecorder r = Walk(b.Build());
    ASSERT_EQ(r.tracks.size(), 3u);
    EXPECT_EQ(Slots(r), (std::vector<uint32_t>{4, 6, 11}));
    EXPECT_EQ(r.tracks[0].displayLine, "UNTITLED TRACK 5     (30s)    [ HI-LP 48kbps ]");
    EXPECT_EQ(r.tracks[1].displayLine,
              "007)  {Live}     Band \\ Tour \\ Song     (3m:07s)    [ LP2 132kbps ]");
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

std::vector<uint32_t> Numbers(const WalkRecorder& r) {
    std::vector<uint32_t> out;
    for (const ReportedTrack& t : r.tracks) out.push_back(t.trackNumber);
    return out;
}

std::vector<std::string> Lines(const WalkRecorder& r) {
    std::vector<std::string> out;
    for (const ReportedTrack& t : r.tracks) out.push_back(t.displayLine);
    return out;
}

// One LP2 frame: length 0.02 s, shown as (00s).
const std::vector<TimingSpan> ONE_FRAME = {{0, 0, 0, 0}};
const char* const SHORT_TAIL = "     (00s)    [ LP2 132kbps ]";

std::string Line(const std::string& head) { return head + SHORT_TAIL; }

TEST(WalkTrackIndex, WithoutPlayOrderCountsNonEmptySlots) {
    IndexImageBuilder b;
    b.AddTrack({.slot = 0, .timing = ONE_FRAME});
    b.AddTrack({.slot = 2, .timing = ONE_FRAME});
    b.AddTrack({.slot = 4, .timing = ONE_FRAME});
    b.AddTrack({.slot = 5, .title = "beyond the count", .timing = ONE_FRAME});
    b.SetTrackCount(3);
    const std::vector<uint8_t> image = b.Build();
    const WalkRecorder r = Walk(image);
    // The count made beforehand is the walk's.
    EXPECT_EQ(CountWalkedTracks(TrackIndexFile{image.data(), image.size()}), r.tracks.size());
    EXPECT_EQ(Slots(r), (std::vector<uint32_t>{0, 2, 4}));
    EXPECT_EQ(Lines(r), (std::vector<std::string>{Line("UNTITLED TRACK 1"), Line("UNTITLED TRACK 3"),
                                                  Line("UNTITLED TRACK 5")}));
}

// A track count above the number of entries must not make the walk read on
// through the timing and string cells and report them as tracks.
TEST(WalkTrackIndex, NeverReadsPastTheTrackTable) {
    IndexImageBuilder b;
    b.SetDiscTitle("Disc");
    b.AddTrack({.slot = 0, .title = "one", .timing = ONE_FRAME});
    b.AddTrack({.slot = 2046, .title = "last slot", .trackNumber = 2, .timing = ONE_FRAME});
    for (size_t at = 0x30000; at < 0x30100; ++at)
        b.PokeByte(at, 0x11);  // timing cells where slot 2047 would be
    b.SetTrackCount(0xFFFF);
    const std::vector<uint8_t> image = b.Build();
    const WalkRecorder r = Walk(image);
    // The count made beforehand is the walk's.
    EXPECT_EQ(CountWalkedTracks(TrackIndexFile{image.data(), image.size()}), r.tracks.size());
    EXPECT_EQ(Slots(r), (std::vector<uint32_t>{0, 2046}));
}

TEST(WalkTrackIndex, DiscTitle) {
    struct Row {
        const char* name;
        bool hasCell;
        std::string text;
    };
    const Row rows[] = {
        {"no disc title cell", false, ""},
        {"title cell with empty text", true, ""},
        {"long title is cut to 511 characters", true, std::string(700, 'D')},
        {"title", true, "My Disc"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        if (row.hasCell) b.SetDiscTitle(row.text);
        const WalkRecorder r = Walk(b.Build());
        if (!row.hasCell) {
            EXPECT_TRUE(r.discTitles.empty());
            continue;
        }
        ASSERT_EQ(r.discTitles.size(), 1u);
        EXPECT_EQ(r.discTitles[0], row.text.substr(0, 511));
    }
}

TEST(WalkTrackIndex, LinePieces) {
    struct Row {
        const char* name;
        TrackDescription track;
        std::vector<GroupDescription> groups;
        std::string line;
        std::string groupName;
    };
    const Row rows[] = {
        {"only an artist",
         {.artist = "Band", .trackNumber = 3, .timing = ONE_FRAME},
         {},
         Line("003) Band \\ "),
         ""},
        {"only an album",
         {.album = "Tour", .trackNumber = 3, .timing = ONE_FRAME},
         {},
         Line("003) Tour \\ "),
         ""},
        {"track number 1234",
         {.title = "T", .trackNumber = 1234, .timing = ONE_FRAME},
         {},
         Line("1234) T"),
         ""},
        {"untitled group: no braces",
         {.title = "T", .trackNumber = 2, .timing = ONE_FRAME},
         {{1, 5, ""}},
         Line("002) T"),
         ""},
        // Shown, not untitled: hiding it would hide the album.
        {"album only, in an untitled group",
         {.album = "Tour", .trackNumber = 2, .timing = ONE_FRAME},
         {{1, 5, ""}},
         Line("002) Tour \\ "),
         ""},
        {"no texts, in a titled group",
         {.trackNumber = 2, .timing = ONE_FRAME},
         {{1, 5, "G"}},
         Line("002)  {G}     "),
         "G"},
        {"no texts, in an untitled group",
         {.slot = 6, .trackNumber = 2, .timing = ONE_FRAME},
         {{1, 5, ""}},
         Line("UNTITLED TRACK 7"),
         ""},
        {"hours and seconds, no minutes",
         {.title = "T", .trackNumber = 1, .codecId = CODEC_PCM, .timing = {{0, 38912, 0, 0}}},
         {},
         "001) T     (1h:00s)    [ PCM 1411kbps ]",
         ""},
        {"hours, minutes and seconds",
         {.title = "T", .trackNumber = 1, .codecId = CODEC_PCM, .timing = {{0, 40198, 0, 0}}},
         {},
         "001) T     (1h:1m:59s)    [ PCM 1411kbps ]",
         ""},
        {"unknown codec",
         {.title = "T", .trackNumber = 1, .codecId = 0x2808, .family = 0x80, .timing = ONE_FRAME},
         {},
         "001) T     (00s)    [ UNKNOWN ATRAC ]",
         ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        for (const GroupDescription& g : row.groups) b.AddGroup(g);
        b.AddTrack(row.track);
        const WalkRecorder r = Walk(b.Build());
        ASSERT_EQ(r.tracks.size(), 1u);
        EXPECT_EQ(r.tracks[0].displayLine, row.line);
        EXPECT_EQ(r.tracks[0].groupName, row.groupName);
    }
}

TEST(WalkTrackIndex, EmptyTextsWithCellsAreNotUntitled) {
    IndexImageBuilder b;
    b.AddTrack({.slot = 0, .trackNumber = 9, .timing = ONE_FRAME});
    b.PokeBe16(IndexImageBuilder::EntryOffset(0) + 8, b.AddText(""));
    const WalkRecorder r = Walk(b.Build());
    ASSERT_EQ(r.tracks.size(), 1u);
    EXPECT_EQ(r.tracks[0].displayLine, Line("009) "));
}

// Four texts of 127 characters and a group name make more than 511
// characters: the texts are cut, the length and mode always show.
TEST(WalkTrackIndex, LongTextsAreCutBeforeTheLengthAndMode) {
    IndexImageBuilder b;
    const std::string t(200, 't');
    b.AddGroup({1, 1, std::string(200, 'g')});
    b.AddTrack({.slot = 0,
                .title = t,
                .artist = std::string(200, 'a'),
                .album = std::string(200, 'b'),
                .trackNumber = 1,
                .timing = ONE_FRAME});
    const WalkRecorder r = Walk(b.Build());
    ASSERT_EQ(r.tracks.size(), 1u);
    const ReportedTrack& track = r.tracks[0];
    EXPECT_EQ(track.title, t.substr(0, 127));
    EXPECT_EQ(track.groupName, std::string(127, 'g'));
    EXPECT_EQ(track.displayLine.size(), 511u);
    const std::string head = "001)  {" + std::string(127, 'g') + "}     " + std::string(127, 'a') + " \\ " +
                             std::string(127, 'b') + " \\ " + std::string(127, 't');
    EXPECT_EQ(track.displayLine, head.substr(0, 511 - std::string(SHORT_TAIL).size()) + SHORT_TAIL);
}

// Recorders keep moved and deleted tracks' entries where they were; the play
// order says which slots hold tracks and what number each shows. Reading the
// entries alone showed deleted tracks and the numbers from before the move.
TEST(WalkTrackIndex, PlayOrderNamesTracksAndNumbers) {
    IndexImageBuilder b;
    b.AddGroup({2, 3, "Moved here"});
    // Entry track numbers are their first timing cells, not their numbers.
    b.AddTrack({.slot = 0, .title = "first", .trackNumber = 1, .timing = ONE_FRAME});
    b.AddTrack({.slot = 1, .title = "moved to the end", .trackNumber = 2, .timing = {{0, 10, 0, 0}}});
    b.AddTrack({.slot = 2, .title = "second", .trackNumber = 3, .timing = ONE_FRAME});
    b.AddTrack({.slot = 3, .title = "deleted", .trackNumber = 4, .timing = ONE_FRAME});
    b.AddTrack({.slot = 4, .trackNumber = 5, .timing = ONE_FRAME});  // untitled, position 3
    b.AddTrack({.slot = 9, .trackNumber = 6, .timing = ONE_FRAME});  // untitled, position 5
    b.PokeBe16(IndexImageBuilder::EntryOffset(9), 0);                // and its first bytes zero
    b.SetPlayOrder({1, 3, 5, 2, 10});
    const std::vector<uint8_t> image = b.Build();
    const WalkRecorder r = Walk(image);
    // The count made beforehand is the walk's.
    EXPECT_EQ(CountWalkedTracks(TrackIndexFile{image.data(), image.size()}), r.tracks.size());
    EXPECT_EQ(Slots(r), (std::vector<uint32_t>{0, 1, 2, 4, 9}));
    EXPECT_EQ(Numbers(r), (std::vector<uint32_t>{1, 4, 2, 3, 5}));
    EXPECT_EQ(Lines(r), (std::vector<std::string>{
                            Line("001) first"),
                            "004) moved to the end     (10s)    [ LP2 132kbps ]",
                            Line("002)  {Moved here}     second"),
                            Line("003)  {Moved here}     "),
                            Line("UNTITLED TRACK 5"),
                        }));
}

TEST(WalkTrackIndex, PlayOrderWithoutValidEntriesFallsBackToTheEntries) {
    IndexImageBuilder b;
    b.AddTrack({.slot = 1, .title = "a", .trackNumber = 7, .timing = ONE_FRAME});
    b.AddTrack({.slot = 3, .title = "b", .trackNumber = 8, .timing = ONE_FRAME});
    b.SetPlayOrder({0, 0xFFFF});
    const std::vector<uint8_t> image = b.Build();
    const WalkRecorder r = Walk(image);
    // The count made beforehand is the walk's.
    EXPECT_EQ(CountWalkedTracks(TrackIndexFile{image.data(), image.size()}), r.tracks.size());
    EXPECT_EQ(Slots(r), (std::vector<uint32_t>{1, 3}));
    EXPECT_EQ(Numbers(r), (std::vector<uint32_t>{7, 8}));
}

class StopAfter : public WalkRecorder {
public:
    StopAfter(std::atomic<int32_t>& stop, size_t tracks) : stop_(stop), tracks_(tracks) {}
    void OnDiscTitle(const char* title) override {
        WalkRecorder::OnDiscTitle(title);
        if (tracks_ == 0) stop_ = 1;
    }
    void OnTrackFound(uint32_t slot, const TrackReport& r) override {
        WalkRecorder::OnTrackFound(slot, r);
        if (tracks.size() == tracks_) stop_ = 1;
    }

private:
    std::atomic<int32_t>& stop_;
    size_t tracks_;
};

TEST(WalkTrackIndex, StopFlagEndsTheWalk) {
    for (bool hasPlayOrder : {false, true}) {
        SCOPED_TRACE(hasPlayOrder ? "play order" : "entries");
        IndexImageBuilder b;
        b.SetDiscTitle("Disc");
        for (uint32_t slot = 0; slot < 5; ++slot) b.AddTrack({.slot = slot, .timing = ONE_FRAME});
        if (hasPlayOrder) b.SetPlayOrder({1, 2, 3, 4, 5});
        const std::vector<uint8_t> image = b.Build();
        for (size_t after : {0, 2}) {
            std::atomic<int32_t> stop{0};
            StopAfter sink(stop, after);
            WalkTrackIndex(TrackIndexFile{image.data(), image.size()}, stop, sink);
            EXPECT_EQ(sink.discTitles.size(), 1u);
            EXPECT_EQ(sink.tracks.size(), after);
        }
    }
}

}  // namespace
