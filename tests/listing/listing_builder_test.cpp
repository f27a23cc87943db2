#include "listing/listing_builder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "support/field_compare.h"
#include "support/program_state.h"
#include "tools/lib/listing_reference/listing_reference.h"

namespace {

using ComposeListingTest = ProgramStateTest;
using FormatStatusTextTest = ProgramStateTest;
using FormatGroupLineTest = ProgramStateTest;

struct Track {
    const char* group;
    uint32_t number;
    float length;
};

void FillCatalogue(const std::vector<Track>& tracks) {
    ClearCatalogue();
    for (const Track& t : tracks) {
        std::string line = "line " + std::to_string(t.number);
        float length = t.length;
        AppendTrack({line.c_str(), "", "", "", t.number, &length, 132000, t.group});
    }
}

std::string Status(ListingMode mode, uint32_t n) {
    char text[STATUS_TEXT_SIZE];
    FormatStatusText(mode, n, text, sizeof text);
    return text;
}

TEST_F(ComposeListingTest, EmptyAndUngroupedCatalogues) {
    FillCatalogue({});
    EXPECT_TRUE(ComposedLines(FULL_LISTING).empty());
    EXPECT_TRUE(ComposedLines(GROUP_LISTING).empty());
    FillCatalogue({{"", 2, 1}, {"", 1, 2}});
    EXPECT_EQ(ComposedLines(FULL_LISTING), (std::vector<RefLine>{{"line 2", 0}, {"line 1", 1}}));
    EXPECT_TRUE(ComposedLines(GROUP_LISTING).empty());
}

TEST_F(FormatStatusTextTest, WordsPerModeAndCount) {
    EXPECT_EQ(Status(FULL_LISTING, 0), "Found no files");
    EXPECT_EQ(Status(GROUP_LISTING, 0), "Found no groups");
    EXPECT_EQ(Status(FULL_LISTING, 1), "Found 1 tracks");
    EXPECT_EQ(Status(FULL_LISTING, 2047), "Found 2047 tracks");
    EXPECT_EQ(Status(GROUP_LISTING, 12), "Found 12 groups");
}

TEST_F(FormatGroupLineTest, LengthPiecesAndWideNumbers) {
    const struct {
        uint32_t number;
        float length;
        const char* expected;
    } rows[] = {
        {3, 3725.4f, "003) Live       (1h:2m:05s)"},
        {1, 3605.0f, "001) Live       (1h:05s)"},  // minutes left out under hours
        {1, 42.0f, "001) Live       (42s)"},
        {1, 7.0f, "001) Live       (07s)"},
        {1, 42.7f, "001) Live       (43s)"},  // always rounded
        {1000, 0.0f, "1000) Live       (00s)"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        char text[GROUP_LINE_SIZE];
        FormatGroupLine(row.number, "Live", row.length, text, sizeof text);
        EXPECT_STREQ(text, row.expected);
    }
    // The longest name with the widest number and length still fits whole.
    const std::string name(254, 'n');
    char text[GROUP_LINE_SIZE];
    FormatGroupLine(0xFFFFFFFFu, name.c_str(), 3.0e9f, text, sizeof text);
    EXPECT_EQ(std::string(text).substr(0, 12), "4294967295) ");
    EXPECT_EQ(text[std::strlen(text) - 1], ')');
}

TEST_F(ComposeListingTest, GroupsSumAcrossTheCatalogueAndNumberByFirstTrack) {
    FillCatalogue({
        {"Live", 5, 100.0f},  // 0: first of Live
        {"", 1, 1.0f},
        {"Mix", 2, 10.0f},  // 2: first of Mix
        {"Live", 6, 20.5f},
        {"live", 9, 7.0f},  // 4: letter case makes another group
        {"Mix", 3, 0.25f},
        {"Live", 7, 3605.0f},
    });
    gCatalogue.records[3].groupNumber = 77;  // other members keep what they held
    const std::vector<RefLine> lines = ComposedLines(GROUP_LISTING);
    EXPECT_EQ(lines, (std::vector<RefLine>{
                         {"001) Mix       (10s)", 2},
                         {"002) Live       (1h:2m:05s)", 0},
                         {"003) live       (07s)", 4},
                     }));
    EXPECT_EQ(gCatalogue.records[0].groupNumber, 2u);
    EXPECT_EQ(gCatalogue.records[2].groupNumber, 1u);
    EXPECT_EQ(gCatalogue.records[4].groupNumber, 3u);
    EXPECT_EQ(gCatalogue.records[0].groupLength, float(100.0 + 20.5 + 3605.0));
    EXPECT_EQ(gCatalogue.records[2].groupLength, 10.25f);
    EXPECT_EQ(gCatalogue.records[3].groupNumber, 77u);
    EXPECT_EQ(gCatalogue.records[3].groupLength, 0.0f);

    // Full Listing leaves the group fields, and a second Group Listing
    // computes the same ones again.
    std::vector<TrackRecord> before(gCatalogue.records, gCatalogue.records + gCatalogue.count);
    EXPECT_EQ(ComposedLines(FULL_LISTING).size(), 7u);
    EXPECT_EQ(ComposedLines(GROUP_LISTING), lines);
    EXPECT_TRUE(SameTrackRecords(gCatalogue.records, before.data(), before.size()));
}

// Groups whose first tracks carry a number of 0, a number above the track
// count, or the same number as another group's first track all get a line:
// ordered by number, equal numbers in catalogue order.
TEST_F(ComposeListingTest, ListsEveryGroupWhateverItsFirstTrackNumber) {
    FillCatalogue({
        {"Above", 50, 1},  // above the count of 6
        {"Zero", 0, 2},
        {"TwinA", 3, 3},
        {"TwinB", 3, 4},
        {"Plain", 2, 5},
        {"Zero", 1, 6},
    });
    const std::vector<RefLine> lines = ComposedLines(GROUP_LISTING);
    EXPECT_EQ(lines, (std::vector<RefLine>{
                         {"001) Zero       (08s)", 1},
                         {"002) Plain       (05s)", 4},
                         {"003) TwinA       (03s)", 2},
                         {"004) TwinB       (04s)", 3},
                         {"005) Above       (01s)", 0},
                     }));
}

// Where every group's first track has its own number within 1..count, the
// result equals the pairwise build with its track-number table, byte for
// byte in the lines and in every record.
TEST_F(ComposeListingTest, MatchesThePairwiseBuildWhereItsTableWorks) {
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        RandomCatalogueOptions options;
        options.groupCount = 3 + seed * 7;
        options.distinctFirstNumbers = true;
        options.textLength = seed * 20;
        FillRandomCatalogue(seed, 100 + seed * 37, options);
        std::vector<TrackRecord> copy(gCatalogue.records, gCatalogue.records + gCatalogue.count);
        TrackCatalogue reference{copy.data(), uint32_t(copy.size()), uint32_t(copy.size())};
        const std::vector<RefLine> expected = ReferenceGroupListing(reference);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(ComposedLines(GROUP_LISTING), expected);
        EXPECT_TRUE(SameTrackRecords(gCatalogue.records, copy.data(), copy.size()));
    }
}

// With numbers full of repeats and out of range, every group has one line,
// the lines stand by first-track number, then catalogue index, and are
// numbered in that order; the sums still match the pairwise build.
TEST_F(ComposeListingTest, GroupsOrderedByFirstTrackNumberOnRandomCatalogues) {
    for (uint32_t seed = 11; seed <= 16; ++seed) {
        SCOPED_TRACE(seed);
        RandomCatalogueOptions options;
        options.groupCount = 40;
        FillRandomCatalogue(seed, 300, options);
        std::vector<TrackRecord> copy(gCatalogue.records, gCatalogue.records + gCatalogue.count);
        TrackCatalogue reference{copy.data(), uint32_t(copy.size()), uint32_t(copy.size())};
        ReferenceGroupListing(reference);  // sums into copy's first tracks

        // Each group's first member in catalogue order.
        std::set<intptr_t> firsts;
        std::set<std::string> seen;
        for (uint32_t i = 0; i < copy.size(); ++i)
            if (copy[i].groupName[0] != '\0' && seen.insert(copy[i].groupName).second) firsts.insert(i);

        const std::vector<RefLine> lines = ComposedLines(GROUP_LISTING);
        ASSERT_EQ(lines.size(), firsts.size());
        for (size_t g = 0; g < lines.size(); ++g) {
            const intptr_t first = lines[g].itemData;
            EXPECT_EQ(firsts.count(first), 1u) << "line " << g;
            if (g > 0) {
                const intptr_t before = lines[g - 1].itemData;
                const uint32_t a = copy[before].trackNumber, b = copy[first].trackNumber;
                EXPECT_TRUE(a < b || (a == b && before < first)) << "lines " << g - 1 << " and " << g;
            }
            const TrackRecord& r = gCatalogue.records[first];
            char text[GROUP_LINE_SIZE];
            FormatGroupLine(uint32_t(g + 1), r.groupName, copy[first].groupLength, text, sizeof text);
            EXPECT_EQ(lines[g].text, text);
            EXPECT_EQ(r.groupNumber, g + 1);
            EXPECT_EQ(r.groupLength, copy[first].groupLength);
        }
    }
}

// The lines the track list ends with after a build and its re-order: the
// composed lines put in the order that one-by-one insertion gives, for
// random sort levels full of ties, in both modes.
TEST(ComposeSortedListing, GivesTheListAfterBuildAndReorder) {
    std::mt19937 rng(7);
    RandomCatalogueOptions options;
    options.distinctFirstNumbers = true;
    for (uint32_t seed = 1; seed <= 3; ++seed) {
        FillRandomCatalogue(seed, 150, options);
        for (ListingMode mode : {FULL_LISTING, GROUP_LISTING}) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " mode " << mode);
            SetFormatDefaults(gFormatSettings);
            gFormatSettings.listingMode = mode;
            if (seed > 1)
                for (SortLevel& level : gFormatSettings.sortLevels)
                    level = {1 + uint32_t(rng() % 14), uint32_t(rng() % 2)};
            const std::vector<RefLine> expected = ReferenceReorder(ComposedLines(mode), CompareTracks);
            ComposedListing listing;
            ASSERT_EQ(ComposeSortedListing(gCatalogue, mode, CompareTracks, listing), 1);
            std::vector<RefLine> lines;
            for (uint32_t i = 0; i < listing.count; ++i)
                lines.push_back({listing.lines[i].text, listing.lines[i].itemData});
            ReleaseListing(listing);
            EXPECT_EQ(lines, expected);
        }
    }
    SetFormatDefaults(gFormatSettings);
}

}  // namespace
