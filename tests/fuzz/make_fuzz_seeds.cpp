// make_fuzz_seeds DIR: writes the seeds of fuzz_format_file, fuzz_format_line,
// fuzz_settings_handler and fuzz_walk_stop into DIR/<name>/, from the demo
// disc, the image builder and the layouts a user makes.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "index/scan_walk.h"
#include "settings/format_file.h"
#include "settings/settings_handler.h"
#include "tools/shipped/demo/demo_disc.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "text/fields.h"

namespace fs = std::filesystem;
using fuzz_input::Writer;

namespace {

bool gOk = true;

void Write(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "make_fuzz_seeds: cannot write %s\n", path.string().c_str());
        gOk = false;
    }
}

std::vector<uint8_t> Cut(std::vector<uint8_t> image) {
    while (!image.empty() && image.back() == 0) image.pop_back();
    return image;
}

void SetSlot(FormatTable& table, size_t k, const char* token, const char* param) {
    StoreFieldText(table.slots[k].token, FORMAT_FIELD_SIZE, token);
    StoreFieldText(table.slots[k].param, FORMAT_FIELD_SIZE, param);
}

// A Full Listing layout with separators, amounts and a custom text, and a
// Group Listing one; one token keeps the tail of a longer earlier text.
FormatSettings UserLayouts() {
    FormatSettings s;
    SetFormatDefaults(s);
    const char* full[][2] = {{"Trk Number", "1"}, {"-", "2"},          {"Artist", "1"}, {"<Space>", "1"},
                             {"<Custom>", "~ "},  {"Title", "1"},      {"<Tab>", "1"},  {"Trk Length", "1"},
                             {"<Comma>", "3"},    {"Trk Format", "1"}, {"<CRLF>", "1"}};
    for (size_t k = 0; k < std::size(full); ++k) SetSlot(s.fullFormat, k, full[k][0], full[k][1]);
    const char* group[][2] = {{"Grp Number", "1"}, {"<Space>", "4"}, {"Grp Name", "1"}, {"{", "1"},
                              {"Grp Length", "1"}, {"}", "1"},       {"<CR>", "1"}};
    for (size_t k = 0; k < std::size(group); ++k) SetSlot(s.groupFormat, k, group[k][0], group[k][1]);
    StoreFieldText(s.fullFormat.slots[12].token, FORMAT_FIELD_SIZE, "Trk Length");
    StoreFieldText(s.fullFormat.slots[12].token, FORMAT_FIELD_SIZE, "-");
    return s;
}

std::vector<uint8_t> FileOf(const FormatSettings& s) {
    std::vector<uint8_t> file(FORMAT_FILE_SIZE);
    WriteFormatFile(s, file.data());
    return file;
}

void FormatFileSeeds(const fs::path& dir) {
    FormatSettings fresh;
    SetFormatDefaults(fresh);
    Write(dir / "fresh", FileOf(fresh));
    const std::vector<uint8_t> layouts = FileOf(UserLayouts());
    Write(dir / "layouts", layouts);
    std::vector<uint8_t> v1(layouts.begin(),
                            layouts.begin() + FORMAT_FILE_VERSION_SIZE + sizeof(FormatTable));
    v1[0] = 1;
    Write(dir / "version1", v1);
    std::vector<uint8_t> v3 = layouts;
    v3[0] = 3;
    Write(dir / "version3", v3);
    Write(dir / "short", std::vector<uint8_t>(layouts.begin(), layouts.begin() + 300));
    std::vector<uint8_t> unterminated = layouts;
    std::memset(&unterminated[FORMAT_FILE_VERSION_SIZE], 'T', 2 * FORMAT_FIELD_SIZE);
    Write(dir / "unterminated", unterminated);
}

class ReportCollector : public ScanSink {
public:
    void OnDiscTitle(const char*) override {}
    void OnTrackFound(uint32_t, const TrackReport& r) override {
        Writer w;
        w.U32(r.trackNumber);
        w.U32(uint32_t(tracks.size() / 4 + 1));  // a group number
        w.U32(uint32_t(r.bitrate));
        uint32_t bits;
        std::memcpy(&bits, r.trackLength, sizeof bits);
        w.U32(bits);
        w.U32(bits);
        for (const char* text : {r.artist, r.album, r.title, r.groupName}) w.Text(text);
        tracks.push_back(w.bytes);
    }
    std::vector<std::vector<uint8_t>> tracks;  // the record part of a format_line input
};

void FormatLineSeeds(const fs::path& dir, const std::vector<uint8_t>& demo) {
    ReportCollector collector;
    std::atomic<int32_t> stop{0};
    WalkTrackIndex(TrackIndexFile{demo.data(), demo.size()}, stop, collector);
    const FormatSettings layouts = UserLayouts();
    const struct {
        const char* name;
        uint8_t flags;
        uint16_t cut;
        size_t track;
    } seeds[] = {
        {"full_listing", fuzz_input::LINE_ROUND, 40, 0},
        {"group_listing", fuzz_input::LINE_GROUP_MODE | fuzz_input::LINE_ROUND, 1024, 6},
        {"unrounded", 0, 7, 11},
    };
    for (const auto& seed : seeds) {
        if (seed.track >= collector.tracks.size()) {
            std::fprintf(stderr, "make_fuzz_seeds: the demo disc has no track %zu\n", seed.track);
            gOk = false;
            return;
        }
        Writer w;
        w.Byte(seed.flags);
        w.U16(seed.cut);
        w.Bytes(collector.tracks[seed.track].data(), collector.tracks[seed.track].size());
        const FormatTable& table =
            (seed.flags & fuzz_input::LINE_GROUP_MODE) ? layouts.groupFormat : layouts.fullFormat;
        w.Bytes(&table, FORMAT_USED_SLOTS * sizeof(FormatSlot));
        Write(dir / seed.name, w.bytes);
    }
}

void Call(Writer& w, uint8_t op, uint32_t number, const std::string& text) {
    w.Byte(op);
    w.Byte(uint8_t(number));
    w.Text(text);
}

void SettingsHandlerSeeds(const fs::path& dir) {
    using namespace fuzz_input;
    const uint8_t full = 1 << OP_MODE_SHIFT, group = 2 << OP_MODE_SHIFT;
    Writer custom;  // a slot's amount, custom text and back
    Call(custom, OP_SET | full, 13, "-");
    Call(custom, OP_SET | full, 43, "4");
    Call(custom, OP_SET | full, 13, "<Custom>");
    Call(custom, OP_SET | full, 43, "Side A");
    Call(custom, OP_SET | full, 13, "<CUSTOM>");
    Call(custom, full, 43, "");
    Call(custom, OP_SET | full, 13, "-");
    Call(custom, OP_SET | OP_BUSY | group, 30, "<Custom>");
    Write(dir / "custom", custom.bytes);

    Writer sorting;  // sort keys and the listing mode, both wordings
    Call(sorting, OP_SET, 1, "group number (ascending order)");
    Call(sorting, OP_SET, 100, "Group Listing");
    Call(sorting, 0, 1, "");
    Call(sorting, OP_SET, 2, "Artist");
    Call(sorting, OP_SET, 6, "1");
    Call(sorting, OP_SET, 7, "0");
    Call(sorting, OP_SET | OP_BUSY, 100, "Full Listing");
    Call(sorting, 0, 101, "");
    Write(dir / "sorting", sorting.bytes);

    Writer hostile;  // texts longer than a field, a buffer with no terminator, raw ids
    Call(hostile, OP_SET | group, 20, std::string(200, 'x'));
    Call(hostile, OP_SET | full, 60, std::string(255, 'y'));
    hostile.Byte(OP_SET | OP_RAW_ID);
    hostile.U32(FULL_LISTING | GROUP_LISTING | 10);
    hostile.Text("Title");
    hostile.Byte(OP_RAW_ID | OP_DICTIONARY_TEXT);
    hostile.U32(0x40000000 | 40);
    hostile.Byte(9);
    Write(dir / "hostile", hostile.bytes);
}

std::vector<uint8_t> WithStopCount(std::vector<uint8_t> image, uint16_t count) {
    if (image.size() < fuzz_input::WALK_STOP_COUNT_SIZE) image.resize(fuzz_input::WALK_STOP_COUNT_SIZE);
    image[0] = uint8_t(count);
    image[1] = uint8_t(count >> 8);
    return image;
}

void WalkStopSeeds(const fs::path& dir, const std::vector<uint8_t>& demo) {
    using namespace index_image;
    Write(dir / "demo_disc", WithStopCount(Cut(demo), 5));
    IndexImageBuilder b;
    for (uint32_t slot : {0u, 2u, 3u, 7u, 9u}) b.AddTrack({.slot = slot, .codecId = CODEC_LP2});
    std::vector<uint8_t> entries = b.Build();
    entries.resize(IndexImageBuilder::EntryOffset(10));
    Write(dir / "entries_only", WithStopCount(entries, 3));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 2;
    }
    const fs::path root = argv[1];
    for (const char* name : {"format_file", "format_line", "settings_handler", "walk_stop"}) {
        std::error_code error;
        fs::create_directories(root / name, error);
    }
    const std::vector<uint8_t> demo = BuildDemoIndex(DemoGeneration::CURRENT);
    FormatFileSeeds(root / "format_file");
    FormatLineSeeds(root / "format_line", demo);
    SettingsHandlerSeeds(root / "settings_handler");
    WalkStopSeeds(root / "walk_stop", demo);
    return gOk ? 0 : 1;
}
