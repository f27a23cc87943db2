#include <gtest/gtest.h>

#include <vector>

#include "index/track_index.h"
#include "tools/lib/index_image/index_image_builder.h"

namespace {

using index_image::IndexImageBuilder;

TrackIndexFile View(const std::vector<uint8_t>& image) { return {image.data(), image.size()}; }

TEST(FindGroup, FirstContainingGroupWins) {
    IndexImageBuilder b;
    b.PokeBe16(0x2108, 1), b.PokeBe16(0x210A, 3), b.PokeBe16(0x210C, 7);
    b.PokeBe16(0x2110, 4), b.PokeBe16(0x2112, 9), b.PokeBe16(0x2114, 0);
    b.PokeBe16(0x2118, 2), b.PokeBe16(0x211A, 20), b.PokeBe16(0x211C, 8);  // overlaps both
    // terminator {0..0} follows as zeros
    const std::vector<uint8_t> image = b.Build();
    const std::pair<uint32_t, int32_t> rows[] = {
        {1, 7}, {3, 7}, {4, 0}, {5, 0}, {9, 0}, {10, 8}, {20, 8}, {21, NO_GROUP}, {0x10000 + 5, NO_GROUP},
    };
    for (const auto& [track, cell] : rows) {
        SCOPED_TRACE(track);
        EXPECT_EQ(FindGroup(View(image), track), cell);
    }
}

TEST(FindGroup, TableEndsAtItsTerminatorOrTheEntryArea) {
    // The entry whose last track is 0 is examined, then the search ends.
    IndexImageBuilder b;
    b.AddGroup({1, 3, "A"});
    b.AddGroup({5, 0, "stops here"});
    b.AddGroup({4, 4, "never seen"});
    std::vector<uint8_t> image = b.Build();
    EXPECT_EQ(FindGroup(View(image), 4), NO_GROUP);
    EXPECT_EQ(FindGroup(View(image), 2), 1);

    // A table with no terminator at all ends where the entries begin.
    IndexImageBuilder full;
    for (size_t g = 0x2108; g + 8 <= 0x8000; g += 8) {
        full.PokeBe16(g, 100), full.PokeBe16(g + 2, 200), full.PokeBe16(g + 4, 9);
    }
    full.PokeBe16(0x8000, 1), full.PokeBe16(0x8002, 50), full.PokeBe16(0x8004, 3);  // past the table
    image = full.Build();
    EXPECT_EQ(FindGroup(View(image), 150), 9);
    EXPECT_EQ(FindGroup(View(image), 10), NO_GROUP);
}

TEST(TrackEntry, EmptinessIsTheFirst28Bytes) {
    struct Row {
        const char* name;
        size_t offset;  // in the entry; 0xFF: nothing written
        bool isEmpty;
    };
    const Row rows[] = {
        {"all zero", 0xFF, true}, {"byte 0", 0, false},   {"byte 27", 27, false},
        {"byte 28", 28, true},    {"codec id", 34, true}, {"track number", 37, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        if (row.offset != 0xFF) b.PokeByte(IndexImageBuilder::EntryOffset(5) + row.offset, 0x40);
        const std::vector<uint8_t> image = b.Build();
        EXPECT_EQ(IsEmptySlot(View(image), 5), row.isEmpty);
    }
}

// Entry offsets 0 and 2: FAT/DOS date and time words, each field in range.
TEST(TrackEntry, RecordingTimeWords) {
    using index_image::DosDateWord;
    const uint16_t day = DosDateWord(2016, 9, 13);
    const struct {
        const char* name;
        uint16_t date, time;
        const char* text;  // "": no recording time
    } rows[] = {
        {"zero: sent from a computer", 0, 0, ""},     {"time alone", 0, 0x5000, ""},
        {"earliest", DosDateWord(1980, 1, 1), 0, "1980-01-01 00:00:00"},
        {"latest", DosDateWord(2107, 12, 31), 0xBF7D, "2107-12-31 23:59:58"},
        {"month 0", DosDateWord(2016, 0, 13), 0, ""}, {"month 13", DosDateWord(2016, 13, 13), 0, ""},
        {"day 0", DosDateWord(2016, 9, 0), 0, ""},    {"hour 24", day, 24 << 11, ""},
        {"minute 60", day, 60 << 5, ""},              {"second 60", day, 30, ""},
        // Bit 11 is the hour's lowest: a mask of 0xF100 would show 22:11:46.
        {"odd hour", day, 23 << 11 | 11 << 5 | 23, "2016-09-13 23:11:46"},
        {"hour 1", day, 0x0800, "2016-09-13 01:00:00"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        b.AddTrack({.slot = 4, .recordedDate = row.date, .recordedTime = row.time});
        const std::vector<uint8_t> image = b.Build();
        char text[RECORDING_TIME_TEXT_SIZE];
        FormatRecordingTime(RecordedTime(View(image), 4), text, sizeof text);
        EXPECT_STREQ(text, row.text);
        // Undecoded words (a catalogue file's) never format outside the calendar.
        FormatRecordingTime(RecordingTime(row.date) << 16 | row.time, text, sizeof text);
        EXPECT_STREQ(text, row.text);
    }
}

TEST(ImageAccess, ReadsPastTheEndGiveZero) {
    const std::vector<uint8_t> bytes = {0x12, 0x34, 0x56};
    const TrackIndexFile file = View(bytes);
    EXPECT_EQ(ImageBe16(file, 0), 0x1234);
    EXPECT_EQ(ImageBe16(file, 2), 0x5600);
    EXPECT_EQ(ImageBe16(file, 3), 0);
    EXPECT_EQ(ImageBe16(file, SIZE_MAX), 0);
    EXPECT_EQ(ImageByte(TrackIndexFile{nullptr, 100}, 5), 0);
    EXPECT_EQ(TrackCount(file), 0);
}

TEST(ReadPlayOrder, NamesSlotsByPosition) {
    struct Row {
        const char* name;
        std::vector<uint16_t> order;
        uint16_t trackCount;
        uint32_t named;
        std::vector<std::pair<uint32_t, uint16_t>> positions;  // slot, position
    };
    const Row rows[] = {
        {"in order", {1, 2, 3}, 3, 3, {{0, 1}, {1, 2}, {2, 3}}},
        {"moved", {3, 1, 2}, 3, 3, {{2, 1}, {0, 2}, {1, 3}}},
        {"values past the count are not read", {1, 2, 3}, 2, 2, {{0, 1}, {1, 2}, {2, 0}}},
        {"invalid values skipped", {0, 2048, 0xFFFF, 5}, 4, 1, {{4, 4}}},
        {"slot named twice keeps its first position", {2, 2, 1}, 3, 2, {{1, 1}, {0, 3}}},
        {"last slot", {2047}, 1, 1, {{2046, 1}}},
        {"none valid", {0, 0}, 2, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        IndexImageBuilder b;
        b.SetPlayOrder(row.order).SetTrackCount(row.trackCount);
        const std::vector<uint8_t> image = b.Build();
        uint16_t positions[TRACK_SLOT_COUNT];
        EXPECT_EQ(ReadPlayOrder(View(image), positions), row.named);
        for (const auto& [slot, position] : row.positions) EXPECT_EQ(positions[slot], position) << slot;
    }
}

TEST(ReadPlayOrder, HugeTrackCountReadsOneValuePerSlot) {
    IndexImageBuilder b;
    // Every value a play order can hold names slot 0, then the region the
    // count would run into (group table, entries) holds more names.
    for (size_t at = 0x102; at < 0x9000; at += 2) b.PokeBe16(at, 1);
    b.PokeBe16(0x102 + 2 * 2047, 7);  // position 2048: beyond any disc
    b.SetTrackCount(0xFFFF);
    const std::vector<uint8_t> image = b.Build();
    uint16_t positions[TRACK_SLOT_COUNT];
    EXPECT_EQ(ReadPlayOrder(View(image), positions), 1u);
    EXPECT_EQ(positions[6], 0);
}

}  // namespace
