#include "listing/compare_tracks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "support/program_state.h"

namespace {

using CompareRecordsTest = ProgramStateTest;
using CompareTracksTest = ProgramStateTest;

struct Fields {
    const char* artist = "";
    const char* album = "";
    const char* title = "";
    const char* group = "";
    uint32_t number = 0;
    uint32_t groupNumber = 0;
    float length = 0;
    float groupLength = 0;
    uint32_t bitrate = 0;
    RecordingTime recorded = NO_RECORDING_TIME;
};

TrackRecord MakeRecord(const Fields& f) {
    TrackRecord r{};
    std::strcpy(r.artist, f.artist);
    std::strcpy(r.album, f.album);
    std::strcpy(r.title, f.title);
    std::strcpy(r.groupName, f.group);
    r.trackNumber = f.number;
    r.groupNumber = f.groupNumber;
    r.trackLength = f.length;
    r.groupLength = f.groupLength;
    r.bitrate = f.bitrate;
    r.recorded = f.recorded;
    return r;
}

int Sign(int v) { return (v > 0) - (v < 0); }

FormatSettings Levels(uint32_t mode, SortLevel l1, SortLevel l2 = {0, 0}, SortLevel l3 = {0, 0}) {
    FormatSettings s;
    SetFormatDefaults(s);
    s.listingMode = mode;
    s.sortLevels[0] = l1;
    s.sortLevels[1] = l2;
    s.sortLevels[2] = l3;
    return s;
}

struct CompareRow {
    const char* name;
    FormatSettings settings;
    Fields a, b;
    int expected;  // sign of CompareRecords(a, b)
};

const float NaN = std::numeric_limits<float>::quiet_NaN();

TEST_F(CompareRecordsTest, KeysCaseFlagsAndModes) {
    const uint32_t F = FULL_LISTING, G = GROUP_LISTING;
    const CompareRow rows[] = {
        // Text keys, ascending and descending, on each field.
        {"artist asc", Levels(F, {1, 0}), {.artist = "b"}, {.artist = "a"}, 1},
        {"album asc", Levels(F, {2, 0}), {.album = "a"}, {.album = "b"}, -1},
        {"title asc", Levels(F, {3, 0}), {.title = "ab"}, {.title = "abc"}, -1},  // shorter first
        {"artist desc", Levels(F, {4, 0}), {.artist = "b"}, {.artist = "a"}, -1},
        {"album desc", Levels(F, {5, 0}), {.album = "a"}, {.album = "b"}, 1},
        {"title desc", Levels(F, {6, 0}), {.title = "ab"}, {.title = "abc"}, 1},
        {"group name asc", Levels(F, {13, 0}), {.group = "Live"}, {.group = "Mix"}, -1},
        {"group name desc", Levels(F, {14, 0}), {.group = "Live"}, {.group = "Mix"}, 1},
        {"group name asc, also in group mode", Levels(G, {13, 0}), {.group = "Live"}, {.group = "Mix"}, -1},
        // Folding: only A-Z, compared as unsigned bytes.
        {"'_x' before 'Apple' folded", Levels(F, {1, 0}), {.artist = "_x"}, {.artist = "Apple"}, -1},
        {"'Apple' before '_x' case-sensitive", Levels(F, {1, 1}), {.artist = "_x"}, {.artist = "Apple"}, 1},
        {"'abba' equals 'ABBA' folded, level 2 decides",
         Levels(F, {1, 0}, {3, 0}),
         {.artist = "abba", .title = "b"},
         {.artist = "ABBA", .title = "a"},
         1},
        {"'ABBA' before 'abba' case-sensitive",
         Levels(F, {1, 1}, {3, 0}),
         {.artist = "abba", .title = "a"},
         {.artist = "ABBA", .title = "b"},
         1},
        {"any non-zero flag is case-sensitive", Levels(F, {1, 7}), {.artist = "abba"}, {.artist = "ABBA"}, 1},
        {"'Z' folds above '['", Levels(F, {1, 0}), {.artist = "Z"}, {.artist = "["}, 1},
        {"'Z' below '[' unfolded", Levels(F, {1, 1}), {.artist = "Z"}, {.artist = "["}, -1},
        {"0x80 after ASCII folded", Levels(F, {3, 0}), {.title = "\x80"}, {.title = "z"}, 1},
        {"0x80 after ASCII unfolded", Levels(F, {3, 1}), {.title = "\x80"}, {.title = "~"}, 1},
        {"0xC4 not folded to 0xE4", Levels(F, {3, 0}), {.title = "\xC4"}, {.title = "\xE4"}, -1},
        {"all text levels equal", Levels(F, {1, 0}, {2, 0}, {3, 0}), {.artist = "A"}, {.artist = "a"}, 0},
        // Keys 7 to 10 switch fields with the listing mode.
        {"number asc full",
         Levels(F, {7, 0}),
         {.number = 2, .groupNumber = 1},
         {.number = 1, .groupNumber = 2},
         1},
        {"number asc group",
         Levels(G, {7, 0}),
         {.number = 2, .groupNumber = 1},
         {.number = 1, .groupNumber = 2},
         -1},
        {"number desc full", Levels(F, {8, 0}), {.number = 2}, {.number = 1}, -1},
        {"number desc group", Levels(G, {8, 0}), {.groupNumber = 2}, {.groupNumber = 1}, -1},
        {"numbers are unsigned", Levels(F, {7, 0}), {.number = 0x80000000u}, {.number = 1}, 1},
        {"length asc full",
         Levels(F, {9, 0}),
         {.length = 2, .groupLength = 1},
         {.length = 1, .groupLength = 2},
         1},
        {"length asc group",
         Levels(G, {9, 0}),
         {.length = 2, .groupLength = 1},
         {.length = 1, .groupLength = 2},
         -1},
        {"length desc full", Levels(F, {10, 0}), {.length = 2}, {.length = 1}, -1},
        {"length desc group", Levels(G, {10, 0}), {.groupLength = 3725.4f}, {.groupLength = 42}, -1},
        {"bitrate asc", Levels(F, {11, 0}), {.bitrate = 48000}, {.bitrate = 1411200}, -1},
        {"bitrate desc", Levels(G, {12, 0}), {.bitrate = 48000}, {.bitrate = 1411200}, 1},
        // A numeric level ends the comparison, equal or not.
        {"equal numeric level ends it",
         Levels(F, {11, 0}, {3, 0}),
         {.title = "b", .bitrate = 1},
         {.title = "a", .bitrate = 1},
         0},
        {"text level equal, numeric decides",
         Levels(F, {3, 0}, {7, 0}, {1, 0}),
         {.artist = "a", .title = "X", .number = 1},
         {.artist = "b", .title = "x", .number = 2},
         -1},
        // Damaged lengths still order consistently: NaN after every number.
        {"NaN after numbers", Levels(F, {9, 0}), {.length = NaN}, {.length = 1e30f}, 1},
        {"NaN equals NaN",
         Levels(F, {9, 0}, {3, 0}),
         {.title = "b", .length = NaN},
         {.title = "a", .length = NaN},
         0},
        {"NaN first when descending", Levels(G, {10, 0}), {.groupLength = NaN}, {.groupLength = 0}, -1},
        // Recording times (date word high, time word low): none is the
        // earliest, and equal times hand over to the next level.
        {"recorded asc", Levels(F, {15, 0}), {.recorded = 0x492DB977}, {.recorded = 0x492DB98F}, -1},
        {"recorded desc", Levels(F, {16, 0}), {.recorded = 0x492DB977}, {.recorded = 0x492DB98F}, 1},
        {"none first", Levels(F, {15, 0}), {}, {.recorded = 0x00210000}, -1},
        {"equal: next level decides", Levels(F, {15, 0}, {3, 0}), {.title = "b", .recorded = 7},
         {.title = "a", .recorded = 7}, 1},
        {"both none: next level decides", Levels(F, {16, 0}, {7, 0}), {.number = 1}, {.number = 2}, -1},
        // An unknown key code is passed over.
        {"unknown key skipped", Levels(F, {99, 0}, {3, 0}), {.title = "b"}, {.title = "a"}, 1},
    };
    for (const CompareRow& row : rows) {
        SCOPED_TRACE(row.name);
        const TrackRecord a = MakeRecord(row.a), b = MakeRecord(row.b);
        EXPECT_EQ(Sign(CompareRecords(a, b, row.settings)), row.expected);
        EXPECT_EQ(Sign(CompareRecords(b, a, row.settings)), -row.expected);
    }
}

TEST_F(CompareTracksTest, ReadsTheCatalogueAndTheGlobalSettings) {
    ClearCatalogue();
    float l1 = 10, l2 = 20;
    AppendTrack({"", "", "", "Zulu", 2, &l1, 132000, ""});
    AppendTrack({"", "", "", "alpha", 1, &l2, 132000, ""});
    SetFormatDefaults(gFormatSettings);
    EXPECT_GT(CompareTracks("ignored", "texts", 0, 1), 0);  // track number 2 after 1
    gFormatSettings.sortLevels[0] = {SORT_TITLE_ASC, 0};
    EXPECT_GT(CompareTracks("", "", 0, 1), 0);  // 'zulu' after 'alpha'
    gFormatSettings.sortLevels[0] = {SORT_TITLE_ASC, 1};
    EXPECT_LT(CompareTracks("", "", 0, 1), 0);  // 'Z' before 'a'
    SetFormatDefaults(gFormatSettings);
}

SortLevel RandomLevel(std::mt19937& rng) {
    const uint32_t key = 1 + uint32_t(rng() % SORT_RECORDED_DESC);
    return {key, uint32_t(rng() % 2)};
}

// The fast re-order relies on a strict weak ordering: antisymmetric and
// transitive, including equality, for every key, flag and mode.
TEST_F(CompareRecordsTest, IsAConsistentOrdering) {
    const char* texts[] = {"", "a", "A", "_x", "Apple", "ab", "\x80", "\xE9", "b"};
    const float lengths[] = {0.0f, 1.0f, 1.0f, NaN, 42.7f, -0.0f};
    std::mt19937 rng(7);
    std::vector<TrackRecord> records;
    for (int i = 0; i < 24; ++i) {
        Fields f;
        f.artist = texts[rng() % 9];
        f.album = texts[rng() % 9];
        f.title = texts[rng() % 9];
        f.group = texts[rng() % 9];
        f.number = rng() % 3;
        f.groupNumber = rng() % 3;
        f.length = lengths[rng() % 6];
        f.groupLength = lengths[rng() % 6];
        f.bitrate = rng() % 2 ? 48000 : 132000;
        f.recorded = rng() % 3 ? NO_RECORDING_TIME : 0x492DB977 + rng() % 2;
        records.push_back(MakeRecord(f));
    }
    for (int round = 0; round < 60; ++round) {
        const FormatSettings s = Levels(round % 2 ? GROUP_LISTING : FULL_LISTING, RandomLevel(rng),
                                        RandomLevel(rng), RandomLevel(rng));
        for (const TrackRecord& a : records)
            for (const TrackRecord& b : records) {
                const int ab = Sign(CompareRecords(a, b, s));
                ASSERT_EQ(ab, -Sign(CompareRecords(b, a, s)));
                for (const TrackRecord& c : records) {
                    const int bc = Sign(CompareRecords(b, c, s));
                    if (ab == bc) {
                        ASSERT_EQ(Sign(CompareRecords(a, c, s)), ab) << round;
                    }
                }
            }
    }
}

}  // namespace
