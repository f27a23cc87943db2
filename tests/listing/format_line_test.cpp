#include "listing/format_line.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "support/format_slots.h"
#include "support/program_state.h"

namespace {

using FormatLineTest = ProgramStateTest;
using ReadAmountTest = ProgramStateTest;

TrackRecord Record() {
    TrackRecord r{};
    std::strcpy(r.artist, "Band");
    std::strcpy(r.album, "Tour");
    std::strcpy(r.title, "Intro");
    std::strcpy(r.groupName, "Live");
    r.trackNumber = 7;
    r.groupNumber = 12;
    r.trackLength = 3605.0f;
    r.groupLength = 3725.4f;
    r.bitrate = 132000;
    r.recorded = 0x492DB977;  // 2016-09-13 23:11:46
    return r;
}

std::string Render(const std::vector<Slot>& slots, const TrackRecord& r = Record(), uint32_t round = 1,
                   ListingMode mode = FULL_LISTING) {
    FormatSettings s;
    SetFormatDefaults(s);
    s.listingMode = mode;
    s.roundLengths = round;
    SetSlots(mode == GROUP_LISTING ? s.groupFormat : s.fullFormat, slots);
    char out[FORMAT_LINE_SIZE];
    const size_t n = FormatRecordLine(r, s, out, sizeof out);
    EXPECT_EQ(n, std::strlen(out));
    return out;
}

TEST_F(FormatLineTest, EveryToken) {
    const struct {
        std::vector<Slot> slots;
        std::string expected;
    } rows[] = {
        {{{"Trk Number", ""}}, "007"},
        {{{"Grp Number", ""}}, "012"},
        {{{"Group", ""}, {"Grp Name", ""}}, "LiveLive"},
        {{{"Artist", ""}, {"Album", ""}, {"Title", "5"}}, "BandTourIntro"},  // fields ignore param
        {{{"Trk Length", ""}}, "1h:05s"},
        {{{"Grp Length", ""}}, "1h:2m:05s"},
        {{{"Trk Format", ""}}, "LP2 132kbps"},
        {{{"Rec Date", ""}}, "2016-09-13 23:11:46"},
        {{{"REC DATE", "3"}, {"-", "1"}}, "2016-09-13 23:11:46-"},  // once, param ignored
        {{{"<None>", "3"}}, ""},
        {{{"<Custom>", "1"}}, "1"},  // written once, not repeated
        {{{"<Custom>", " a b "}}, " a b "},
        {{{"<Tab>", "2"}}, "\t\t"},
        {{{"<TAB>", "1"}}, "\t"},  // the panel's spelling
        {{{"<Space>", "3"}}, "   "},
        {{{"<Comma>", "2"}}, ",,"},
        {{{"<CR>", "2"}}, "\n\n"},  // line feeds, not carriage returns
        {{{"<CRLF>", "2"}}, "\r\n\r\n"},
        {{{"-", "3"}}, "---"},
        {{{"-", "0"}}, ""},
        {{{"-", "abc"}}, ""},
        {{{"-", ""}}, ""},
        {{{"-", " \t+2x"}}, "--"},  // white space, sign, digits up to the first other
        {{{"-", "-3"}}, ""},        // a negative amount writes nothing
        {{{"\\", "2"}, {"{", "1"}, {"|", "1"}}, "\\\\{|"},
        {{{"Word", "2"}}, "WordWord"},  // unknown names are literal text
        {{{"wOrD", "1"}}, "wOrD"},      // ...exactly as held
        {{{"", "5"}}, ""},
        {{{"ARTIST", ""}, {"trk number", ""}, {"<space>", "1"}, {"<custom>", "x"}}, "Band007 x"},
        {{{"Trk Number", ""}, {"<Space>", "1"}, {"Title", ""}, {"<CRLF>", "1"}}, "007 Intro\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.expected));
        EXPECT_EQ(Render(row.slots), row.expected);
    }
}

TEST_F(FormatLineTest, LengthsAndRounding) {
    const struct {
        float length;
        uint32_t round;
        const char* expected;
    } rows[] = {
        {3605.0f, 1, "1h:05s"}, {42.0f, 1, "42s"}, {65.0f, 1, "1m:05s"},   {42.7f, 1, "43s"},
        {42.7f, 0, "42s"},      {0.4f, 1, "00s"},  {3599.6f, 1, "1h:00s"}, {3599.6f, 0, "59m:59s"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.expected);
        TrackRecord r = Record();
        r.trackLength = row.length;
        r.groupLength = row.length;
        EXPECT_EQ(Render({{"Trk Length", ""}}, r, row.round), row.expected);
        EXPECT_EQ(Render({{"Grp Length", ""}}, r, row.round), row.expected);
    }
}

TEST_F(FormatLineTest, RecordingModeNames) {
    const struct {
        uint32_t bitrate;
        const char* name;
    } rows[] = {
        {48000, "HI-LP 48kbps"},    {64000, "HI-LP 64kbps"}, {66000, "LP4 66kbps"},
        {105000, "LP2 105kbps"},    {132000, "LP2 132kbps"}, {256000, "HI-SP 256kbps"},
        {1411200, "PCM\t1411kbps"}, {0, "UNKNOWN ATRAC"},    {1411000, "UNKNOWN ATRAC"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.bitrate);
        TrackRecord r = Record();
        r.bitrate = row.bitrate;
        EXPECT_EQ(Render({{"Trk Format", ""}}, r), row.name);
    }
}

TEST_F(FormatLineTest, GroupModeUsesTheGroupTable) {
    FormatSettings s;
    SetFormatDefaults(s);
    SetSlots(s.fullFormat, {{"Title", ""}});
    SetSlots(s.groupFormat, {{"Grp Number", ""}, {"<Space>", "1"}, {"Grp Length", ""}});
    char out[FORMAT_LINE_SIZE];
    FormatRecordLine(Record(), s, out, sizeof out);
    EXPECT_STREQ(out, "Intro");
    s.listingMode = GROUP_LISTING;
    FormatRecordLine(Record(), s, out, sizeof out);
    EXPECT_STREQ(out, "012 1h:2m:05s");
}

TEST_F(FormatLineTest, OnlySlotsZeroToTwentyCount) {
    std::vector<Slot> slots(22, Slot{"<None>", "1"});
    slots[20] = {"A", "1"};
    slots[21] = {"B", "1"};
    EXPECT_EQ(Render(slots), "A");
}

// Long output, huge or saturated amounts and unterminated fields: the line is
// cut at 1023 characters, nothing is written past the buffer and no repeat
// runs on (the sanitizers watch the buffer edges).
TEST_F(FormatLineTest, OverlongOutputIsCutAndBounded) {
    const struct {
        std::vector<Slot> slots;
        char fill;
    } rows[] = {
        {{{"-", "99999999999999999999999999"}}, '-'},
        {{{"<CR>", "2147483647"}}, '\n'},
        {{{"Word", "1000"}}, 0},
    };
    for (const auto& row : rows) {
        const std::string line = Render(row.slots);
        EXPECT_EQ(line.size(), FORMAT_LINE_CHARS);
        if (row.fill) {
            EXPECT_EQ(line.find_first_not_of(row.fill), std::string::npos);
        }
    }
    // Characters of any kind: 1023 of them, never half of one.
    std::string euros;
    for (int i = 0; i < 1023; ++i) euros += "\u20AC";
    EXPECT_EQ(Render({{"\u20AC", "5000"}}), euros);
    // 21 slots of the longest custom text fit whole.
    EXPECT_EQ(Render(std::vector<Slot>(21, Slot{"<Custom>", "0123456789012345678901234567890"})).size(),
              21u * 31);
    // A <CRLF> pair that does not fit whole is cut after its carriage return.
    const std::string crlf = Render({{"<Space>", "2"}, {"<CRLF>", "600"}});
    EXPECT_EQ(crlf.size(), 1023u);
    EXPECT_EQ(crlf.back(), '\r');

    // A table loaded from a file may hold fields without a terminator.
    FormatSettings s;
    SetFormatDefaults(s);
    std::memset(s.fullFormat.slots[0].token, 'T', FORMAT_FIELD_SIZE);
    std::memcpy(s.fullFormat.slots[0].param, "2", 2);
    std::memset(s.fullFormat.slots[1].token, 'U', FORMAT_FIELD_SIZE);
    std::memset(s.fullFormat.slots[1].param, '1', FORMAT_FIELD_SIZE);  // saturates: fills the line
    std::memset(s.fullFormat.slots[2].token, 'V', FORMAT_FIELD_SIZE);
    char out[FORMAT_LINE_SIZE];
    FormatRecordLine(Record(), s, out, sizeof out);
    EXPECT_EQ(std::string(out), std::string(64, 'T').append(1023 - 64, 'U'));

    // Tiny buffers stay terminated.
    char small[4];
    SetSlots(s.fullFormat, {{"Title", ""}});
    EXPECT_EQ(FormatRecordLine(Record(), s, small, sizeof small), 3u);
    EXPECT_STREQ(small, "Int");
    TrackRecord cafe = Record();
    std::strcpy(cafe.title, "Caf\u00E9");
    char five[5];
    EXPECT_EQ(FormatRecordLine(cafe, s, five, sizeof five), 3u);
    EXPECT_STREQ(five, "Caf");
}

TEST_F(ReadAmountTest, ReadsLikeStrtol) {
    const struct {
        const char* text;
        long value;
    } rows[] = {
        {"3", 3},
        {"  12ab", 12},
        {"\t\n+7", 7},
        {"-4", -4},
        {"", 0},
        {"x1", 0},
        {"- 1", 0},
        {"007", 7},
        {"99999999999999999999999", LONG_MAX},
        {"-99999999999999999999999", LONG_MIN},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ReadAmount(row.text, std::strlen(row.text) + 1), row.value);
    }
    EXPECT_EQ(ReadAmount("1234", 2), 12);  // never reads past the field
}

TEST_F(FormatLineTest, ReadsTheCatalogueAndRefusesBadIndexes) {
    ClearCatalogue();
    float length = 42.7f;
    AppendTrack({"", "", "", "Intro", 7, &length, 1411200, ""});
    SetFormatDefaults(gFormatSettings);
    SetSlots(gFormatSettings.fullFormat, {{"Trk Number", ""},
                                          {"<Space>", "1"},
                                          {"Title", ""},
                                          {"<Tab>", "1"},
                                          {"Trk Format", ""},
                                          {"<Space>", "1"},
                                          {"Trk Length", ""}});
    char out[FORMAT_LINE_SIZE];
    EXPECT_EQ(FormatLine(0, out), std::strlen("007 Intro\tPCM\t1411kbps 43s"));
    EXPECT_STREQ(out, "007 Intro\tPCM\t1411kbps 43s");
    gFormatSettings.roundLengths = 0;
    FormatLine(0, out);
    EXPECT_STREQ(out, "007 Intro\tPCM\t1411kbps 42s");
    std::strcpy(out, "old");
    EXPECT_EQ(FormatLine(1, out), 0u);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(FormatLine(-1, out), 0u);
    SetFormatDefaults(gFormatSettings);
}

}  // namespace
