#include "settings/format_settings.h"
#include "text/fields.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/field_compare.h"

namespace {

TEST(FormatSettings, StartUpDefaults) {
    FormatSettings s;
    std::memset(&s, 0xAB, sizeof s);
    SetFormatDefaults(s);
    EXPECT_EQ(s.listingMode, FULL_LISTING);
    const uint32_t keys[3] = {7, 9, 11};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(s.sortLevels[i].key, keys[i]);
        EXPECT_EQ(s.sortLevels[i].caseSensitive, 0u);
    }
    EXPECT_EQ(s.roundLengths, 1u);
    for (const FormatTable* table : {&s.fullFormat, &s.groupFormat}) {
        for (size_t k = 0; k < FORMAT_SLOT_COUNT; ++k) {
            SCOPED_TRACE(k);
            const FormatSlot& slot = table->slots[k];
            EXPECT_STREQ(slot.token, "<None>");
            EXPECT_STREQ(slot.param, "1");
            // A fresh table is zero after the terminators (it is stored whole).
            for (size_t b = 7; b < FORMAT_FIELD_SIZE; ++b) ASSERT_EQ(slot.token[b], 0);
            for (size_t b = 2; b < FORMAT_FIELD_SIZE; ++b) ASSERT_EQ(slot.param[b], 0);
        }
    }
}

TEST(FormatSettings, TheProgramWideRecordStartsWithTheDefaults) {
    FormatSettings expected;
    SetFormatDefaults(expected);
    EXPECT_TRUE(SameFormatSettings(gFormatSettings, expected));
}

// A difference anywhere in the image, a byte after a terminator included,
// fails the comparison and is named by its field.
TEST(FormatSettings, AComparisonNamesTheFieldThatDiffers) {
    FormatSettings want;
    SetFormatDefaults(want);
    const struct {
        const char* name;
        void (*change)(FormatSettings&);
    } rows[] = {
        {"listingMode", [](FormatSettings& s) { s.listingMode = GROUP_LISTING; }},
        {"sortLevels[1].caseSensitive", [](FormatSettings& s) { s.sortLevels[1].caseSensitive = 1; }},
        {"fullFormat slot 0 token", [](FormatSettings& s) { s.fullFormat.slots[0].token[1] = 'n'; }},
        {"groupFormat slot 39 param", [](FormatSettings& s) { s.groupFormat.slots[39].param[31] = 'x'; }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        FormatSettings got = want;
        row.change(got);
        const testing::AssertionResult result = SameFormatSettings(got, want);
        EXPECT_FALSE(result);
        EXPECT_NE(std::string(result.message()).find(row.name), std::string::npos) << result.message();
    }
    EXPECT_TRUE(SameFormatSettings(want, want));
}

TEST(FormatSettings, ActiveTableFollowsTheListingMode) {
    FormatSettings s;
    SetFormatDefaults(s);
    EXPECT_EQ(&ActiveFormatTable(s), &s.fullFormat);
    s.listingMode = GROUP_LISTING;
    EXPECT_EQ(&ActiveFormatTable(s), &s.groupFormat);
}

TEST(StoreFieldText, KeepsTheTailOfALongerTextAndCutsOverlongText) {
    FormatSlot slot{};
    EXPECT_EQ(StoreFieldText(slot.token, sizeof slot.token, "Trk Length"), 1);
    EXPECT_EQ(StoreFieldText(slot.token, sizeof slot.token, "-"), 1);
    EXPECT_STREQ(slot.token, "-");
    EXPECT_TRUE(SameFieldBytes(slot.token, "-\0k Length", 11));

    // 40 characters: cut to 31 and terminated inside the field; the param
    // field right after it is untouched.
    std::memset(slot.param, 'P', sizeof slot.param);
    EXPECT_EQ(StoreFieldText(slot.token, sizeof slot.token, "0123456789012345678901234567890123456789"), 0);
    EXPECT_EQ(std::strlen(slot.token), 31u);
    EXPECT_EQ(slot.param[0], 'P');

    // Cut on a character boundary: 30 letters and a two-byte character.
    EXPECT_EQ(StoreFieldText(slot.token, sizeof slot.token, "012345678901234567890123456789\u00E9"), 0);
    EXPECT_STREQ(slot.token, "012345678901234567890123456789");
    EXPECT_EQ(StoreFieldText(slot.token, sizeof slot.token, "01234567890123456789012345678\u00E9"), 1);
    EXPECT_EQ(std::strlen(slot.token), 31u);

    // A character limit inside a run of ASCII, and one after a two-byte character.
    EXPECT_EQ(StoreFieldText(slot.token, sizeof slot.token, "0123456789abcdefghij", 11), 0);
    EXPECT_STREQ(slot.token, "0123456789a");
    EXPECT_EQ(StoreFieldText(slot.token, sizeof slot.token, "\u00E901234567890123", 9), 0);
    EXPECT_STREQ(slot.token, "\u00E901234567");

    EXPECT_EQ(StoreFieldText(slot.token, sizeof slot.token, nullptr), 1);
    EXPECT_STREQ(slot.token, "");
}

}  // namespace
