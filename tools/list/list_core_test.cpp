#include "list_core.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

#include "support/index_image/index_image_builder.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder under the temporary directory, removed at the end.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("tavolin-list-test-" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

void Touch(const fs::path& path, int ageHours) {
    std::ofstream(path, std::ios::binary) << "x";
    // Whole hours from a fixed base, so equal ages give equal times.
    static const fs::file_time_type base = fs::file_time_type::clock::now();
    fs::last_write_time(path, base - std::chrono::hours(ageHours));
}

TEST(ResolveIndexPath, PicksTheNewestIndexOfARecorder) {
    struct Row {
        const char* name;
        std::vector<std::pair<int, int>> files;  // index number, age in hours (lower is newer)
        const char* expected;
    };
    const Row rows[] = {
        {"newest of three", {{0, 5}, {1, 1}, {2, 3}}, "TRKIDX01.HMA"},
        {"a gap ends the search", {{0, 5}, {1, 4}, {2, 3}, {4, 0}}, "TRKIDX02.HMA"},
        {"missing numbers before the first are passed over", {{1, 5}, {2, 4}}, "TRKIDX02.HMA"},
        {"equal times: the lower number", {{0, 2}, {1, 2}}, "TRKIDX00.HMA"},
        {"lower-case hexadecimal names", {{0x0, 9}, {0x1, 9}, {0x2, 9}, {0x3, 9}, {0x4, 9}, {0x5, 9}, {0x6, 9},
                                          {0x7, 9}, {0x8, 9}, {0x9, 9}, {0xa, 1}}, "TRKIDX0a.HMA"},
        {"an older file after the newest keeps the search going", {{0, 5}, {1, 1}, {2, 9}, {3, 0}},
         "TRKIDX03.HMA"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder root;
        fs::create_directories(root.Path() / "HMDHIFI");
        for (const auto& [number, age] : row.files) {
            char name[32];
            snprintf(name, sizeof name, "TRKIDX%02x.HMA", number);
            Touch(root.Path() / "HMDHIFI" / name, age);
        }
        fs::path index;
        std::string error;
        ASSERT_TRUE(ResolveIndexPath(root.Path(), index, error)) << error;
        EXPECT_EQ(index.filename().string(), row.expected);
    }
}

TEST(ResolveIndexPath, Failures) {
    TempFolder root;
    fs::path index;
    std::string error;
    const fs::path missing = root.Path() / "no-such-thing";
    EXPECT_FALSE(ResolveIndexPath(missing, index, error));
    EXPECT_NE(error.find(missing.string()), std::string::npos) << error;

    EXPECT_FALSE(ResolveIndexPath(root.Path(), index, error));  // no HMDHIFI
    EXPECT_NE(error.find("HMDHIFI"), std::string::npos) << error;

    fs::create_directories(root.Path() / "HMDHIFI");
    EXPECT_FALSE(ResolveIndexPath(root.Path(), index, error));  // no index file
    EXPECT_NE(error.find(root.Path().string()), std::string::npos) << error;

    std::vector<uint8_t> image;
    EXPECT_FALSE(ReadIndexImage(missing, image));

    // A file is taken as the index itself.
    const fs::path file = root.Path() / "HMDHIFI" / "copy.hma";
    Touch(file, 0);
    ASSERT_TRUE(ResolveIndexPath(file, index, error));
    EXPECT_EQ(index, file);
    ASSERT_TRUE(ReadIndexImage(file, image));
    EXPECT_EQ(image.size(), 101u);
    EXPECT_EQ(image[0], 'x');
}

std::string Listing(const std::vector<uint8_t>& image, bool tsv);

// A file far larger than any index used to be read whole (gigabytes of
// memory for a stray big file); it is read as far as the scan reads it.
TEST(ReadIndexImage, HugeFileIsReadUpToTheLimit) {
    index_image::IndexImageBuilder b;
    b.SetDiscTitle("Big");
    b.AddTrack({.slot = 0, .title = "T"});
    const std::vector<uint8_t> bytes = b.Build();
    TempFolder folder;
    const fs::path file = folder.Path() / "huge.hma";
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                std::streamsize(bytes.size()));
    fs::resize_file(file, 4 * uintmax_t(INDEX_READ_LIMIT));  // sparse: the rest is zeros
    std::vector<uint8_t> image;
    ASSERT_TRUE(ReadIndexImage(file, image));
    EXPECT_EQ(image.size(), size_t(INDEX_READ_LIMIT) + INDEX_IMAGE_PADDING);
    EXPECT_EQ(Listing(image, true), Listing(bytes, true));
}

TEST(EscapeTsvField, EscapesSeparatorsAndBackslash) {
    const std::pair<const char*, const char*> rows[] = {
        {"", ""},           {"plain", "plain"},       {"a\\b", "a\\\\b"},  {"a\tb", "a\\tb"},
        {"a\r\nb", "a\\r\\nb"}, {"\xE9t\xE9", "\xE9t\xE9"},
    };
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(EscapeTsvField(text), expected);
    }
}

std::string Listing(const std::vector<uint8_t>& image, bool tsv) {
    TempFolder folder;
    const fs::path path = folder.Path() / "out.txt";
    FILE* out = fopen(path.string().c_str(), "wb");
    PrintListing(TrackIndexFile{image.data(), image.size()}, tsv, out);
    fclose(out);
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(PrintListing, PlainAndTsv) {
    using namespace index_image;
    IndexImageBuilder b;
    b.SetDiscTitle("Disc");
    b.AddGroup({1, 1, "G\\roup"});
    b.AddTrack({.slot = 0, .title = "One", .artist = "A", .trackNumber = 1, .timing = {{0, 0, 0, 0}}});
    b.AddTrack({.slot = 2, .trackNumber = 2, .codecId = CODEC_HI_SP, .timing = {{0, 9, 0, 9}}});
    const std::vector<uint8_t> image = b.Build();
    EXPECT_EQ(Listing(image, false),
              "Disc\n"
              "001)  {G\\roup}     A \\ One     (00s)    [ LP2 132kbps ]\n"
              "UNTITLED TRACK 3     (05s)    [ HI-SP 256kbps ]\n");
    EXPECT_EQ(Listing(image, true),
              "disc\t1\tDisc\n"
              "0\t1\t0.0232727267\t132000\tG\\\\roup\tA\t\tOne\t001)  {G\\\\roup}     A \\\\ One     (00s)    [ LP2 132kbps ]\n"
              "2\t2\t4.6500001\t256000\t\t\t\t\tUNTITLED TRACK 3     (05s)    [ HI-SP 256kbps ]\n");

    IndexImageBuilder untitledDisc;
    EXPECT_EQ(Listing(untitledDisc.Build(), true), "disc\t0\t\n");
    untitledDisc.AddTrack({.slot = 0, .title = "T", .timing = {{0, 0, 0, 0}}});
    EXPECT_EQ(Listing(untitledDisc.Build(), true).substr(0, 10), "disc\t0\t\n0\t");
}

}  // namespace
