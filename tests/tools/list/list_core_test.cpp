#include "tools/shipped/list/list_core.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "catalogue/found_rows.h"
#include "support/temp_folder/temp_folder.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "tools/shipped/list/folder_access.h"

namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path, int ageHours) {
    std::ofstream(path, std::ios::binary) << "x";
    // Whole hours from a fixed base, so equal ages give equal times.
    static const fs::file_time_type base = fs::file_time_type::clock::now();
    fs::last_write_time(path, base - std::chrono::hours(ageHours));
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Recorders write upper-case names; copies on other systems may hold any
// case, while the locator asks for "HMDHIFI\TRKIDX0a.HMA". Numbers 08, 09
// and 0a are present (the ones before are passed over), 0a the newest.
TEST(ResolveIndexPath, FindsNamesInAnyLetterCase) {
    struct Row {
        const char* name;
        const char* folder;
        const char* marker;
        std::vector<const char*> files;  // numbers 08, 09, 0a, in that order
        const char* expected;
    };
    const Row rows[] = {
        {"upper case, as recorders write",
         "HMDHIFI",
         "_MDHIFI.HMA",
         {"TRKIDX08.HMA", "TRKIDX09.HMA", "TRKIDX0A.HMA"},
         "HMDHIFI/TRKIDX0A.HMA"},
        {"lower case",
         "hmdhifi",
         "_mdhifi.hma",
         {"trkidx08.hma", "trkidx09.hma", "trkidx0a.hma"},
         "hmdhifi/trkidx0a.hma"},
        {"mixed case",
         "HmdHiFi",
         "_MdHiFi.hma",
         {"TRKIDX08.HMA", "trkidx09.hma", "TrkIdx0A.Hma"},
         "HmdHiFi/TrkIdx0A.Hma"},
        {"the locator's own spelling",
         "HMDHIFI",
         "_MDHIFI.HMA",
         {"TRKIDX08.HMA", "TRKIDX09.HMA", "TRKIDX0a.HMA"},
         "HMDHIFI/TRKIDX0a.HMA"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder root;
        fs::create_directories(root.Path() / row.folder);
        Touch(root.Path() / row.folder / row.marker, 0);
        int age = 30;
        for (const char* file : row.files) Touch(root.Path() / row.folder / file, age -= 10);
        // The root, and the HMDHIFI folder itself with and without a
        // trailing separator, name the same index.
        for (const fs::path& named : {root.Path(), root.Path() / row.folder, root.Path() / row.folder / ""}) {
            SCOPED_TRACE(named);
            fs::path index;
            std::string error;
            ASSERT_TRUE(ResolveIndexPath(named, index, error)) << error;
            // Where the file system folds case, the locator's spelling finds it.
            EXPECT_TRUE(fs::equivalent(index, root.Path() / row.expected)) << index;
        }
    }
}

// Where the file system tells cases apart, two spellings of one name can
// both exist: the exact one is taken, else the first in byte order.
TEST(FindEntryAnyCase, PrefersTheExactNameThenByteOrder) {
    TempFolder root;
    for (const char* name : {"TRKIDX0A.HMA", "trkidx0a.hma", "TrkIdx0a.hma"}) Touch(root.Path() / name, 0);
    // Windows keeps one file under all three names: any spelling finds it.
    const bool isCaseFolding =
        std::distance(fs::directory_iterator(root.Path()), fs::directory_iterator()) == 1;
    const std::pair<const char*, const char*> rows[] = {
        {"trkidx0a.hma", "trkidx0a.hma"},
        {"TRKIDX0a.HMA", "TRKIDX0A.HMA"},
        {"tRKIDX0A.HMA", "TRKIDX0A.HMA"},
    };
    for (const auto& [name, expected] : rows) {
        SCOPED_TRACE(name);
        fs::path found;
        ASSERT_TRUE(FindEntryAnyCase(root.Path(), name, found));
        if (isCaseFolding)
            EXPECT_TRUE(fs::equivalent(found, root.Path() / "TRKIDX0A.HMA"));
        else
            EXPECT_EQ(found.filename().string(), expected);
    }
    fs::path found;
    EXPECT_FALSE(FindEntryAnyCase(root.Path(), "TRKIDX0B.HMA", found));
    EXPECT_FALSE(FindEntryAnyCase(root.Path() / "missing", "TRKIDX0A.HMA", found));
}

// The probe answers the locator as Win32 would on the folder as drive C:.
TEST(CopyVolumeProbe, AnswersAsADriveWould) {
    TempFolder root;
    fs::create_directories(root.Path() / "HMDHIFI" / "TRKIDX01.HMA");  // a folder: never opens
    Touch(root.Path() / "HMDHIFI" / "TRKIDX00.HMA", 0);
    const fs::path dated = root.Path() / "HMDHIFI" / "TRKIDX02.HMA";
    Touch(dated, 0);
    // 2021-03-04 05:06:07 UTC in FILETIME units (100 ns since 1601).
    const auto instant = std::chrono::sys_seconds(std::chrono::seconds(1614834367));
    fs::last_write_time(dated, std::chrono::file_clock::from_sys(instant));
    constexpr uint64_t EXPECTED_FILETIME = 132593079670000000ull;

    NativeFolderAccess access;
    CopyVolumeProbe probe(access, root.Path().string(), false);
    EXPECT_EQ(probe.DriveType("C:\\"), 2u);
    EXPECT_EQ(probe.DriveType("D:\\"), DRIVE_TYPE_NO_ROOT);
    EXPECT_TRUE(probe.HasAttributes("C:\\hmdhifi\\trkidx01.hma"));
    EXPECT_FALSE(probe.HasAttributes("C:\\HMDHIFI\\TRKIDX03.HMA"));
    EXPECT_FALSE(probe.HasAttributes("D:\\HMDHIFI\\TRKIDX00.HMA"));
    IndexFileTime time{};
    EXPECT_FALSE(probe.ReadLastWriteTime("C:\\HMDHIFI\\TRKIDX01.HMA", time));
    ASSERT_TRUE(probe.ReadLastWriteTime("C:\\HMDHIFI\\TRKIDX02.HMA", time));
    EXPECT_EQ((uint64_t(time.high) << 32) | time.low, EXPECTED_FILETIME);
}

TEST(ResolveIndexPath, Failures) {
    TempFolder root;
    fs::path index;
    std::string error;
    const fs::path missing = root.Path() / "no-such-thing";
    EXPECT_FALSE(ResolveIndexPath(missing, index, error));
    EXPECT_NE(error.find(missing.string()), std::string::npos) << error;

    EXPECT_FALSE(ResolveIndexPath(root.Path(), index, error));  // no HMDHIFI
    EXPECT_NE(error.find("no HMDHIFI folder"), std::string::npos) << error;

    fs::create_directories(root.Path() / "HMDHIFI");
    Touch(root.Path() / "HMDHIFI" / "TRKIDX00.HMA", 0);
    // No marker: not a recorder for the window, named by its root or itself.
    for (const fs::path& named : {root.Path(), root.Path() / "HMDHIFI"}) {
        EXPECT_FALSE(ResolveIndexPath(named, index, error));
        EXPECT_NE(error.find("_MDHIFI.HMA"), std::string::npos) << error;
    }

    fs::remove(root.Path() / "HMDHIFI" / "TRKIDX00.HMA");
    Touch(root.Path() / "HMDHIFI" / "_MDHIFI.HMA", 0);
    EXPECT_FALSE(ResolveIndexPath(root.Path(), index, error));  // no index file
    EXPECT_NE(error.find(root.Path().string() + ": no track index file"), std::string::npos) << error;

    // A renamed HMDHIFI folder is known by its marker alone.
    const fs::path renamed = root.Path() / "Disc 3 backup";
    fs::create_directories(renamed);
    Touch(renamed / "trkidx00.hma", 0);
    EXPECT_FALSE(ResolveIndexPath(renamed, index, error));
    EXPECT_NE(error.find("no HMDHIFI folder"), std::string::npos) << error;
    Touch(renamed / "_mdhifi.hma", 0);
    ASSERT_TRUE(ResolveIndexPath(renamed, index, error)) << error;
    // Where the file system folds case, the locator's spelling finds it.
    EXPECT_TRUE(fs::equivalent(index, renamed / "trkidx00.hma")) << index;

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

// The identity comes from the disc list of the generation read, found in
// any letter case beside it; anything else leaves it unknown.
TEST(ReadDiscIdentityBeside, ReadsTheGenerationsOwnList) {
    const uint8_t id[16] = {1, 0, 0, 2, 0x4d, 0x5a, 0x2d, 0x4e, 0x48, 0x37, 0x30, 0x30, 0xde, 0xad, 0xbe, 0xef};
    const char* hex = "010000024d5a2d4e48373030deadbeef";
    const struct {
        const char *name, *index, *list;  // list nullptr: none written
        size_t size;
        const char* expected;
    } rows[] = {
        {"present", "TRKIDX07.HMA", "MCLIST07.HMA", 0x200, hex},
        {"one byte short", "TRKIDX07.HMA", "MCLIST07.HMA", 0x4F, ""},
        {"missing", "TRKIDX07.HMA", nullptr, 0, ""},
        {"other letter case", "trkidx0a.hma", "McList0A.Hma", 0x200, hex},
        {"only another generation's list", "TRKIDX07.HMA", "MCLIST06.HMA", 0x200, ""},
        {"index not named by its generation", "copy.hma", "MCLIST07.HMA", 0x200, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder folder;
        WriteBytes(folder.Path() / row.index, {1});
        if (row.list) WriteBytes(folder.Path() / row.list, index_image::BuildDiscList(id, row.size));
        char text[DISC_IDENTITY_TEXT_SIZE];
        FormatDiscIdentity(ReadDiscIdentityBeside(folder.Path() / row.index), text);
        EXPECT_STREQ(text, row.expected);
    }
}

std::string Records(const std::vector<uint8_t>& image) {
    FILE* out = std::tmpfile();
    PrintIndexRecords(TrackIndexFile{image.data(), image.size()}, out);
    std::string text = ReadWholeFile(out);
    std::fclose(out);
    return text;
}

// A file far larger than any index is not read whole (gigabytes of memory
// for a stray big file); it is read as far as the scan reads it.
TEST(ReadIndexImage, HugeFileIsReadUpToTheLimit) {
    index_image::IndexImageBuilder b;
    b.SetDiscTitle("Big");
    b.AddTrack({.slot = 0, .title = "T"});
    const std::vector<uint8_t> bytes = b.Build();
    TempFolder folder;
    const fs::path file = folder.Path() / "huge.hma";
    WriteBytes(file, bytes);
    fs::resize_file(file, 4 * uintmax_t(INDEX_READ_LIMIT));  // sparse: the rest is zeros
    std::vector<uint8_t> image;
    ASSERT_TRUE(ReadIndexImage(file, image));
    EXPECT_EQ(image.size(), size_t(INDEX_READ_LIMIT) + INDEX_IMAGE_PADDING);
    EXPECT_EQ(Records(image), Records(bytes));
}

TEST(EscapeTsvField, EscapesSeparatorsAndBackslash) {
    const std::pair<const char*, const char*> rows[] = {
        {"", ""},          {"plain", "plain"},     {"a\\b", "a\\\\b"},
        {"a\tb", "a\\tb"}, {"a\r\nb", "a\\r\\nb"}, {"\xE9t\xE9", "\xE9t\xE9"},
    };
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(EscapeTsvField(text), expected);
    }
}

TEST(CsvText, QuotesOnlyWhatNeedsIt) {
    const std::pair<const char*, const char*> rows[] = {
        {"", ""},
        {"plain \xE9t\xE9", "plain \xE9t\xE9"},
        {"a, b", "\"a, b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"line\nfeed", "\"line\nfeed\""},
        {"tab\tstays", "tab\tstays"},
    };
    for (const auto& [text, expected] : rows) {
        SCOPED_TRACE(text);
        EXPECT_EQ(CsvText(text), expected);
    }
}

TEST(PrintIndexRecords, FileOrderTabSeparated) {
    using namespace index_image;
    IndexImageBuilder b;
    b.SetDiscTitle("Disc");
    b.AddGroup({1, 1, "G\\roup"});
    b.AddTrack({.slot = 0, .title = "One", .artist = "A", .trackNumber = 1, .timing = {{0, 0, 0, 0}},
                .recordedDate = DosDateWord(2016, 9, 13), .recordedTime = DosTimeWord(23, 13, 14)});
    b.AddTrack({.slot = 2, .trackNumber = 2, .codecId = CODEC_HI_SP, .timing = {{0, 9, 0, 9}}});
    const std::vector<uint8_t> image = b.Build();
    EXPECT_EQ(Records(image),
              "disc\t1\tDisc\n"
              "0\t1\t0.0232727267\t132000\tG\\\\roup\tA\t\tOne\t001)  {G\\\\roup}     A \\\\ One     (00s)   "
              " [ LP2 132kbps ]\t2016-09-13 23:13:14\n"
              "2\t2\t4.6500001\t256000\t\t\t\t\tUNTITLED TRACK 3     (05s)    [ HI-SP 256kbps ]\t\n");

    IndexImageBuilder untitledDisc;
    EXPECT_EQ(Records(untitledDisc.Build()), "disc\t0\t\n");
    untitledDisc.AddTrack({.slot = 0, .title = "T", .timing = {{0, 0, 0, 0}}});
    EXPECT_EQ(Records(untitledDisc.Build()).substr(0, 10), "disc\t0\t\n0\t");
}

}  // namespace
