// The catalogue's contents: adding, updating, removing, reading back and
// finding discs and tracks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>

#include "catalogue/catalogue_path.h"
#include "catalogue/found_rows.h"
#include "catalogue/sqlite_db.h"
#include "support/found_row_order.h"
#include "catalogue_support.h"

namespace {

struct StoreFixture {
    TempFolder folder;
    // A name outside ASCII, so both builds pass UTF-8 names to SQLite.
    std::filesystem::path file = folder.Path() / u8"Κατάλογος 東京" / "catalogue.sqlite";
    std::string path = Utf8Path(file);
    Catalogue catalogue;
    StoreFixture() { EXPECT_TRUE(OpenCatalogue(path, CatalogueMode::WRITE, catalogue).isOpen); }
};

TEST(CatalogueStore, SqliteIsTheDebianRelease) { EXPECT_EQ(std::string(SqliteVersion()).rfind("3.40.", 0), 0u); }

TEST(CatalogueStore, AddUpdateUnchangedRemove) {
    const auto first = MakeTracks({{"One"}, {"Two"}});
    const auto changed = MakeTracks({{"One"}, {"Two, remixed"}});
    const auto other = MakeTracks({{"Other"}});
    struct Step {
        const char* name;
        unsigned disc;  // 0: remove disc 1
        const char* title;
        const std::vector<TrackRecord>* tracks;
        AddResult result;
        std::vector<std::string> titles;  // the catalogue's discs afterwards
    };
    const Step steps[] = {
        {"a new disc is added", 1, "Alpha", &first, AddResult::ADDED, {"Alpha"}},
        {"the same contents change nothing", 1, "Alpha", &first, AddResult::UNCHANGED, {"Alpha"}},
        {"a changed track updates", 1, "Alpha", &changed, AddResult::UPDATED, {"Alpha"}},
        {"a new title alone updates", 1, "Alpha II", &changed, AddResult::UPDATED, {"Alpha II"}},
        {"another key is another disc", 2, "Beta", &other, AddResult::ADDED, {"Alpha II", "Beta"}},
        {"removing takes the disc and its tracks", 0, nullptr, nullptr, AddResult::ADDED, {"Beta"}},
    };
    StoreFixture s;
    int64_t firstId = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.disc == 0) {
            EXPECT_TRUE(RemoveDisc(s.catalogue, firstId).ok);
            std::vector<TrackRecord> left;
            EXPECT_TRUE(LoadDiscTracks(s.catalogue, firstId, left).ok);
            EXPECT_TRUE(left.empty());
            EXPECT_EQ(FoundTitles(s.catalogue, "remixed").size(), 0u);
        } else {
            const AddOutcome added = AddTestDisc(s.catalogue, TestKey(step.disc), step.title, *step.tracks);
            EXPECT_EQ(added.result, step.result) << added.message;
            if (step.disc == 1) firstId = added.discId;
            std::vector<TrackRecord> stored;
            EXPECT_TRUE(LoadDiscTracks(s.catalogue, added.discId, stored).ok);
            EXPECT_TRUE(SameRecords(stored, *step.tracks)) << "tracks of " << step.title;
        }
        EXPECT_EQ(DiscTitles(s.catalogue), step.titles);
    }
    EXPECT_FALSE(RemoveDisc(s.catalogue, firstId).ok) << "a removed disc is gone";
}

// What goes in lists the same when it comes out: every field, byte for byte,
// lengths as the same floats.
TEST(CatalogueStore, StoredDiscListsAsRecorded) {
    const std::string longLatin(2000, 'x');
    std::string longGreek;
    for (int i = 0; i < 600; ++i) longGreek += "λ";
    struct Row {
        const char* name;
        std::vector<TrackText> texts;
    } rows[] = {
        {"plain texts", {{"Title", "Artist", "Album", "Group"}}},
        {"every script", {{"東京の夜", "Καλημέρα", "Ça va, café", "Москва"}, {"", "", "", ""}}},
        // AppendTrack cuts them to their fields; the store keeps the cut text.
        {"texts longer than their fields", {{longLatin.c_str(), longGreek.c_str(), longLatin.c_str(), longGreek.c_str()}}},
    };
    StoreFixture s;
    unsigned n = 10;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto tracks = MakeTracks(row.texts, n);
        const AddOutcome added = AddTestDisc(s.catalogue, TestKey(n++), row.name, tracks);
        ASSERT_EQ(added.result, AddResult::ADDED) << added.message;
        std::vector<TrackRecord> stored;
        ASSERT_TRUE(LoadDiscTracks(s.catalogue, added.discId, stored).ok);
        EXPECT_TRUE(SameRecords(stored, tracks));
    }
    std::vector<StoredDisc> discs;
    ASSERT_TRUE(ListDiscs(s.catalogue, discs).ok);
    ASSERT_EQ(discs.size(), 3u);
    EXPECT_EQ(discs[0].indexGeneration, 3u);
    EXPECT_EQ(discs[0].source, "E:\\");
    EXPECT_EQ(discs[0].indexName, "TRKIDX03.HMA");
    EXPECT_EQ(discs[0].firstAdded.size(), 20u) << discs[0].firstAdded;
}

// The same searches on a catalogue as this version writes it, on a file of
// version 1 (no folded texts) read as it is, and on that file brought up to
// date by opening it for writing.
TEST(CatalogueSearch, FindsInEveryScript) {
    StoreFixture s;
    AddTestDisc(s.catalogue, TestKey(1), "Tokyo Nights",
                MakeTracks({{"東京の夜", "Yoru"}, {"Καλημέρα", "", "", "Ελλάδα"}, {"Café", "Zoë"}}));
    AddTestDisc(s.catalogue, TestKey(2), "Plain",
                MakeTracks({{"CAFE NOIR"}, {"say \"hi\" OR not"}, {"x"}, {"Ἀθῆναι"}}));
    TempFolder old;
    const std::string oldPath = Utf8Path(old.Path() / "version1.sqlite");
    {
        SqliteDb copy;
        ASSERT_TRUE(copy.Open(s.path, OpenAccess::READ_ONLY));
        Statement vacuum(copy, "VACUUM INTO ?1");
        ASSERT_TRUE(vacuum.Bind(1, oldPath).Run()) << copy.Error();
        SqliteDb downgrade;
        ASSERT_TRUE(downgrade.Open(oldPath, OpenAccess::READ_WRITE));
        ASSERT_TRUE(downgrade.Exec("DROP INDEX discs_by_title; ALTER TABLE tracks DROP COLUMN folded; "
                                   "ALTER TABLE discs DROP COLUMN indexName; ALTER TABLE discs DROP COLUMN hasTitle; "
                                   "PRAGMA user_version = 1"))
            << downgrade.Error();
    }
    Catalogue versionOne, migrated;
    ASSERT_TRUE(OpenCatalogue(oldPath, CatalogueMode::READ, versionOne).isOpen);
    EXPECT_EQ(versionOne.SchemaVersion(), 1);
    struct File {
        const char* name;
        std::function<Catalogue&()> open;
    } files[] = {
        {"this version's file", [&]() -> Catalogue& { return s.catalogue; }},
        {"a version 1 file, read", [&]() -> Catalogue& { return versionOne; }},
        {"a version 1 file, brought up to date", [&]() -> Catalogue& {
             versionOne = Catalogue();
             const CatalogueOpenResult opened = OpenCatalogue(oldPath, CatalogueMode::WRITE, migrated);
             EXPECT_TRUE(opened.isOpen) << opened.message;
             EXPECT_EQ(migrated.SchemaVersion(), CATALOGUE_SCHEMA_VERSION);
             return migrated;
         }},
    };
    struct Row {
        const char* name;
        const char* text;
        std::vector<std::string> titles;
    } rows[] = {
        {"a part of a Japanese title", "京の", {"東京の夜"}},
        {"three Japanese characters, through the index", "東京の", {"東京の夜"}},
        {"Greek folded", "καλη", {"Καλημέρα"}},
        {"Greek upper case", "ΚΑΛΗΜ", {"Καλημέρα"}},
        {"a group's text", "λλάδ", {"Καλημέρα"}},
        {"Latin accents fold their case", "CAFÉ", {"Café"}},
        {"but an accent is a letter of its own", "cafe", {"CAFE NOIR"}},
        {"the disc title finds all its tracks", "TOKYO", {"東京の夜", "Καλημέρα", "Café"}},
        {"artist", "yor", {"東京の夜"}},
        {"one Latin letter folded", "X", {"x"}},
        {"one letter beyond ASCII, folded as the index folds", "Ë", {"Café"}},
        {"two Greek letters folded", "ΚΑ", {"Καλημέρα"}},
        {"two letters with an accent", "é", {"Café"}},
        {"quotes are text, not query syntax", "\"hi\" OR", {"say \"hi\" OR not"}},
        {"a lone quote", "\"", {"say \"hi\" OR not"}},
        {"operators are text", "NOT*", {}},
        {"no match", "zzzz", {}},
        {"empty finds every track", "", {"CAFE NOIR", "say \"hi\" OR not", "x", "Ἀθῆναι", "東京の夜", "Καλημέρα", "Café"}},
    };
    for (const File& file : files) {
        Catalogue& c = file.open();
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(file.name) + ": " + row.name);
            EXPECT_EQ(FoundTitles(c, row.text), row.titles) << "search for " << row.text;
            uint64_t count = 0;
            EXPECT_TRUE(CountTracks(c, row.text, count).ok);
            EXPECT_EQ(count, row.titles.size());
            // One at a time, the page is found by walking the discs in
            // order rather than by sorting every match: the same tracks.
            std::vector<std::string> paged;
            for (uint64_t at = 0; at <= row.titles.size(); ++at) {
                uint64_t total = 99;
                FindTracks(c, row.text, [&](const FoundTrack& t) { return paged.push_back(t.track.title), true; },
                           FindRange{at, 1}, &total);
                EXPECT_EQ(total, row.titles.size());
            }
            EXPECT_EQ(paged, row.titles);
        }
    }
}

TEST(CatalogueSearch, ResultsNameTheDiscAndPage) {
    StoreFixture s;
    const AddOutcome a = AddTestDisc(s.catalogue, TestKey(7), "Seven", MakeTracks({{"a1"}, {"a2"}, {"a3"}}));
    struct Row {
        const char* name;
        FindRange range;
        std::vector<std::string> titles;
    } rows[] = {
        {"everything", {}, {"a1", "a2", "a3"}},
        {"a page", {1, 1}, {"a2"}},
        {"past the end", {5, 2}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> titles;
        EXPECT_TRUE(FindTracks(s.catalogue, "a", [&](const FoundTrack& t) {
                        EXPECT_EQ(t.discId, a.discId);
                        EXPECT_EQ(std::string(t.discKey), TestKey(7));
                        EXPECT_STREQ(t.discTitle, "Seven");
                        titles.push_back(t.track.title);
                        return true;
                    }, row.range).ok);
        EXPECT_EQ(titles, row.titles);
    }
}

// The rows of a search in range's order, as "disc id:track number".
std::vector<std::string> FoundOrder(Catalogue& c, const std::string& text, const FindRange& range,
                                    std::vector<FoundRow>* rows = nullptr) {
    std::vector<std::string> order;
    FindTracks(c, text, [&](const FoundTrack& t) {
        order.push_back(std::to_string(t.discId) + ":" + std::to_string(t.track.trackNumber));
        if (rows) rows->push_back(MakeFoundRow(t));
        return true;
    }, range);
    return order;
}

// A column's order from the store is the window's own order of the rows
// (FoundRowLess over the store's order, reversed for descending), paged or
// whole, for every kind of search: texts that fold alike, scripts beyond
// ASCII, marks between the ASCII cases ('[' and '_' sort after 'Z' unfolded
// but before 'a' folded), equal lengths, modes and times across discs, and
// disc titles that fold alike.
TEST(CatalogueSearch, ColumnOrdersAreTheWindowsOrder) {
    StoreFixture s;
    const std::vector<TrackText> texts = {
        {"apple", "Zed"},        {"Apple", "zed"},  {"APPLE", "[bracket"},  {"_under", "Äna"},
        {"[bracket", "ábc"},     {"Äpfel", "Abc"},  {"東京の夜", "東京"},   {"Καλημέρα", "ΚΑΛΗ"},
        {"", ""},                {"b", "B"},        {"zebra", "Zed", "Al"}, {"Zebra", "zed", "al"},
    };
    const char* discs[] = {"alpha", "Alpha", "Ωμέγα", "", "beta", "東京"};
    for (unsigned d = 0; d < 6; ++d) {
        std::vector<TrackText> mine(texts.begin() + d, texts.end());  // each disc its own track numbers
        AddTestDisc(s.catalogue, TestKey(d + 1), discs[d], MakeTracks(mine, d % 2));
    }
    // Every track, a scan of the folded texts, and a search through the index.
    for (const char* text : {"", "a", "PPL", "zed"}) {
        std::vector<FoundRow> stored;
        FoundOrder(s.catalogue, text, {}, &stored);
        ASSERT_FALSE(stored.empty()) << text;
        for (int column = 0; column < FOUND_COLUMN_COUNT; ++column) {
            for (bool isDescending : {false, true}) {
                SCOPED_TRACE(std::string("search \"") + text + "\", " + FOUND_COLUMN_NAMES[column] +
                             (isDescending ? " descending" : ""));
                std::vector<FoundRow> rows = stored;
                std::stable_sort(rows.begin(), rows.end(),
                                 [column](const FoundRow& a, const FoundRow& b) { return FoundRowLess(a, b, column); });
                if (isDescending) std::reverse(rows.begin(), rows.end());
                std::vector<std::string> expected;
                for (const FoundRow& r : rows) expected.push_back(std::to_string(r.discId) + ":" + std::to_string(r.number));
                FindRange whole;
                whole.order = column;
                whole.isDescending = isDescending;
                EXPECT_EQ(FoundOrder(s.catalogue, text, whole), expected);
                std::vector<std::string> paged;
                for (uint64_t at = 0; at < expected.size(); at += 5) {
                    FindRange page = whole;
                    page.offset = at;
                    page.limit = 5;
                    page.knownCount = expected.size();
                    for (const std::string& row : FoundOrder(s.catalogue, text, page)) paged.push_back(row);
                }
                EXPECT_EQ(paged, expected);
            }
        }
    }
    uint64_t count = 0;
    EXPECT_TRUE(CountDiscs(s.catalogue, count).ok);
    EXPECT_EQ(count, 6u);
}

TEST(CatalogueKeys, HashesAndNames) {
    struct HashRow {
        const char* name;
        std::string bytes;
        const char* key;
    } hashes[] = {
        {"empty input gives the offset basis", "", "6c62272e07bb014262b821756295c58d"},
        {"one byte", "a", "d228cb696f1a8caf78912b704e4a8964"},
        // Long enough for every carry between the halves to have happened.
        {"70000 bytes", std::string(70000, '\xA5'), "8d8be1d9278e055a245caf44d3dfebbd"},
    };
    for (const HashRow& row : hashes) {
        SCOPED_TRACE(row.name);
        char key[DISC_KEY_SIZE];
        DiscKeyFromImage(reinterpret_cast<const uint8_t*>(row.bytes.data()), row.bytes.size(), key);
        EXPECT_STREQ(key, row.key);
        EXPECT_TRUE(IsDiscKey(key));
    }
    DiscIdentity identity{true, {0xde, 0xad, 0xbe, 0xef}};
    char key[DISC_KEY_SIZE];
    EXPECT_TRUE(DiscKeyFromIdentity(identity, key));
    EXPECT_STREQ(key, "deadbeef000000000000000000000000");

    StoreFixture s;
    AddTestDisc(s.catalogue, "deadbeef000000000000000000000001", "Twin", MakeTracks({{"t"}}));
    AddTestDisc(s.catalogue, "deadbeef000000000000000000000002", "Twin", MakeTracks({{"u"}}));
    AddTestDisc(s.catalogue, "0123456789abcdef0123456789abcdef", "Solo", MakeTracks({{"v"}}));
    struct FindRow {
        const char* name;
        const char* text;
        const char* key;  // nullptr: no disc, the message says why
        const char* says = "";
    } finds[] = {
        {"a whole key", "deadbeef000000000000000000000002", "deadbeef000000000000000000000002"},
        {"a whole key in upper case", "0123456789ABCDEF0123456789ABCDEF", "0123456789abcdef0123456789abcdef"},
        {"a prefix of eight digits", "01234567", "0123456789abcdef0123456789abcdef"},
        {"a prefix of seven digits is too short", "0123456", nullptr, "no disc"},
        {"an exact title", "Solo", "0123456789abcdef0123456789abcdef"},
        {"a title is exact", "solo", nullptr, "no disc"},
        {"a shared prefix is ambiguous", "deadbeef", nullptr, "more than one disc"},
        {"a shared title is ambiguous", "Twin", nullptr, "more than one disc"},
    };
    for (const FindRow& row : finds) {
        SCOPED_TRACE(row.name);
        StoredDisc disc{};
        const CatalogueStatus found = FindDisc(s.catalogue, row.text, disc);
        EXPECT_EQ(found.ok, row.key != nullptr) << found.message;
        if (row.key) {
            EXPECT_EQ(disc.key, row.key);
        }
        EXPECT_NE(found.message.find(row.says), std::string::npos) << found.message;
        if (!found.ok) {
            EXPECT_NE(found.message.find(s.path), std::string::npos) << found.message;
        }
    }
    // Keys that are not 32 lower-case digits never reach the file.
    for (const char* bad : {"", "DEADBEEF000000000000000000000001", "deadbeef", "xyz"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(AddTestDisc(s.catalogue, bad, "Bad", {}).result, AddResult::FAILED);
    }
}

TEST(CatalogueStore, DefaultPlaces) {
    struct Row {
        const char* name;
        CataloguePlace place;
        const char* path;
    } rows[] = {
        {"Windows", {true, "C:\\Users\\Ann\\AppData\\Roaming", nullptr, nullptr},
         "C:\\Users\\Ann\\AppData\\Roaming\\Tavolin\\catalogue.sqlite"},
        {"Windows without APPDATA", {true, "", nullptr, nullptr}, ""},
        {"XDG data home", {false, nullptr, "/data/ann/", "/home/ann"}, "/data/ann/tavolin/catalogue.sqlite"},
        {"a relative XDG data home is ignored", {false, nullptr, "data", "/home/ann"},
         "/home/ann/.local/share/tavolin/catalogue.sqlite"},
        {"home only", {false, nullptr, nullptr, "/home/ann"}, "/home/ann/.local/share/tavolin/catalogue.sqlite"},
        {"nothing set", {false, nullptr, nullptr, nullptr}, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(DefaultCataloguePath(row.place), row.path);
    }
}

// Two programs adding at once, into a catalogue that neither has made yet:
// one makes it while the other waits, each waits for the other's writes,
// and neither loses a disc. (The second once found the first's file still
// empty and refused it.)
TEST(CatalogueStore, TwoConnectionsAdding) {
    TempFolder folder;
    const std::string path = Utf8Path(folder.Path() / "raced" / "catalogue.sqlite");
    constexpr unsigned DISCS_EACH = 12;
    // MakeTracks uses the process-wide listing, so the threads share records made before.
    int failures[2] = {0, 0};
    std::vector<TrackRecord> tracks = MakeTracks({{"a"}, {"b"}, {"c"}});
    auto adderOwn = [&](unsigned first, int* fails) {
        Catalogue own;
        const CatalogueOpenResult opened = OpenCatalogue(path, CatalogueMode::WRITE, own);
        if (!opened.isOpen) {
            ADD_FAILURE() << opened.message;
            ++*fails;
            return;
        }
        for (unsigned i = 0; i < DISCS_EACH; ++i)
            if (AddTestDisc(own, TestKey(first + i), "Disc", tracks).result != AddResult::ADDED) ++*fails;
    };
    std::thread one(adderOwn, 100u, &failures[0]);
    std::thread two(adderOwn, 200u, &failures[1]);
    one.join();
    two.join();
    EXPECT_EQ(failures[0] + failures[1], 0);
    Catalogue reader, writer;
    ASSERT_TRUE(OpenCatalogue(path, CatalogueMode::READ, reader).isOpen);
    uint64_t count = 0;
    EXPECT_TRUE(CountTracks(reader, "", count).ok);
    EXPECT_EQ(count, 2 * DISCS_EACH * tracks.size());
    EXPECT_EQ(DiscTitles(reader).size(), 2 * DISCS_EACH);
    // The count's kept statement sees a later write of another connection.
    ASSERT_TRUE(OpenCatalogue(path, CatalogueMode::WRITE, writer).isOpen);
    AddTestDisc(writer, TestKey(300), "Later", tracks);
    EXPECT_TRUE(CountTracks(reader, "", count).ok);
    EXPECT_EQ(count, (2 * DISCS_EACH + 1) * tracks.size());
}

}  // namespace
