// tavolin-list as a whole: options, output forms and failures, through
// RunList on built images and on the demo recorder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>

#include "catalogue/disc_key.h"

#include "listing/compare_tracks.h"
#include "listing/format_line.h"
#include "listing/track_catalogue.h"
#include "settings/format_file.h"
#include "support/temp_folder/temp_folder.h"
#include "tavolin_version.h"
#include "tools/shipped/demo/demo_disc.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "tools/shipped/list/list_core.h"
#include "tools/lib/listing_reference/listing_reference.h"

namespace fs = std::filesystem;

namespace {

struct ListRun {
    int status;
    std::string out, err;
};

ListRun RunWith(const std::vector<std::string>& args) {
    FILE* out = std::tmpfile();
    FILE* err = std::tmpfile();
    ListRun run;
    run.status = RunList(args, out, err);
    run.out = ReadWholeFile(out);
    run.err = ReadWholeFile(err);
    std::fclose(out);
    std::fclose(err);
    return run;
}

class ListRunTest : public testing::Test {
protected:
    std::string Write(const char* name, const std::vector<uint8_t>& bytes) {
        const fs::path path = temp_.Path() / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return path.string();
    }
    TempFolder temp_;
    const fs::path& dir_ = temp_.Path();
};

std::vector<uint8_t> MixedDisc() {
    using namespace index_image;
    IndexImageBuilder b;
    b.SetDiscTitle("Mixed");
    b.AddGroup({1, 2, "Live"});
    b.AddGroup({3, 3, "Club"});
    // Tracks 1 and 2 recorded in the reverse of their play order; 3 and 4 sent from a computer.
    const uint16_t day = DosDateWord(2016, 9, 13);
    b.AddTrack({.slot = 0, .title = "Intro", .artist = "abba", .album = "Live, Vol. 1", .timing = {{0, 1, 0, 0}},
                .recordedDate = day, .recordedTime = DosTimeWord(23, 12, 16)});
    b.AddTrack({.slot = 1, .title = "Say \"Hi\"", .artist = "ABBA", .timing = {{0, 3, 0, 0}},
                .recordedDate = day, .recordedTime = DosTimeWord(23, 11, 46)});
    b.AddTrack({.slot = 2,
                .title = "Two\nLines",
                .artist = "Zed",
                .codecId = CODEC_PCM,
                .family = 0x80,
                .timing = {{0, 2, 0, 0}}});
    b.AddTrack({.slot = 3, .timing = {{0, 0, 0, 0}}});
    return b.Build();
}

// The display lines of MixedDisc's tracks 1 to 4.
constexpr const char* T1 = "001)  {Live}     abba \\ Live, Vol. 1 \\ Intro     (01s)    [ LP2 132kbps ]\n";
constexpr const char* T2 = "002)  {Live}     ABBA \\ Say \"Hi\"     (03s)    [ LP2 132kbps ]\n";
constexpr const char* T3 = "003)  {Club}     Zed \\ TwoLines     (00s)    [ PCM 1411kbps ]\n";
constexpr const char* T4 = "UNTITLED TRACK 4     (00s)    [ LP2 132kbps ]\n";
constexpr const char* LIVE = "001) Live       (04s)\n";
constexpr const char* CLUB = "002) Club       (00s)\n";

std::string Cat(std::initializer_list<const char*> parts) {
    std::string text;
    for (const char* p : parts) text += p;
    return text;
}

// Every option on a small disc: "@" in an argument stands for the disc's
// index file, "#" for it as TRKIDX07.HMA with its disc list, "*" for a
// plain disc, "?" for a path that does not exist, "$" for a catalogue file
// (the rows build it up in turn). In the output "%" stands for the plain
// disc's key (the hash of its image) and the catalogue's times read "<now>".
TEST_F(ListRunTest, OptionsAndTheirOutput) {
    const std::string disc = Write("mixed.hma", MixedDisc());
    const std::string listed = Write("TRKIDX07.HMA", MixedDisc());
    Write("mclist07.hma", index_image::BuildDiscList(DEMO_DISC_IDENTITY));
    const std::string missing = (dir_ / "missing").string();
    const std::vector<uint8_t> plainImage = index_image::IndexImageBuilder().AddTrack({}).Build();
    const std::string plain = Write("plain.hma", plainImage);
    const std::string catalogue = (dir_ / "stored" / "catalogue.sqlite").string();
    char plainKey[DISC_KEY_SIZE];
    DiscKeyFromImage(plainImage.data(), plainImage.size(), plainKey);
    const std::string id = "010000024d5a2d4e483730309c3e5107";
    struct Row {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string out;
        const char* err;  // a part of stderr; "" for none at all
    };
    const Row rows[] = {
        {"default: the Full Listing by track number", {"@"}, LIST_OK, Cat({"Mixed\n", T1, T2, T3, T4}), ""},
        {"group listing by group number", {"--group", "@"}, LIST_OK, Cat({"Mixed\n", LIVE, CLUB}), ""},
        {"text key folds case, the next level decides",
         {"--sort", "artist,-number", "@"},
         LIST_OK,
         Cat({"Mixed\n", T4, T2, T1, T3}),
         ""},
        {"case-sensitive level: upper case first",
         {"--sort", "artist,-number", "--case", "1", "@"},
         LIST_OK,
         Cat({"Mixed\n", T4, T2, T3, T1}),
         ""},
        {"key names ignore case; --opt=value",
         {"--sort=-LENGTH", "@"},
         LIST_OK,
         Cat({"Mixed\n", T2, T1, T3, T4}),
         ""},
        {"group length ascending",
         {"@", "--group", "--sort", "length"},
         LIST_OK,
         Cat({"Mixed\n", CLUB, LIVE}),
         ""},
        {"recorded: none first, then the next level", {"--sort", "recorded", "@"}, LIST_OK,
         Cat({"Mixed\n", T4, T3, T2, T1}), ""},
        {"csv: quoting, seconds, shown length, mode, recorded, no disc id",
         {"--csv", "@"},
         LIST_OK,
         "number,group,artist,album,title,seconds,length,mode,recorded,disc_id\r\n"
         "1,Live,abba,\"Live, Vol. 1\",Intro,1.001,01s,LP2 132kbps,2016-09-13 23:12:16,\r\n"
         "2,Live,ABBA,,\"Say \"\"Hi\"\"\",2.956,03s,LP2 132kbps,2016-09-13 23:11:46,\r\n"
         "3,Club,Zed,,TwoLines,0.185,00s,PCM 1411kbps,,\r\n"
         "4,,,,,0.023,00s,LP2 132kbps,,\r\n",
         ""},
        {"csv groups, lengths cut",
         {"--csv", "--group", "--no-round", "--sort", "-number", "@"},
         LIST_OK,
         "number,group,artist,album,title,seconds,length,mode,recorded,disc_id\r\n"
         "2,Club,,,,0.185,00s,,,\r\n"
         "1,Live,,,,3.956,03s,,,\r\n",
         ""},
        {"csv with the disc list: its identity on every row", {"--csv", "--group", "#"}, LIST_OK,
         "number,group,artist,album,title,seconds,length,mode,recorded,disc_id\r\n1,Live,,,,3.956,04s,,,"
         "010000024d5a2d4e483730309c3e5107\r\n2,Club,,,,0.185,00s,,,010000024d5a2d4e483730309c3e5107\r\n", ""},
        {"info with the disc list", {"--info", "#"}, LIST_OK,
         "title: Mixed\nidentity: 010000024d5a2d4e483730309c3e5107\nindex: TRKIDX07.HMA\ntracks: 4\ngroups: 2\n"
         "length: 04s\nrecorded: 2016-09-13 23:11:46 to 2016-09-13 23:12:16\n", ""},
        {"info of a disc without a list, recording times or a title", {"--info", "*"}, LIST_OK,
         "title:\nidentity:\nindex: plain.hma\ntracks: 1\ngroups: 0\nlength: 10s\nrecorded: none\n", ""},
        {"info and csv", {"--info", "--csv", "@"}, LIST_USAGE, "", "choose one of --csv, --info"},
        {"several paths: headings, a blank line, a bad one skipped",
         {"--group", "@", "?", "@"},
         LIST_FAILED,
         Cat({"==> @ <==\nMixed\n", LIVE, CLUB, "\n==> @ <==\nMixed\n", LIVE, CLUB}),
         "missing: no such file or folder"},
        {"-- ends the options",
         {"--", "--group"},
         LIST_FAILED,
         "",
         "tavolin-list: --group: no such file or folder"},
        {"unknown key lists the keys",
         {"--sort", "artist,year", "@"},
         LIST_USAGE,
         "",
         "unknown sort key 'year'; the keys are number, length, bitrate, group, artist, album, title"},
        {"four keys", {"--sort", "artist,album,title,number", "@"}, LIST_USAGE, "", "at most three"},
        {"an empty key", {"--sort", "artist,,title", "@"}, LIST_USAGE, "", "unknown sort key ''"},
        {"case level out of range",
         {"--case", "1,4", "@"},
         LIST_USAGE,
         "",
         "--case takes sort levels 1, 2 and 3"},
        {"unknown option", {"--grup", "@"}, LIST_USAGE, "", "unknown option '--grup'"},
        {"a value missing", {"@", "--sort"}, LIST_USAGE, "", "--sort needs a value"},
        {"a value where none is taken", {"--csv=yes", "@"}, LIST_USAGE, "", "--csv takes no value"},
        {"two output forms", {"--csv", "--tsv", "@"}, LIST_USAGE, "", "choose one of"},
        {"tsv takes no listing choice", {"--tsv", "--group", "@"}, LIST_USAGE, "", "--tsv lists"},
        {"no path", {"--group"}, LIST_USAGE, "", "no PATH given"},
        {"find in a catalogue not made yet: nothing, and nothing made", {"--find", "", "--catalogue", "$"}, LIST_OK,
         "", ""},
        {"add: a disc with its identity, one keyed by its image", {"--add", "#", "*", "--catalogue", "$"}, LIST_OK,
         "added\tMixed\t4 tracks\t" + id + "\nadded\t\t1 tracks\t%\n", ""},
        {"add again: unchanged; a bad path reported, the others added", {"--add", "?", "#", "--catalogue=$"},
         LIST_FAILED, "unchanged\tMixed\t4 tracks\t" + id + "\n", "missing: no such file or folder"},
        {"discs", {"--discs", "--catalogue", "$"}, LIST_OK,
         "%\t\t1 tracks\t10s\t<now>\n" + id + "\tMixed\t4 tracks\t04s\t<now>\n", ""},
        {"discs as a table", {"--discs", "--csv", "--catalogue", "$"}, LIST_OK,
         "disc_id,title,tracks,seconds,length,last_updated\r\n%,,1,9.914,10s,<now>\r\n" + id +
             ",Mixed,4,4.165,04s,<now>\r\n", ""},
        {"find: case folded, in the group and album, the disc title first", {"--find", "LIVE", "--catalogue", "$"},
         LIST_OK, Cat({"Mixed\t", T1, "Mixed\t", T2}), ""},
        {"find as the --csv table with the disc's title", {"--find", "zed", "--csv", "--catalogue", "$"}, LIST_OK,
         "number,group,artist,album,title,seconds,length,mode,recorded,disc_id,disc_title\r\n"
         "3,Club,Zed,,TwoLines,0.185,00s,PCM 1411kbps,," + id + ",Mixed\r\n", ""},
        {"a stored disc by a prefix of its identity, listed as its recorder lists it",
         {"--disc", "01000002", "--csv", "--group", "--catalogue", "$"}, LIST_OK,
         "number,group,artist,album,title,seconds,length,mode,recorded,disc_id\r\n1,Live,,,,3.956,04s,,,"
         "010000024d5a2d4e483730309c3e5107\r\n2,Club,,,,0.185,00s,,,010000024d5a2d4e483730309c3e5107\r\n", ""},
        {"a stored disc by its title, --info", {"--disc", "Mixed", "--info", "--catalogue", "$"}, LIST_OK,
         "title: Mixed\nidentity: 010000024d5a2d4e483730309c3e5107\nindex: TRKIDX07.HMA\ntracks: 4\ngroups: 2\n"
         "length: 04s\nrecorded: 2016-09-13 23:11:46 to 2016-09-13 23:12:16\n", ""},
        {"a stored disc keeps no index records for --tsv", {"--disc", "Mixed", "--tsv", "--catalogue", "$"},
         LIST_USAGE, "", "--tsv prints an index file's own records"},
        {"remove", {"--remove", "Mixed", "--catalogue", "$"}, LIST_OK, "removed\tMixed\t" + id + "\n", ""},
        {"a removed disc is gone", {"--disc", "Mixed", "--catalogue", "$"}, LIST_FAILED, "",
         "no disc has the key or title \"Mixed\""},
        {"a catalogue that is not one", {"--discs", "--catalogue", "@"}, LIST_FAILED, "", "not a Tavolin catalogue"},
        {"find takes no path", {"--find", "x", "@"}, LIST_USAGE, "", "take no PATH"},
        {"two catalogue commands", {"--discs", "--remove", "x"}, LIST_USAGE, "", "choose one of --add"},
        {"add takes no output form", {"--add", "--csv", "@"}, LIST_USAGE, "", "--add and --remove take only"},
        {"a catalogue without a command", {"--catalogue", "$", "@"}, LIST_USAGE, "", "--catalogue goes with"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> args;
        for (std::string a : row.args) {
            if (a.size() > 1 && a.back() == '$') a = a.substr(0, a.size() - 1) + catalogue;
            args.push_back(a == "@" ? disc : a == "#" ? listed : a == "*" ? plain : a == "?" ? missing
                           : a == "$" ? catalogue : a);
        }
        std::string out = row.out;
        for (size_t at; (at = out.find("==> @")) != std::string::npos;) out.replace(at + 4, 1, disc);
        for (size_t at; (at = out.find('%')) != std::string::npos;) out.replace(at, 1, plainKey);
        const ListRun run = RunWith(args);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(std::regex_replace(run.out, std::regex("\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ"), "<now>"), out);
        if (*row.err == '\0')
            EXPECT_EQ(run.err, "");
        else
            EXPECT_NE(run.err.find(row.err), std::string::npos) << run.err;
        if (row.status == LIST_USAGE) {
            EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
        }
    }
}

TEST_F(ListRunTest, HelpNamesEveryOption) {
    const ListRun run = RunWith({"--sort", "nonsense", "--help"});
    EXPECT_EQ(run.status, LIST_OK);
    EXPECT_EQ(run.err, "");
    for (const char* option : {"--group", "--sort KEYS", "--case LEVELS", "--no-round", "--layout FILE.tfc",
                               "--csv", "--tsv", "--info", "recorded", "disc_id", "--help", "--version", "--  ",
                               "--add PATH", "--find TEXT", "--discs", "--disc KEY", "--remove KEY",
                               "--catalogue FILE", "disc_title", "catalogue.sqlite",
                               "Example: tavolin-list "})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

TEST_F(ListRunTest, VersionIsOneLineWhateverElseTheLineHolds) {
    const ListRun run = RunWith({"--sort", "nonsense", "--version", "missing/path"});
    EXPECT_EQ(run.status, LIST_OK);
    EXPECT_EQ(run.out, "tavolin-list " TAVOLIN_VERSION "\n");
    EXPECT_EQ(run.err, "");
}

// On the demo recorder, each choice lists the lines that the window's
// straightforward reference build and one-by-one re-order give for the
// same settings and the catalogue that the scan fills.
TEST_F(ListRunTest, DemoRecorderListsAsTheReferenceDoes) {
    std::string error;
    ASSERT_TRUE(WriteDemoRecorder(dir_, error)) << error;
    const std::vector<std::vector<std::string>> choices = {
        {},
        {"--group"},
        {"--sort", "artist,-length,title"},
        {"--sort", "bitrate"},
        {"--group", "--sort", "-length,group", "--case", "2"},
        {"--sort", "group,-bitrate,album", "--case", "1,2,3"},
        {"--group", "--sort", "-number"},
    };
    for (std::vector<std::string> args : choices) {
        std::string name;
        for (const std::string& a : args) name += a + " ";
        SCOPED_TRACE(name);
        args.push_back(dir_.string());
        const ListRun run = RunWith(args);
        ASSERT_EQ(run.status, LIST_OK) << run.err;
        ASSERT_EQ(gCatalogue.count, 36u);
        const bool isGroup = gFormatSettings.listingMode == GROUP_LISTING;
        const std::vector<RefLine> lines = ReferenceReorder(
            isGroup ? ReferenceGroupListing(gCatalogue) : FullListingLines(gCatalogue), CompareTracks);
        std::string expected = "Tavolin Demo Disc: Caf\u00E9, Harbour & Se\u00F1oritas\n";
        for (const RefLine& line : lines) expected += line.text + "\n";
        EXPECT_EQ(run.out, expected);
    }
}

// A disc added to a catalogue lists from it byte for byte as from the
// recorder, through every listing option.
TEST_F(ListRunTest, StoredDiscListsAsTheRecorder) {
    std::string error;
    ASSERT_TRUE(WriteDemoRecorder(dir_ / "recorder", error)) << error;
    const std::string layouts = (dir_ / "demo.tfc").string();
    ASSERT_TRUE(WriteDemoLayouts(layouts, error)) << error;
    const std::string catalogue = (dir_ / "catalogue.sqlite").string();
    index_image::IndexImageBuilder emptyTitle;
    emptyTitle.SetDiscTitle("");
    emptyTitle.AddGroup({1, 1, "Side A"});
    emptyTitle.AddTrack({.slot = 0, .title = "Only Song", .artist = "Someone"});
    const struct {
        const char* name;
        std::string path;
    } discs[] = {
        {"the demo recorder", (dir_ / "recorder").string()},
        // Was stored like a disc without a title cell and listed no title line.
        {"a title cell of no text: an empty title line", Write("empty-title.hma", emptyTitle.Build())},
    };
    const std::vector<std::vector<std::string>> choices = {
        {},
        {"--csv"},
        {"--info"},
        {"--group", "--sort", "-length,group", "--case", "2"},
        {"--csv", "--group", "--no-round"},
        {"--csv", "--sort", "-recorded,title"},
        {"--layout", layouts},
        {"--layout", layouts, "--group", "--sort", "-length,group", "--no-round"},
    };
    for (const auto& disc : discs) {
        const ListRun added = RunWith({"--add", disc.path, "--catalogue", catalogue});
        ASSERT_EQ(added.status, LIST_OK) << added.err;
        // "added\tTITLE\tN tracks\tKEY\n"
        const std::string key = added.out.substr(added.out.rfind('\t') + 1, DISC_KEY_SIZE - 1);
        for (const std::vector<std::string>& choice : choices) {
            std::string name = std::string(disc.name) + ": ";
            for (const std::string& a : choice) name += a + " ";
            SCOPED_TRACE(name);
            std::vector<std::string> fromRecorder = choice, fromCatalogue = choice;
            fromRecorder.push_back(disc.path);
            fromCatalogue.insert(fromCatalogue.end(), {"--disc", key, "--catalogue", catalogue});
            const ListRun want = RunWith(fromRecorder), got = RunWith(fromCatalogue);
            ASSERT_EQ(got.status, LIST_OK) << got.err;
            EXPECT_GT(want.out.size(), 10u);
            EXPECT_EQ(got.out, want.out);
        }
    }
}

// --layout on the demo recorder: the bytes of every line rendered by the
// formatter through the file's table of the mode, in the reference's order,
// with nothing added (the layouts end their lines with CR LF themselves).
TEST_F(ListRunTest, LayoutGivesTheExportBytes) {
    std::string error;
    ASSERT_TRUE(WriteDemoRecorder(dir_ / "recorder", error)) << error;
    const std::string layouts = (dir_ / "demo.tfc").string();
    ASSERT_TRUE(WriteDemoLayouts(layouts, error)) << error;
    const FormatSettings tables = DemoLayouts();
    const std::vector<std::vector<std::string>> choices = {
        {},
        {"--group"},
        {"--sort", "-length", "--no-round"},
        {"--group", "--sort", "-length,group", "--no-round"},
        {"--sort", "artist,title", "--case", "1"},
    };
    for (std::vector<std::string> args : choices) {
        std::string name;
        for (const std::string& a : args) name += a + " ";
        SCOPED_TRACE(name);
        args.insert(args.end(), {"--layout", layouts, (dir_ / "recorder").string()});
        const ListRun run = RunWith(args);
        ASSERT_EQ(run.status, LIST_OK) << run.err;
        EXPECT_EQ(run.err, "");
        FormatSettings settings = gFormatSettings;
        settings.fullFormat = tables.fullFormat;
        settings.groupFormat = tables.groupFormat;
        const bool isGroup = settings.listingMode == GROUP_LISTING;
        std::string expected;
        for (const RefLine& line : ReferenceReorder(
                 isGroup ? ReferenceGroupListing(gCatalogue) : FullListingLines(gCatalogue), CompareTracks)) {
            char text[FORMAT_LINE_SIZE];
            expected += std::string(
                text, FormatRecordLine(gCatalogue.records[line.itemData], settings, text, sizeof text));
        }
        EXPECT_EQ(run.out, expected);
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), isGroup ? 4 : 36);
    }
}

// Layouts files the window would refuse are refused with its reasons; those
// it reads are read only as far as they go, as the window reads them.
TEST_F(ListRunTest, LayoutFilesAsTheWindowReadsThem) {
    const std::string disc = Write("mixed.hma", MixedDisc());
    std::vector<uint8_t> image(FORMAT_FILE_SIZE);
    WriteFormatFile(DemoLayouts(), image.data());
    auto version = [&](uint8_t v, size_t size) {
        std::vector<uint8_t> bytes(image.begin(), image.begin() + size);
        if (size > 0) bytes[0] = v;
        return bytes;
    };
    struct Row {
        const char* name;
        std::vector<uint8_t> file;
        bool isGroup;
        int status;
        std::string out;
        const char* err;
    };
    const Row rows[] = {
        {"version 2", image, false, LIST_OK,
         "001 abba - Intro\t01s\r\n002 ABBA - Say \"Hi\"\t03s\r\n003 Zed - TwoLines\t00s\r\n004  - \t00s\r\n",
         ""},
        {"version 2, groups", image, true, LIST_OK, "001) Live (04s)\r\n002) Club (00s)\r\n", ""},
        {"version 0 reads as 2", version(0, FORMAT_FILE_SIZE), true, LIST_OK,
         "001) Live (04s)\r\n002) Club (00s)\r\n", ""},
        {"version 1: the group table stays empty", version(1, 4 + sizeof(FormatTable)), true, LIST_OK, "",
         ""},
        {"version 1 gives the full table", version(1, 4 + sizeof(FormatTable)), false, LIST_OK,
         "001 abba - Intro\t01s\r\n002 ABBA - Say \"Hi\"\t03s\r\n003 Zed - TwoLines\t00s\r\n004  - \t00s\r\n",
         ""},
        {"an empty file reads as version 0 with nothing in it", {}, false, LIST_OK, "", ""},
        {"version 3 is refused", version(3, FORMAT_FILE_SIZE), false, LIST_FAILED, "",
         ": The format file could not be read or is an incorrect version.\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = Write("layouts.tfc", row.file);
        std::vector<std::string> args = {"--layout", file, disc};
        if (row.isGroup) args.insert(args.begin(), "--group");
        const ListRun run = RunWith(args);
        EXPECT_EQ(run.status, row.status);
        EXPECT_EQ(run.out, row.out);
        if (*row.err == '\0')
            EXPECT_EQ(run.err, "");
        else
            EXPECT_EQ(run.err, "tavolin-list: " + file + row.err);
    }
    for (const fs::path& unopenable : {dir_ / "missing.tfc", dir_}) {
        SCOPED_TRACE(unopenable.string());
        const ListRun run = RunWith({"--layout=" + unopenable.string(), disc});
        EXPECT_EQ(run.status, LIST_FAILED);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(
            run.err,
            "tavolin-list: " + unopenable.string() +
                ": Failed to open formatting configuration file. Please make sure the path is valid.\n");
    }
}

}  // namespace
