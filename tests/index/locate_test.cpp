#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "index/locate.h"

namespace {

enum class Kind {
    OPENS,
    UNOPENABLE
};

struct IndexFile {
    uint32_t number;
    uint32_t time;  // low half
    Kind kind = Kind::OPENS;
    uint32_t high = 1;
};

// A file system of drive types and files, recording every path it is asked about.
class FakeVolume : public IndexVolumeProbe {
public:
    void SetDrive(char letter, uint32_t type) { types_[std::string(1, letter) + ":\\"] = type; }

    void AddMarker(char letter) { files_[std::string(1, letter) + ":\\HMDHIFI\\_MDHIFI.HMA"] = {}; }

    void AddIndex(char letter, const IndexFile& f) {
        char path[INDEX_PATH_SIZE];
        char dir[] = "?:\\HMDHIFI";
        dir[0] = letter;
        FormatIndexPath(path, sizeof path, dir, f.number);
        files_[path] = {f.kind == Kind::OPENS, {f.high, f.time}};
    }

    bool WasAsked(const std::string& path) const {
        return std::find(asked_.begin(), asked_.end(), path) != asked_.end();
    }

    uint32_t DriveType(const char* root) override {
        asked_.push_back(root);
        const auto it = types_.find(root);
        return it == types_.end() ? DRIVE_TYPE_NO_ROOT : it->second;
    }

    bool HasAttributes(const char* path) override {
        asked_.push_back(path);
        return files_.count(path) != 0;
    }

    bool ReadLastWriteTime(const char* path, IndexFileTime& time) override {
        const auto it = files_.find(path);
        if (it == files_.end() || !it->second.opens) return false;
        time = it->second.time;
        return true;
    }

private:
    struct File {
        bool opens = true;
        IndexFileTime time = {0, 0};
    };
    std::map<std::string, uint32_t> types_;
    std::map<std::string, File> files_;
    std::vector<std::string> asked_;
};

const uint32_t REMOVABLE = 2;

TEST(LocateTest, ComparesHighHalfSignedThenLowHalfUnsigned) {
    struct Row {
        const char* name;
        IndexFileTime a, b;
        int expected;
    } rows[] = {
        {"equal", {5, 7}, {5, 7}, 0},
        {"later high half", {6, 0}, {5, 0xFFFFFFFF}, 1},
        {"negative high half is earlier", {0x80000000, 0}, {0, 0}, -1},
        {"low half compared unsigned", {5, 0x80000000}, {5, 0x7FFFFFFF}, 1},
        {"earlier low half", {5, 1}, {5, 2}, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const int result = CompareIndexFileTimes(row.a, row.b);
        EXPECT_EQ((result > 0) - (result < 0), row.expected);
    }
}

TEST(LocateTest, FormatsIndexNamesInLowerCaseHex) {
    struct Row {
        uint32_t number;
        const char* expected;
    } rows[] = {{0, "D:\\HMDHIFI\\TRKIDX00.HMA"},
                {10, "D:\\HMDHIFI\\TRKIDX0a.HMA"},
                {255, "D:\\HMDHIFI\\TRKIDXff.HMA"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.number);
        char path[INDEX_PATH_SIZE];
        ASSERT_EQ(FormatIndexPath(path, sizeof path, "D:\\HMDHIFI", row.number), 1);
        EXPECT_STREQ(path, row.expected);
    }
    char tiny[23];  // one byte short of "D:\HMDHIFI\TRKIDX00.HMA"
    EXPECT_EQ(FormatIndexPath(tiny, sizeof tiny, "D:\\HMDHIFI", 0), 0);
    EXPECT_STREQ(tiny, "");
}

TEST(LocateTest, ChoosesTheNewestIndexOfTheMarkedDrive) {
    const Kind UNOPENABLE = Kind::UNOPENABLE;
    struct Row {
        const char* name;
        std::vector<IndexFile> files;
        int found;
        uint32_t number;
        const char* neverAsked;  // index name that must not be looked at
    } rows[] = {
        {"stops at the first missing number", {{0, 5}, {1, 9}, {2, 7}, {4, 100}}, 1, 1, "TRKIDX04.HMA"},
        {"passes over a missing 00", {{1, 5}, {2, 4}, {4, 100}}, 1, 1, "TRKIDX04.HMA"},
        {"passes over a long gap before the first", {{0x20, 3}, {0x21, 2}}, 1, 0x20, "TRKIDX23.HMA"},
        {"equal times keep the lower number", {{0, 5}, {1, 5}, {2, 5}}, 1, 0, "TRKIDX04.HMA"},
        {"newest is number 10",
         {{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 7}, {7, 8}, {8, 9}, {9, 10}, {10, 11}},
         1,
         10,
         "TRKIDX0c.HMA"},
        {"unopenable numbers before the first are passed over",
         {{0, 9, UNOPENABLE}, {1, 9, UNOPENABLE}, {2, 1}},
         1,
         2,
         "TRKIDX04.HMA"},
        {"an unopenable number after the first is not missing",
         {{0, 5}, {1, 99, UNOPENABLE}, {2, 6}},
         1,
         2,
         "TRKIDX04.HMA"},
        {"an older file keeps the search going", {{0, 9}, {1, 5}, {2, 7}, {4, 100}}, 1, 0, "TRKIDX04.HMA"},
        // A zero time is a time like any other: the lower number keeps it.
        {"two files with time 0", {{0, 0, Kind::OPENS, 0}, {1, 0, Kind::OPENS, 0}}, 1, 0, "TRKIDX03.HMA"},
        {"no index file at all", {}, 0, 0, "TRKIDX100.HMA"},
        {"no index file opens", {{0, 1, UNOPENABLE}, {7, 1, UNOPENABLE}}, 0, 0, "TRKIDX100.HMA"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeVolume volume;
        volume.SetDrive('D', REMOVABLE);
        volume.AddMarker('D');
        for (const IndexFile& f : row.files) volume.AddIndex('D', f);
        char directory[INDEX_DIRECTORY_SIZE] = "untouched";
        uint32_t number = 77;
        ASSERT_EQ(FindNewestIndex(volume, directory, number), row.found);
        if (row.found) {
            EXPECT_STREQ(directory, "D:\\HMDHIFI");
            EXPECT_EQ(number, row.number);
        } else {
            EXPECT_STREQ(directory, "untouched");
            EXPECT_EQ(number, 77u);
            EXPECT_TRUE(volume.WasAsked("D:\\HMDHIFI\\TRKIDXff.HMA"));  // the whole range was tried
        }
        EXPECT_FALSE(volume.WasAsked(std::string("D:\\HMDHIFI\\") + row.neverAsked));
    }
}

TEST(LocateTest, AllNumbersPresentEndsAtTheLastTwoDigitNumber) {
    FakeVolume volume;
    volume.SetDrive('D', REMOVABLE);
    volume.AddMarker('D');
    for (uint32_t n = 0; n < 0x100; ++n) volume.AddIndex('D', {n, n});
    char directory[INDEX_DIRECTORY_SIZE];
    uint32_t number = 0;
    ASSERT_EQ(FindNewestIndex(volume, directory, number), 1);
    EXPECT_EQ(number, 0xFFu);
    EXPECT_FALSE(volume.WasAsked("D:\\HMDHIFI\\TRKIDX100.HMA"));
}

TEST(LocateTest, UsesTheFirstExaminedDriveWithTheMarker) {
    struct Drive {
        char letter;
        uint32_t type;
        bool marker;
        uint32_t newestTime;  // 0: no index files
    };
    struct Row {
        const char* name;
        std::vector<Drive> drives;
        int found;
        const char* directory;  // null: nothing found
        char lastLetter;        // the walk examines no letter after this one
    } rows[] = {
        {"D wins over a newer E",
         {{'D', REMOVABLE, true, 5}, {'E', REMOVABLE, true, 50}},
         1,
         "D:\\HMDHIFI",
         'D'},
        {"a CD-ROM with the marker is skipped",
         {{'D', 5, true, 5}, {'E', REMOVABLE, true, 5}},
         1,
         "E:\\HMDHIFI",
         'E'},
        {"unknown and rootless types are skipped",
         {{'C', 0, true, 5}, {'D', 1, true, 5}, {'F', 3, true, 5}},
         1,
         "F:\\HMDHIFI",
         'F'},
        {"remote and RAM disk drives are examined",
         {{'G', 4, true, 5}, {'H', 6, true, 5}},
         1,
         "G:\\HMDHIFI",
         'G'},
        {"the last letter is examined", {{'Z', REMOVABLE, true, 5}}, 1, "Z:\\HMDHIFI", 'Z'},
        {"a marked drive without index ends the search",
         {{'D', REMOVABLE, true, 0}, {'E', REMOVABLE, true, 5}},
         0,
         nullptr,
         'D'},
        {"no marker anywhere", {{'D', REMOVABLE, false, 5}, {'E', 3, false, 0}}, 0, nullptr, 'Z'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeVolume volume;
        for (const Drive& d : row.drives) {
            volume.SetDrive(d.letter, d.type);
            if (d.marker) volume.AddMarker(d.letter);
            if (d.newestTime != 0) volume.AddIndex(d.letter, {0, d.newestTime});
        }
        char directory[INDEX_DIRECTORY_SIZE] = "untouched";
        uint32_t number = 77;
        ASSERT_EQ(FindNewestIndex(volume, directory, number), row.found);
        EXPECT_STREQ(directory, row.found ? row.directory : "untouched");
        EXPECT_EQ(number, row.found ? 0u : 77u);
        EXPECT_FALSE(volume.WasAsked("A:\\"));
        EXPECT_FALSE(volume.WasAsked("B:\\"));
        EXPECT_TRUE(volume.WasAsked(std::string(1, row.lastLetter) + ":\\"));
        EXPECT_FALSE(volume.WasAsked(std::string(1, row.lastLetter + 1) + ":\\"));
    }
}

}  // namespace
