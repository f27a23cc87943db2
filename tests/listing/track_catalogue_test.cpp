#include "listing/track_catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "support/program_state.h"

namespace {

using TrackCatalogueTest = ProgramStateTest;

int AppendNumbered(uint32_t number) {
    char title[32];
    std::snprintf(title, sizeof title, "t%u", unsigned(number));
    float length = float(number) + 0.5f;
    TrackReport report{"line", "artist", "album", title, number, &length, 132000, "group"};
    return AppendTrack(report);
}

void ExpectNumbered(uint32_t first, uint32_t last) {
    for (uint32_t i = first; i <= last; ++i) {
        SCOPED_TRACE(i);
        char title[32];
        std::snprintf(title, sizeof title, "t%u", unsigned(i));
        ASSERT_STREQ(gCatalogue.records[i].title, title);
        ASSERT_EQ(gCatalogue.records[i].trackNumber, i);
    }
}

// Back to the state at start-up: no storage at all.
void DropCatalogue() {
    if (gCatalogue.records) gCatalogueFree(gCatalogue.records, gCatalogue.capacity, sizeof(TrackRecord));
    gCatalogue = {};
}

TEST_F(TrackCatalogueTest, GrowsFromAHundredByDoublingKeepingRecords) {
    DropCatalogue();
    ASSERT_EQ(AppendNumbered(0), 0);
    EXPECT_EQ(gCatalogue.capacity, 100u);
    for (uint32_t i = 1; i < 100; ++i) ASSERT_EQ(AppendNumbered(i), int(i));
    EXPECT_EQ(gCatalogue.capacity, 100u);  // the 100th record fits
    EXPECT_EQ(AppendNumbered(100), 100);
    EXPECT_EQ(gCatalogue.capacity, 200u);  // the 101st grows the storage
    EXPECT_EQ(gCatalogue.count, 101u);
    ExpectNumbered(0, 100);
    for (uint32_t i = 101; i <= 200; ++i) ASSERT_EQ(AppendNumbered(i), int(i));
    EXPECT_EQ(gCatalogue.capacity, 400u);  // the 201st doubles it
    ExpectNumbered(0, 200);
    EXPECT_FLOAT_EQ(gCatalogue.records[42].trackLength, 42.5f);
    EXPECT_EQ(gCatalogue.records[42].bitrate, 132000u);
}

// Room made at once for a disc's tracks: the records already in are kept and
// the fill that follows moves no record.
TEST_F(TrackCatalogueTest, ReserveMakesRoomInOneStep) {
    DropCatalogue();
    for (uint32_t i = 0; i < 150; ++i) AppendNumbered(i);
    ASSERT_TRUE(ReserveCatalogue(2047));
    EXPECT_EQ(gCatalogue.capacity, 2047u);
    const TrackRecord* storage = gCatalogue.records;
    for (uint32_t i = 150; i < 2047; ++i) ASSERT_EQ(AppendNumbered(i), int(i));
    EXPECT_EQ(gCatalogue.records, storage);
    ExpectNumbered(0, 2046);
    ASSERT_TRUE(ReserveCatalogue(10));  // less than there is: nothing changes
    EXPECT_EQ(gCatalogue.records, storage);
    EXPECT_EQ(gCatalogue.capacity, 2047u);
}

TEST_F(TrackCatalogueTest, ClearZeroesTheReusedStorage) {
    ClearCatalogue();
    for (uint32_t i = 0; i < 150; ++i) AppendNumbered(i);
    gCatalogue.records[3].groupNumber = 7;  // as a Group Listing leaves them
    gCatalogue.records[3].groupLength = 99.0f;
    TrackRecord* storage = gCatalogue.records;
    const uint32_t capacity = gCatalogue.capacity;

    ClearCatalogue();
    EXPECT_EQ(gCatalogue.count, 0u);
    EXPECT_EQ(gCatalogue.records, storage);
    EXPECT_EQ(gCatalogue.capacity, capacity);
    const auto* bytes = reinterpret_cast<const unsigned char*>(storage);
    for (size_t b = 0; b < size_t(capacity) * sizeof(TrackRecord); ++b) ASSERT_EQ(bytes[b], 0) << b;

    for (uint32_t i = 0; i < 5; ++i) AppendNumbered(i);
    EXPECT_EQ(gCatalogue.records[3].groupNumber, 0u);
    EXPECT_EQ(gCatalogue.records[3].groupLength, 0.0f);
    EXPECT_EQ(CatalogueRecord(5), nullptr);
    EXPECT_EQ(CatalogueRecord(-1), nullptr);
    EXPECT_EQ(CatalogueRecord(4), &gCatalogue.records[4]);
}

TEST_F(TrackCatalogueTest, TextsAreCutToTheirFieldsAndMissingOnesAreEmpty) {
    ClearCatalogue();
    const std::string longText(600, 'a'), longLine(5000, 'L');
    float length = 3.25f;
    TrackReport report{longLine.c_str(), longText.c_str(), nullptr, "",
                       0xFFFFFFFFu,      &length,          1411200, longText.c_str()};
    ASSERT_EQ(AppendTrack(report), 0);
    const TrackRecord& r = gCatalogue.records[0];
    EXPECT_EQ(std::string(r.artist), std::string(254, 'a'));
    EXPECT_EQ(std::string(r.groupName), std::string(254, 'a'));
    EXPECT_EQ(std::string(r.displayLine), std::string(2047, 'L'));
    EXPECT_STREQ(r.album, "");
    EXPECT_STREQ(r.title, "");
    EXPECT_EQ(r.trackNumber, 0xFFFFFFFFu);
    EXPECT_EQ(r.trackLength, 3.25f);
    EXPECT_EQ(r.bitrate, 1411200u);
    // The cut texts did not run into their neighbours.
    EXPECT_EQ(r.album[0], 0);

    // 254 Latin letters of two bytes fit; three-byte characters are cut on a
    // character boundary by the field's bytes.
    std::string latin, han;
    for (int i = 0; i < 300; ++i) latin += "\u00E9", han += "\u65E5";
    TrackReport wide{"", latin.c_str(), han.c_str(), "", 1, &length, 0, ""};
    ASSERT_EQ(AppendTrack(wide), 1);
    EXPECT_EQ(std::string(gCatalogue.records[1].artist), latin.substr(0, 254 * 2));
    EXPECT_EQ(std::string(gCatalogue.records[1].album), han.substr(0, (TRACK_TEXT_SIZE - 1) / 3 * 3));

    TrackReport noLength{"x", "", "", "", 1, nullptr, 0, ""};
    ASSERT_EQ(AppendTrack(noLength), 2);
    EXPECT_EQ(gCatalogue.records[2].trackLength, 0.0f);
}

// The listed disc names the index it was read from by its path, file name
// and generation; a new scan forgets the last disc's title and identity.
TEST_F(TrackCatalogueTest, ListedDiscNamesItsIndex) {
    const struct {
        const char *path, *name;
        int32_t generation;
    } rows[] = {
        {"D:\\HMDHIFI\\TRKIDX01.HMA", "TRKIDX01.HMA", 1}, {"/copy/hmdhifi/trkidx0a.hma", "trkidx0a.hma", 10},
        {"C:\\copy.hma", "copy.hma", NO_GENERATION},      {"TRKIDX12345.HMA", "TRKIDX12345.HMA", NO_GENERATION},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        SetListedDiscTitle("Old disc");
        SetListedDiscIdentity({true, {1, 2, 3}});
        BeginListedDisc(row.path);
        EXPECT_STREQ(gListedDisc.indexPath, row.path);
        EXPECT_STREQ(gListedDisc.indexName, row.name);
        EXPECT_EQ(gListedDisc.generation, row.generation);
        EXPECT_STREQ(gListedDisc.title, "");
        EXPECT_FALSE(gListedDisc.hasTitle);
        EXPECT_FALSE(gListedDisc.identity.isKnown);
        SetListedDiscTitle("");  // a title cell of no text is a title all the same
        EXPECT_TRUE(gListedDisc.hasTitle);
    }
}

void* FailingAlloc(size_t, size_t) { return nullptr; }

TEST_F(TrackCatalogueTest, FailedGrowthKeepsTheRecordsAndDropsTheReport) {
    DropCatalogue();
    for (uint32_t i = 0; i < 100; ++i) AppendNumbered(i);
    const uint32_t count = gCatalogue.count;
    gCatalogueAlloc = FailingAlloc;
    EXPECT_EQ(AppendNumbered(count), -1);
    gCatalogueAlloc = std::calloc;
    EXPECT_EQ(gCatalogue.count, count);
    EXPECT_EQ(gCatalogue.capacity, count);
    ExpectNumbered(0, count - 1);
    EXPECT_EQ(AppendNumbered(count), int(count));  // growth works again afterwards
    ExpectNumbered(0, count);
}

// A program's own storage gets back exactly what it handed out: each
// release names the storage and the count it was made with.
std::vector<std::pair<void*, size_t>> gMade, gReleased;
void* CountingAlloc(size_t count, size_t size) {
    void* storage = std::calloc(count, size);
    gMade.push_back({storage, count});
    return storage;
}
void CountingFree(void* storage, size_t count, size_t) {
    gReleased.push_back({storage, count});
    std::free(storage);
}

TEST_F(TrackCatalogueTest, GrowthReleasesEachStorageAsItWasMade) {
    DropCatalogue();
    gMade.clear();
    gReleased.clear();
    const CatalogueFreeFn defaultFree = gCatalogueFree;
    gCatalogueAlloc = CountingAlloc;
    gCatalogueFree = CountingFree;
    ASSERT_TRUE(ReserveCatalogue(150));
    for (uint32_t i = 0; i < 400; ++i) ASSERT_EQ(AppendNumbered(i), int(i));
    DropCatalogue();
    gCatalogueAlloc = std::calloc;
    gCatalogueFree = defaultFree;
    EXPECT_EQ(gReleased, gMade);  // 150, 300, 600: every one released, with its count
    EXPECT_EQ(gMade.size(), 3u);
}

}  // namespace
