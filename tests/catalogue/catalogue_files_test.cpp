// Catalogue files that are not what they should be, and files that cannot be
// written: each ends in a message naming the file, and what was stored stays.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "catalogue/sqlite_db.h"
#include "catalogue_support.h"
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

void ExpectNamesFile(const std::string& message, const std::string& path) {
    EXPECT_NE(message.find(path), std::string::npos) << message;
}

// A catalogue file with two discs, closed, and its path.
std::string MakeStoredCatalogue(const std::filesystem::path& file) {
    const std::string path = Utf8Path(file);
    Catalogue c;
    EXPECT_TRUE(OpenCatalogue(path, CatalogueMode::WRITE, c).isOpen);
    AddTestDisc(c, TestKey(1), "First", MakeTracks({{"one"}, {"two"}}));
    AddTestDisc(c, TestKey(2), "Second", MakeTracks({{"three"}}));
    return path;
}

// Runs SQL on the file through a connection of the test's own.
void RunSql(const std::string& path, const char* sql) {
    SqliteDb db;
    ASSERT_TRUE(db.Open(path, OpenAccess::CREATE));
    EXPECT_TRUE(db.Exec(sql)) << db.Error();
}

TEST(CatalogueFiles, RefusesWhatIsNotACatalogue) {
    std::mt19937 random(7);
    std::string noise(8192, '\0');
    for (char& c : noise) c = char(random());
    struct Row {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
        const char* says;
    } rows[] = {
        {"random bytes", [&](auto& f) { WriteFileBytes(f, noise); }, "not a Tavolin catalogue"},
        {"an empty file", [](auto& f) { WriteFileBytes(f, ""); }, "empty"},
        {"a text file", [](auto& f) { WriteFileBytes(f, std::string(5000, 'a')); }, "not a Tavolin catalogue"},
        {"another program's SQLite file",
         [](auto& f) { RunSql(Utf8Path(f), "CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES ('x')"); },
         "not a Tavolin catalogue"},
        {"an empty SQLite file of another program",
         [](auto& f) { RunSql(Utf8Path(f), "PRAGMA application_id = 42; PRAGMA user_version = 3"); },
         "not a Tavolin catalogue"},
        {"a catalogue of a newer version",
         [](auto& f) {
             MakeStoredCatalogue(f);
             RunSql(Utf8Path(f), ("PRAGMA user_version = " + std::to_string(CATALOGUE_SCHEMA_VERSION + 1)).c_str());
         },
         "newer"},
        // The header of a real catalogue on a file cut inside its first page.
        {"a catalogue cut short",
         [](auto& f) {
             MakeStoredCatalogue(f);
             RunSql(Utf8Path(f), "PRAGMA wal_checkpoint(TRUNCATE); PRAGMA journal_mode = DELETE");
             WriteFileBytes(f, FileBytes(f).substr(0, 1000));
         },
         "catalogue"},
    };
    for (const Row& row : rows) {
        for (CatalogueMode mode : {CatalogueMode::READ, CatalogueMode::WRITE}) {
            SCOPED_TRACE(std::string(row.name) + (mode == CatalogueMode::READ ? ", reading" : ", writing"));
            TempFolder folder;
            const auto file = folder.Path() / "catalogue.sqlite";
            row.make(file);
            const std::string before = FileBytes(file);
            Catalogue c;
            const CatalogueOpenResult opened = OpenCatalogue(Utf8Path(file), mode, c);
            EXPECT_FALSE(opened.isOpen);
            EXPECT_NE(opened.message.find(row.says), std::string::npos) << opened.message;
            ExpectNamesFile(opened.message, Utf8Path(file));
            EXPECT_EQ(FileBytes(file), before) << "the file was written";
        }
    }
}

TEST(CatalogueFiles, MissingFile) {
    TempFolder folder;
    const auto file = folder.Path() / "deeper" / "catalogue.sqlite";
    Catalogue c;
    ASSERT_TRUE(OpenCatalogue(Utf8Path(file), CatalogueMode::READ, c).isOpen);
    EXPECT_TRUE(c.IsEmpty());
    EXPECT_TRUE(DiscTitles(c).empty());
    EXPECT_TRUE(FoundTitles(c, "").empty());
    EXPECT_FALSE(std::filesystem::exists(file.parent_path())) << "reading created something";
    const AddOutcome refused = AddTestDisc(c, TestKey(1), "x", {});
    EXPECT_EQ(refused.result, AddResult::FAILED);
    ExpectNamesFile(refused.message, Utf8Path(file));
    ASSERT_TRUE(OpenCatalogue(Utf8Path(file), CatalogueMode::WRITE, c).isOpen);
    EXPECT_TRUE(std::filesystem::exists(file));
}

// Rows another tool wrote into a catalogue: too long, not UTF-8, of the
// wrong type. The loose tables (no STRICT) let the test store any type.
TEST(CatalogueFiles, HostileRowsReadBackAsFields) {
    TempFolder folder;
    const std::string path = Utf8Path(folder.Path() / "hostile.sqlite");
    RunSql(path, ("PRAGMA application_id = " + std::to_string(CATALOGUE_APPLICATION_ID) +
                  "; PRAGMA user_version = 1;"
           "CREATE TABLE discs(id INTEGER PRIMARY KEY, key, keyIsDerived, title, indexGeneration, source,"
           " firstAdded, lastUpdated, trackCount, groupCount, totalLength, contentHash);"
           "CREATE TABLE tracks(id INTEGER PRIMARY KEY, disc, position, slot, trackNumber, displayLine, groupName,"
           " artist, album, title, length, bitrate, recorded);"
           "CREATE VIRTUAL TABLE track_search USING fts5(groupName, artist, album, title);"
           "CREATE VIRTUAL TABLE disc_search USING fts5(title);"
           "INSERT INTO discs VALUES (1, '00000001000000000000000000000000', 0, 'Disc', 1, '', '', '', 1, 1, 1.0, '');")
               .c_str());
    std::string longGreek = "'";
    for (int i = 0; i < 400; ++i) longGreek += "Ω";
    longGreek += "'";
    const std::string intact = "'', '', '', ''";
    struct Row {
        const char* name;
        std::string values;  // slot .. recorded
        std::function<void(const TrackRecord&)> check;
    } rows[] = {
        {"a title longer than its field", "0, 1, 'line', '', '', ''," + longGreek + ", 1.5, 1, 1",
         [](const TrackRecord& t) { EXPECT_EQ(CountUtf8Chars(t.title, strlen(t.title)), TRACK_TEXT_CHARS); }},
        {"a line longer than its field", "0, 1, " + std::string("'") + std::string(3000, 'L') + "', '', '', '', '', 1.5, 1, 1",
         [](const TrackRecord& t) { EXPECT_EQ(strlen(t.displayLine), DISPLAY_LINE_CHARS); }},
        {"bytes that are no UTF-8", "0, 1, 'l', '', CAST(X'C328FF41' AS TEXT), '', '', 1.5, 1, 1",
         [](const TrackRecord& t) { EXPECT_STREQ(t.artist, "\xEF\xBF\xBD(\xEF\xBF\xBD" "A"); }},
        {"a blob with a NUL", "0, 1, 'l', '', '', X'41004243', '', 1.5, 1, 1",
         [](const TrackRecord& t) { EXPECT_STREQ(t.album, "A"); }},
        {"NULL texts", "0, 1, NULL, NULL, NULL, NULL, NULL, 1.5, 1, 1",
         [](const TrackRecord& t) { EXPECT_STREQ(t.title, ""); EXPECT_STREQ(t.displayLine, ""); }},
        {"numbers out of range", "-1, 99999999999, 'l', '', '', '', 'x', 1e300, -5, 5000000000",
         [](const TrackRecord& t) {
             EXPECT_EQ(t.slot, 0u); EXPECT_EQ(t.trackNumber, 0u); EXPECT_EQ(t.trackLength, 0.0f);
             EXPECT_EQ(t.bitrate, 0u); EXPECT_EQ(t.recorded, 0u); }},
        {"texts where numbers belong", "'a', 'b', 7, 8, 9, 10, 11, 'long', X'00', 'c'",
         [](const TrackRecord& t) {
             EXPECT_EQ(t.slot, 0u); EXPECT_EQ(t.trackLength, 0.0f); EXPECT_STREQ(t.title, "11"); }},
        {"not a number", "0, 1, 'l', '', '', '', 't', 'NaN', 1, 1",
         [](const TrackRecord& t) { EXPECT_EQ(t.trackLength, 0.0f); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RunSql(path, ("DELETE FROM tracks; INSERT INTO tracks VALUES (1, 1, 0, " + row.values + ")").c_str());
        Catalogue c;
        const CatalogueOpenResult opened = OpenCatalogue(path, CatalogueMode::READ, c);
        ASSERT_TRUE(opened.isOpen) << opened.message;
        std::vector<TrackRecord> tracks;
        ASSERT_TRUE(LoadDiscTracks(c, 1, tracks).ok);
        ASSERT_EQ(tracks.size(), 1u);
        row.check(tracks[0]);
        EXPECT_TRUE(IsValidUtf8(tracks[0].title, strlen(tracks[0].title)));
        EXPECT_EQ(FoundTitles(c, "").size(), 1u);
    }
}

// Writes that cannot happen: the discs stored before are all there after,
// and nothing of the failed disc is.
TEST(CatalogueFiles, FailedWritesKeepTheCatalogue) {
    std::vector<TrackText> many;
    std::string text(200, 'w');
    for (int i = 0; i < 300; ++i) many.push_back({text.c_str(), text.c_str(), text.c_str()});
    const auto big = MakeTracks(many);
    struct Row {
        const char* name;
        std::function<std::string(const std::string& path, Catalogue& c, std::unique_ptr<SqliteDb>& holder)> open;
        const char* says;
    } rows[] = {
        {"another program holds the file locked",
         [](const std::string& path, Catalogue& c, std::unique_ptr<SqliteDb>& holder) {
             CatalogueOptions quick;
             quick.busyTimeoutMs = 50;
             std::string message = OpenCatalogue(path, CatalogueMode::WRITE, c, quick).message;
             holder = std::make_unique<SqliteDb>();
             holder->Open(path, OpenAccess::READ_WRITE);
             EXPECT_TRUE(holder->Exec("BEGIN EXCLUSIVE")) << holder->Error();
             return message;
         },
         "in use by another program"},
        // The window holds the file while tavolin-list starts an add: the
        // add is refused at the start, saying why, and nothing is lost.
        {"another program holds the lock before the catalogue opens",
         [](const std::string& path, Catalogue& c, std::unique_ptr<SqliteDb>& holder) {
             holder = std::make_unique<SqliteDb>();
             holder->Open(path, OpenAccess::READ_WRITE);
             EXPECT_TRUE(holder->Exec("BEGIN IMMEDIATE; DELETE FROM tracks")) << holder->Error();
             CatalogueOptions quick;
             quick.busyTimeoutMs = 50;
             return OpenCatalogue(path, CatalogueMode::WRITE, c, quick).message;
         },
         "in use by another program"},
        // Under a file-size limit (TAVOLIN_FILE_LIMIT, the Wine run of a
        // medium that fills up) the medium really fills; otherwise the file
        // may grow no further than 40 pages.
        {"the disk fills up during the add",
         [](const std::string& path, Catalogue& c, std::unique_ptr<SqliteDb>&) {
             CatalogueOptions full;
             full.maxPageCount = std::getenv("TAVOLIN_FILE_LIMIT") ? 0 : 40;
             return OpenCatalogue(path, CatalogueMode::WRITE, c, full).message;
         },
         // A real medium's failed write said only "cannot be read or written".
         "full"},
        {"opened for reading only",
         [](const std::string& path, Catalogue& c, std::unique_ptr<SqliteDb>&) {
             return OpenCatalogue(path, CatalogueMode::READ, c).message;
         },
         "reading only"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder folder;
        const std::string path = MakeStoredCatalogue(folder.Path() / "catalogue.sqlite");
        {
            Catalogue c;
            std::unique_ptr<SqliteDb> holder;
            const std::string opening = row.open(path, c, holder);
            // Refused at the opening or at the add, the message says why.
            const AddOutcome added = opening.empty() ? AddTestDisc(c, TestKey(3), "Third", big)
                                                     : AddOutcome{AddResult::FAILED, 0, opening};
            EXPECT_EQ(added.result, AddResult::FAILED);
            EXPECT_NE(added.message.find(row.says), std::string::npos) << added.message;
            ExpectNamesFile(added.message, path);
        }
        Catalogue after;
        ASSERT_TRUE(OpenCatalogue(path, CatalogueMode::READ, after).isOpen);
        EXPECT_EQ(DiscTitles(after), (std::vector<std::string>{"First", "Second"}));
        EXPECT_EQ(FoundTitles(after, "").size(), 3u);
        EXPECT_TRUE(FoundTitles(after, "www").empty());
    }
}

// A file the user may not write: opening it to write is refused, saying
// why, and the file keeps its bytes: natively as nobody in a child process,
// and on Windows through the read-only attribute (under Wine, running as
// root, such a file was once opened and written).
TEST(CatalogueFiles, ReadOnlyFile) {
    TempFolder folder;
    const std::string path = MakeStoredCatalogue(folder.Path() / "catalogue.sqlite");
    std::filesystem::permissions(folder.Path(), std::filesystem::perms(0755));
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    const std::string before = FileBytes(path);
    auto refused = [&path] {
        Catalogue c;
        const CatalogueOpenResult opened = OpenCatalogue(path, CatalogueMode::WRITE, c);
        const bool named = opened.message.find(path) != std::string::npos;
        const bool says = opened.message.find("read-only") != std::string::npos ||
                          opened.message.find("cannot") != std::string::npos;
        return !opened.isOpen && named && says;
    };
#ifdef _WIN32
    EXPECT_TRUE(refused());
#else
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        _exit(refused() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
#endif
    EXPECT_EQ(FileBytes(path), before);
    std::filesystem::permissions(path, std::filesystem::perms(0644));  // so the folder can be removed
}

}  // namespace
