#include "settings/settings_handler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>

#include "settings/busy_flag.h"
#include "settings/format_settings.h"
#include "support/field_compare.h"

namespace {

std::string gLog;  // the refreshes run, in order, each followed by ' '

void LogClear() { gLog += "clear "; }
void LogRebuild() { gLog += "rebuild "; }
void LogReorder() { gLog += "reorder "; }
void LogPreview() { gLog += "preview "; }

constexpr uint32_t F = FULL_LISTING;
constexpr uint32_t G = GROUP_LISTING;

class SettingsHandlerTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetFormatDefaults(gFormatSettings);
        gBusy = 0;
        gLog.clear();
        SetSettingsRefreshHooks({LogClear, LogRebuild, LogReorder, LogPreview});
    }
    // The program-wide record is left as start-up has it, for tests that run later.
    void TearDown() override {
        SetFormatDefaults(gFormatSettings);
        gBusy = 0;
        SetSettingsRefreshHooks({});
    }

    static std::string Get(uint32_t id) {
        char text[OPTION_TEXT_SIZE];
        std::memset(text, '#', sizeof text);
        EXPECT_EQ(SettingsHandler(nullptr, id, text, 0), 1);
        EXPECT_NE(std::memchr(text, '\0', sizeof text), nullptr) << "answer not terminated";
        return std::string(text, strnlen(text, sizeof text));
    }
    static int Set(uint32_t id, const std::string& value) {
        char text[OPTION_TEXT_SIZE] = {};
        std::memcpy(text, value.data(), std::min(value.size(), sizeof text - 1));
        return SettingsHandler(nullptr, id, text, 1);
    }
};

TEST_F(SettingsHandlerTest, FreshSettingsAnswerTheirDefaults) {
    const struct {
        uint32_t id;
        const char* text;
    } rows[] = {
        {1, "Track Number (Ascending Order)"},
        {2, "Track Length (Ascending Order)"},
        {3, "Bitrate (Ascending Order)"},
        {4, "0"},
        {5, "0"},
        {6, "0"},
        {7, "1"},
        {100, "Full Listing"},
        {F | 10, "<None>"},
        {G | 30, "<None>"},
        {F | 40, "1"},
        {G | 60, "1"},
        // Mode bits on the settings that have none are ignored.
        {G | 1, "Track Number (Ascending Order)"},
        {F | 100, "Full Listing"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.id);
        EXPECT_EQ(Get(row.id), row.text);
    }
}

TEST_F(SettingsHandlerTest, SortKeysTakeEitherWordingAndAnswerTheModesOne) {
    const struct {
        uint32_t key;
        const char* track;
        const char* group;  // what a get answers in Group Listing
    } rows[] = {
        {1, "Artist (Ascending Order)", "Artist (Ascending Order)"},
        {2, "Album (Ascending Order)", "Album (Ascending Order)"},
        {3, "Title (Ascending Order)", "Title (Ascending Order)"},
        {4, "Artist (Decending Order)", "Artist (Decending Order)"},
        {5, "Album (Decending Order)", "Album (Decending Order)"},
        {6, "Title (Decending Order)", "Title (Decending Order)"},
        {7, "Track Number (Ascending Order)", "Group Number (Ascending Order)"},
        {8, "Track Number (Decending Order)", "Group Number (Decending Order)"},
        {9, "Track Length (Ascending Order)", "Group Length (Ascending Order)"},
        {10, "Track Length (Decending Order)", "Group Length (Decending Order)"},
        {11, "Bitrate (Ascending Order)", "Bitrate (Ascending Order)"},
        {12, "Bitrate (Decending Order)", "Bitrate (Decending Order)"},
        {13, "Group Name (Ascending Order)", "Group Name (Ascending Order)"},
        {14, "Group Name (Decending Order)", "Group Name (Decending Order)"},
        {15, "Recorded (Ascending Order)", "Recorded (Ascending Order)"},
        {16, "Recorded (Decending Order)", "Recorded (Decending Order)"},
    };
    for (const auto& row : rows) {
        for (uint32_t level = 0; level < 3; ++level) {
            SCOPED_TRACE(std::string(row.track) + " on level " + std::to_string(level + 1));
            // Full Listing, set with the group wording in other letter cases.
            gFormatSettings.listingMode = FULL_LISTING;
            std::string upper = row.group;
            for (char& c : upper) c = char(std::toupper(static_cast<unsigned char>(c)));
            gFormatSettings.sortLevels[level].key = 0;
            gLog.clear();
            EXPECT_EQ(Set(1 + level, upper), 1);
            EXPECT_EQ(gFormatSettings.sortLevels[level].key, row.key);
            EXPECT_EQ(gLog, "reorder ");
            EXPECT_EQ(Get(1 + level), row.track);

            gFormatSettings.listingMode = GROUP_LISTING;
            gFormatSettings.sortLevels[level].key = 0;
            EXPECT_EQ(Set(1 + level, row.track), 1);
            EXPECT_EQ(gFormatSettings.sortLevels[level].key, row.key);
            EXPECT_EQ(Get(1 + level), row.group);
        }
    }
}

TEST_F(SettingsHandlerTest, SortKeyTextsOutsideTheTableAreRefused) {
    const char* rows[] = {
        "Artist",                     // part of a key text
        "Artist (Ascending Order) ",  // trailing space
        " Artist (Ascending Order)",
        "Artist (Ascending Order)x",
        "Artist (Descending Order)",  // the keys are spelt "Decending"
        "",
        "Full Listing",
        "\xC1rtist (Ascending Order)",  // only A-Z fold
    };
    for (const char* text : rows) {
        SCOPED_TRACE(text);
        gLog.clear();
        EXPECT_EQ(Set(2, text), 0);
        EXPECT_EQ(gFormatSettings.sortLevels[1].key, uint32_t(SORT_LENGTH_ASC));
        EXPECT_EQ(gLog, "");
    }
}

TEST_F(SettingsHandlerTest, FlagsAreSetByALeadingOne) {
    const struct {
        const char* text;
        uint32_t flag;
    } texts[] = {{"1", 1}, {"1 and more", 1}, {"10", 1}, {"", 0}, {"0", 0}, {" 1", 0}, {"2", 0}, {"true", 0}};
    const struct {
        uint32_t id;
        uint32_t FormatSettings::*field;
        uint32_t level;
        const char* refresh;
    } options[] = {{4, nullptr, 0, "reorder "},
                   {5, nullptr, 1, "reorder "},
                   {6, nullptr, 2, "reorder "},
                   {7, &FormatSettings::roundLengths, 0, "preview "}};
    for (const auto& option : options) {
        for (const auto& row : texts) {
            SCOPED_TRACE(std::to_string(option.id) + " set to \"" + row.text + "\"");
            uint32_t& field = option.field ? gFormatSettings.*option.field
                                           : gFormatSettings.sortLevels[option.level].caseSensitive;
            field = 1 - row.flag;
            gLog.clear();
            EXPECT_EQ(Set(option.id, row.text), 1);
            EXPECT_EQ(field, row.flag);
            EXPECT_EQ(gLog, option.refresh);
            EXPECT_EQ(Get(option.id), row.flag ? "1" : "0");
        }
    }
}

TEST_F(SettingsHandlerTest, ListingModeRebuildsInOrderEvenWhenUnchanged) {
    const struct {
        const char* text;
        int result;
        ListingMode mode;
        const char* refreshes;
    } rows[] = {
        {"Full Listing", 1, FULL_LISTING, "clear rebuild reorder preview "},  // the mode already shown
        {"GROUP LISTING", 1, GROUP_LISTING, "clear rebuild reorder preview "},
        {"group listing", 1, GROUP_LISTING, "clear rebuild reorder preview "},
        {"full listing", 1, FULL_LISTING, "clear rebuild reorder preview "},
        {"Group", 0, FULL_LISTING, ""},
        {"Full Listing ", 0, FULL_LISTING, ""},
        {"", 0, FULL_LISTING, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        gLog.clear();
        EXPECT_EQ(Set(OPTION_LISTING_MODE, row.text), row.result);
        EXPECT_EQ(gFormatSettings.listingMode, row.mode);
        EXPECT_EQ(gLog, row.refreshes);
        EXPECT_EQ(Get(OPTION_LISTING_MODE), row.mode == GROUP_LISTING ? "Group Listing" : "Full Listing");
    }
}

TEST_F(SettingsHandlerTest, SlotsOfEachModeKeepTheCustomTextApartFromAmounts) {
    const struct {
        uint32_t id;  // token option id
        const char* token;
        const char* param;  // set after the token when not null
        const char* wantToken;
        const char* wantParam;
    } rows[] = {
        {F | 13, "-", "4", "-", "4"},
        {F | 13, "<Custom>", nullptr, "<Custom>", ""},  // entering "<Custom>" empties the amount
        {F | 13, "-", nullptr, "-", "1"},               // leaving it restores 1, not the old 4
        {F | 13, "<custom>", "Side A: ", "<custom>", "Side A: "},
        {F | 13, "<CUSTOM>", nullptr, "<CUSTOM>", "Side A: "},  // "<Custom>" over "<Custom>" keeps the text
        {F | 13, "Artist", nullptr, "Artist", "1"},
        {F | 13, "<Tab>", "100%d", "<Tab>", "100%d"},  // texts are stored verbatim
        {G | 30, "<CRLF>", "2", "<CRLF>", "2"},        // last slot of the Group Listing table
        {F | G | 10, "Title", nullptr, "Title", "1"},  // both mode bits: Full Listing wins
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.id & OPTION_NUMBER_MASK) + " " + row.token);
        const uint32_t slot = (row.id & OPTION_NUMBER_MASK) - OPTION_SLOT_TOKEN_FIRST;
        const uint32_t paramId = (row.id & ~OPTION_NUMBER_MASK) | (OPTION_SLOT_PARAM_FIRST + slot);
        const FormatTable before = (row.id & F) ? gFormatSettings.groupFormat : gFormatSettings.fullFormat;
        gLog.clear();
        EXPECT_EQ(Set(row.id, row.token), 1);
        if (row.param) {
            EXPECT_EQ(Set(paramId, row.param), 1);
        }
        EXPECT_EQ(gLog, row.param ? "preview preview " : "preview ");
        EXPECT_EQ(Get(row.id), row.wantToken);
        EXPECT_EQ(Get(paramId), row.wantParam);
        // The other mode's table is untouched.
        const FormatTable& other = (row.id & F) ? gFormatSettings.groupFormat : gFormatSettings.fullFormat;
        EXPECT_TRUE(SameFormatTable(other, before));
    }
}

TEST_F(SettingsHandlerTest, UnknownOptionsAnswerZeroAndLeaveTheBufferUntouched) {
    const uint32_t ids[] = {
        0,
        8,
        9,
        31,
        39,
        61,
        99,
        101,
        OPTION_NUMBER_MASK,
        F | 8,
        F | 31,
        G | 61,
        F | 101,
        10,
        30,
        40,
        60,               // slot options without a mode bit: no table to choose
        0x40000000 | 10,  // a top bit that is no mode
    };
    const FormatSettings before = gFormatSettings;
    for (const uint32_t id : ids) {
        for (const int set : {0, 1}) {
            SCOPED_TRACE(std::to_string(id) + (set ? " set" : " get"));
            char text[OPTION_TEXT_SIZE];
            std::memset(text, 'Z', sizeof text);
            text[0] = '1';  // a text some setting would accept
            EXPECT_EQ(SettingsHandler(nullptr, id, text, set), 0);
            EXPECT_EQ(text[0], '1');
            for (size_t i = 1; i < sizeof text; ++i) ASSERT_EQ(text[i], 'Z') << "byte " << i;
        }
    }
    EXPECT_TRUE(SameFormatSettings(gFormatSettings, before));
    EXPECT_EQ(gLog, "");
}

TEST_F(SettingsHandlerTest, EverySetIsRefusedWhileBusyAndEveryGetAnswers) {
    const struct {
        uint32_t id;
        const char* text;
        const char* get;
    } rows[] = {
        {1, "Artist (Ascending Order)", "Track Number (Ascending Order)"},
        {3, "Title (Decending Order)", "Bitrate (Ascending Order)"},
        {4, "1", "0"},
        {6, "1", "0"},
        {7, "0", "1"},
        {F | 10, "Artist", "<None>"},
        {G | 20, "<Custom>", "<None>"},
        {F | 40, "7", "1"},
        {G | 60, "7", "1"},
        {100, "Group Listing", "Full Listing"},
        {100, "Full Listing", "Full Listing"},
    };
    const FormatSettings before = gFormatSettings;
    BusyScope busy;
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.id) + " " + row.text);
        EXPECT_EQ(Set(row.id, row.text), 0);
        EXPECT_EQ(Get(row.id), row.get);
    }
    EXPECT_TRUE(SameFormatSettings(gFormatSettings, before));
    EXPECT_EQ(gLog, "");
    // A command run inside another (Load Format during a file dialog) gives
    // the flag back as it found it: still set until the outer one ends.
    for (bool isEarly : {false, true}) {
        SCOPED_TRACE(isEarly ? "released early" : "scope ended");
        {
            BusyScope nested;
            if (isEarly) nested.Release();
        }
        EXPECT_EQ(Set(1, "Artist (Ascending Order)"), 0);
    }
    busy.Release();
    EXPECT_EQ(Set(1, "Artist (Ascending Order)"), 1);
}

TEST_F(SettingsHandlerTest, LongTextsAreCutInsideTheirField) {
    const std::string longText(200, 'x');
    FormatSlot& slot = gFormatSettings.fullFormat.slots[2];
    const FormatSlot next = gFormatSettings.fullFormat.slots[3];
    EXPECT_EQ(Set(F | 12, longText), 1);
    EXPECT_EQ(Get(F | 12), std::string(31, 'x'));
    EXPECT_STREQ(slot.param, "1");  // the field after the token is untouched
    EXPECT_EQ(Set(F | 42, longText), 1);
    EXPECT_EQ(Get(F | 42), std::string(31, 'x'));
    EXPECT_TRUE(SameFormatSlot(gFormatSettings.fullFormat.slots[3], next));

    // A field holding no terminator (as damaged memory might) is answered
    // up to its end, never into the next field.
    std::memset(slot.token, 'T', sizeof slot.token);
    std::memset(slot.param, 'P', sizeof slot.param);
    EXPECT_EQ(Get(F | 12), std::string(32, 'T'));
    EXPECT_EQ(Get(F | 42), std::string(32, 'P'));
    // ... and is no "<Custom>" token, so setting one empties the param.
    EXPECT_EQ(Set(F | 12, "<Custom>"), 1);
    EXPECT_STREQ(slot.param, "");
}

}  // namespace
