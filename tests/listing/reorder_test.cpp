#include "listing/reorder.h"

#include <gtest/gtest.h>

#include <random>

#include "listing/listing_builder.h"
#include "support/program_state.h"
#include "tools/lib/listing_reference/listing_reference.h"

namespace {

using ComputeReorderTest = ProgramStateTest;

TEST_F(ComputeReorderTest, EmptyAndSingleLine) {
    SetFormatDefaults(gFormatSettings);
    EXPECT_TRUE(FastReorder({}).empty());
    ClearCatalogue();
    float length = 1;
    AppendTrack({"only", "", "", "", 1, &length, 0, ""});
    const std::vector<RefLine> one = {{"only", 0}};
    EXPECT_EQ(FastReorder(one), one);
}

TEST_F(ComputeReorderTest, EqualLinesComeOutReversedEachTime) {
    ClearCatalogue();
    float length = 1;
    const uint32_t rates[] = {132000, 48000, 132000, 48000, 132000};
    for (uint32_t i = 0; i < 5; ++i) AppendTrack({"", "", "", "", 5 - i, &length, int32_t(rates[i]), ""});
    SetFormatDefaults(gFormatSettings);
    gFormatSettings.sortLevels[0] = {SORT_BITRATE_ASC, 0};
    gFormatSettings.sortLevels[1] = {SORT_NUMBER_ASC, 0};  // never consulted
    std::vector<RefLine> lines = FullListingLines(gCatalogue);
    lines = FastReorder(lines);
    std::vector<intptr_t> items;
    for (const RefLine& l : lines) items.push_back(l.itemData);
    EXPECT_EQ(items, (std::vector<intptr_t>{3, 1, 4, 2, 0}));
    lines = FastReorder(lines);
    items.clear();
    for (const RefLine& l : lines) items.push_back(l.itemData);
    EXPECT_EQ(items, (std::vector<intptr_t>{1, 3, 0, 2, 4}));
    SetFormatDefaults(gFormatSettings);
}

// The fast order against one-by-one insertion, on random catalogues full of
// ties (repeated texts differing in case, equal lengths and rates), for every
// key on level 1 with random further levels and case flags, in both modes,
// over three successive re-orders of the same list.
TEST_F(ComputeReorderTest, MatchesInsertionOnRandomCatalogues) {
    std::mt19937 rng(2024);
    int checked = 0;
    for (uint32_t seed = 1; seed <= 6; ++seed) {
        RandomCatalogueOptions options;
        options.groupCount = 12;
        options.distinctFirstNumbers = seed % 2 == 0;
        FillRandomCatalogue(seed, 150 + seed * 20, options);
        for (ListingMode mode : {FULL_LISTING, GROUP_LISTING}) {
            SetFormatDefaults(gFormatSettings);
            gFormatSettings.listingMode = mode;
            const std::vector<RefLine> built = ComposedLines(mode);
            for (uint32_t key = 1; key <= 14; ++key) {
                gFormatSettings.sortLevels[0] = {key, uint32_t(rng() % 2)};
                gFormatSettings.sortLevels[1] = {1 + uint32_t(rng() % 14), uint32_t(rng() % 2)};
                gFormatSettings.sortLevels[2] = {1 + uint32_t(rng() % 14), uint32_t(rng() % 2)};
                SCOPED_TRACE(testing::Message() << "seed " << seed << " mode " << mode << " key " << key);
                std::vector<RefLine> fast = built, slow = built;
                for (int pass = 0; pass < 3; ++pass) {
                    fast = FastReorder(fast);
                    slow = ReferenceReorder(slow, CompareTracks);
                    ASSERT_EQ(fast, slow) << "pass " << pass;
                    ++checked;
                }
            }
        }
    }
    EXPECT_EQ(checked, 6 * 2 * 14 * 3);
    SetFormatDefaults(gFormatSettings);
}

}  // namespace
