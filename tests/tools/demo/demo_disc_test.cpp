#include "tools/shipped/demo/demo_disc.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

#include "index/scan_walk.h"
#include "tools/shipped/list/list_core.h"

namespace fs = std::filesystem;

namespace {

struct Track {
    uint32_t slot, number;
    std::string line, title;
    int32_t bitrate;
};

class Collect : public ScanSink {
public:
    void OnDiscTitle(const char* t) override { title = t; }
    void OnTrackFound(uint32_t slot, const TrackReport& r) override {
        tracks.push_back({slot, r.trackNumber, r.displayLine, r.title, r.bitrate});
    }
    std::string title;
    std::vector<Track> tracks;
};

Collect WalkImage(const std::vector<uint8_t>& image) {
    Collect c;
    std::atomic<int32_t> stop{0};
    WalkTrackIndex(TrackIndexFile{image.data(), image.size()}, stop, c);
    return c;
}

// The demo must show what the listing has to cope with; if an edit of the
// demo loses one of these, this test says which.
TEST(DemoDisc, CurrentGenerationShowsEveryCase) {
    const Collect disc = WalkImage(BuildDemoIndex(DemoGeneration::CURRENT));
    EXPECT_EQ(disc.title, "Tavolin Demo Disc: Caf\u00E9, Harbour & Se\u00F1oritas");
    ASSERT_EQ(disc.tracks.size(), 36u);

    std::set<uint32_t> numbers, slots;
    std::set<std::string> modes;
    int untitled = 0;
    bool hasLongTitle = false, hasHours = false;
    for (const Track& t : disc.tracks) {
        numbers.insert(t.number);
        slots.insert(t.slot);
        modes.insert(t.line.substr(t.line.rfind("[ ")));
        untitled += t.line.rfind("UNTITLED TRACK ", 0) == 0;
        hasLongTitle |= t.title.size() > 13;
        hasHours |= t.line.find("h:") != std::string::npos;
    }
    EXPECT_EQ(numbers.size(), 36u);
    EXPECT_EQ(*numbers.begin(), 1u);
    EXPECT_EQ(*numbers.rbegin(), 36u);
    EXPECT_EQ(slots.count(12), 0u) << "the deleted track's slot is not listed";
    EXPECT_EQ(disc.tracks.back().slot, 36u);
    EXPECT_EQ(disc.tracks.back().number, 5u) << "the moved track shows its play position";
    EXPECT_EQ(modes, (std::set<std::string>{"[ LP4 66kbps ]", "[ LP2 105kbps ]", "[ LP2 132kbps ]",
                                            "[ PCM 1411kbps ]", "[ HI-LP 48kbps ]", "[ HI-LP 64kbps ]",
                                            "[ HI-SP 256kbps ]", "[ UNKNOWN ATRAC ]"}));
    EXPECT_EQ(untitled, 3);
    EXPECT_TRUE(hasLongTitle);
    EXPECT_TRUE(hasHours);
    // One title of each encoding and script, decoded to UTF-8.
    std::set<std::string> titles;
    for (const Track& t : disc.tracks) titles.insert(t.title);
    for (const char* title : {
             "Cr\u00E8me br\u00FBl\u00E9e",                           // UTF-16, Latin
             "\u591C\u660E\u3051\u306E\u3046\u305F",                    // Shift-JIS
             "\uFF7B\uFF78\uFF97 \uFF7B\uFF78\uFF97",                    // Shift-JIS single-byte katakana
             "\u96E8\u4E0A\u304C\u308A\u306E\u8857 \uFF5E 2026",        // code page 932's tilde
             "Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144",  // UTF-16, Polish
             "\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 \U0001F3B5",   // UTF-16, Greek and a surrogate pair
             "Drei M\u00FCnzen \u2013 3 \u20AC",                        // Windows-1252
         }) {
        EXPECT_EQ(titles.count(title), 1u) << title;
    }
    EXPECT_EQ(disc.tracks[0].line,
              "001)  {Caf\u00E9 Nocturne}     Les \u00C9toiles Filantes \\ Caf\u00E9 Nocturne \\ "
              "Pr\u00E9lude \u00E0 la nuit"
              "     (3m:12s)    [ LP2 132kbps ]");
}

TEST(DemoDisc, RecorderFolderOffersTheCurrentGenerationAsNewest) {
    std::random_device random;
    const fs::path root = fs::temp_directory_path() / ("tavolin-demo-test-" + std::to_string(random()));
    std::string error;
    ASSERT_TRUE(WriteDemoRecorder(root, error)) << error;
    EXPECT_TRUE(fs::exists(root / "HMDHIFI" / "_MDHIFI.HMA"));
    fs::path index;
    ASSERT_TRUE(ResolveIndexPath(root, index, error)) << error;
    EXPECT_EQ(index.filename().string(), "TRKIDX01.HMA");
    std::ifstream in(index, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes, BuildDemoIndex(DemoGeneration::CURRENT));
    // The older generations are different discs, so a wrong pick shows.
    EXPECT_NE(WalkImage(BuildDemoIndex(DemoGeneration::DRAFT)).title, WalkImage(bytes).title);
    in.close();
    fs::remove_all(root);
}

// Another disc for a catalogue: the title as given in any script, the same
// tracks, no disc list (its key is its index's hash). A UTF-8 title once
// went in as Latin-1 bytes and read back as mojibake.
TEST(DemoDisc, OtherTitlesInAnyScriptWithoutIdentity) {
    const Collect demo = WalkImage(BuildDemoIndex(DemoGeneration::CURRENT));
    const struct {
        const char* name;
        const char* title;
    } rows[] = {
        {"ASCII", "Demo Copy for the Car"},
        {"Latin accents", "\xC3\x89t\xC3\xA9 \xC3\xA0 Z\xC3\xBCrich"},
        {"Japanese and Greek", "\xE5\xA4\x9C\xE3\x81\xAE\xE6\x97\x85 / \xCE\xA4\xCE\xB1\xCE\xBE\xCE\xAF\xCE\xB4\xCE\xB9"},
        {"beyond the BMP", "Disc \xF0\x9F\x8E\xB5"},
    };
    std::random_device random;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Collect copy = WalkImage(BuildDemoIndex(DemoGeneration::CURRENT, row.title));
        EXPECT_EQ(copy.title, row.title);
        ASSERT_EQ(copy.tracks.size(), demo.tracks.size());
        for (size_t i = 0; i < demo.tracks.size(); ++i) EXPECT_EQ(copy.tracks[i].title, demo.tracks[i].title);
        const fs::path root = fs::temp_directory_path() / ("tavolin-demo-title-" + std::to_string(random()));
        std::string error;
        ASSERT_TRUE(WriteDemoRecorder(root, error, row.title)) << error;
        EXPECT_FALSE(fs::exists(root / "HMDHIFI" / "MCLIST01.HMA"));
        fs::remove_all(root);
    }
}

}  // namespace
