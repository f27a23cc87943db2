#include "demo_disc.h"

#include <chrono>
#include <fstream>
#include <system_error>

#include "settings/format_file.h"
#include "tools/lib/index_image/index_image_builder.h"
#include "text/fields.h"

namespace fs = std::filesystem;
using namespace index_image;

namespace {

// Latin texts are the recorder's 8-bit bytes (Windows-1252).
#define E_ACUTE "\xE9"
#define E_GRAVE "\xE8"
#define CAP_E_ACUTE "\xC9"
#define A_GRAVE "\xE0"
#define A_TILDE "\xE3"
#define N_TILDE "\xF1"
#define I_ACUTE "\xED"
#define O_ACUTE "\xF3"
#define U_UMLAUT "\xFC"
#define CAP_U_UMLAUT "\xDC"
#define A_CIRC "\xE2"
#define EN_DASH "\x96"
#define EURO "\x80"

// Shift-JIS bytes (code page 932).
#define TOKYO_NIGHTS "\x93\x8C\x8B\x9E\x82\xCC\x96\xE9"                  // 東京の夜
#define SONG_OF_DAWN "\x96\xE9\x96\xBE\x82\xAF\x82\xCC\x82\xA4\x82\xBD"  // 夜明けのうた
#define HANAKO_YAMADA "\x8E\x52\x93\x63\x89\xD4\x8E\x71"                 // 山田花子
#define SAKURA_HALF_WIDTH "\xBB\xB8\xD7 \xBB\xB8\xD7"                      // ｻｸﾗ ｻｸﾗ, single-byte katakana
#define AFTER_THE_RAIN "\x89\x4A\x8F\xE3\x82\xAA\x82\xE8\x82\xCC\x8A\x58 \x81\x60 2026"  // 雨上がりの街 ～ 2026

struct CodecFigures {
    uint16_t codecId;
    uint8_t family;
    uint8_t c0;
    double framesPerSecond;
    uint32_t framesPerBlock;
};

// Frames per second: bytes per second over the frame size, or for the
// ATRAC3plus 192 kbps mode outside the named ones, 44100 / 2048.
constexpr CodecFigures LP4 = {CODEC_LP4, 0, 0, 66000 / 8.0 / 192, 84};
constexpr CodecFigures LP2_105 = {CODEC_LP2_105, 0, 0, 105000 / 8.0 / 304, 53};
constexpr CodecFigures LP2 = {CODEC_LP2, 0, 0, 132000 / 8.0 / 384, 42};
constexpr CodecFigures PCM = {CODEC_PCM, 0x80, 0, 1411200 / 8.0 / 64, 255};
constexpr CodecFigures HI_LP_48 = {CODEC_HI_LP_48, 1, 0, 48000 / 8.0 / 280, 58};
constexpr CodecFigures HI_LP_64 = {CODEC_HI_LP_64, 1, 0, 64000 / 8.0 / 376, 43};
constexpr CodecFigures HI_SP = {CODEC_HI_SP, 1, 0, 256000 / 8.0 / 1488, 10};
constexpr CodecFigures PLUS_192 = {0x288B, 1, 0, 44100 / 2048.0, 14};
constexpr CodecFigures MP3 = {0x0090, 1, 0x03, 38.28, 16};

struct DemoTrack {
    const char* title;  // nullptr: none
    const char* artist;
    const char* album;
    CodecFigures codec;
    uint32_t seconds;
    bool isDivided = false;  // recorded in two parts: two timing cells, the second from mid-block
    bool isUtf16Title = false;  // the title alone in UTF-16, converted from the Latin-1 bytes above
    uint8_t encoding = LATIN1;  // of all three texts; UTF16BE texts are written here in UTF-8
};

constexpr const char* CAFE = "Caf" E_ACUTE " Nocturne";
constexpr const char* ETOILES = "Les " CAP_E_ACUTE "toiles Filantes";
constexpr const char* TIDEWATER = "The Tidewater Band";
constexpr const char* HARBOUR = "Live at the Harbour Stage";
constexpr const char* ORQUESTA = "Orquesta del A" N_TILDE "o";
constexpr const char* SENORITAS = "Se" N_TILDE "oritas & Sonatas";

// The current disc in play order. The fifth track was recorded last and
// moved up; its entry sits in the last slot.
const DemoTrack TRACKS[] = {
    {"Pr" E_ACUTE "lude " A_GRAVE " la nuit", ETOILES, CAFE, LP2, 192},
    {"Rue des " CAP_E_ACUTE "coles", ETOILES, CAFE, LP2, 245},
    {"Un caf" E_ACUTE ", deux croissants", ETOILES, CAFE, LP2_105, 228},
    {"M" E_ACUTE "lancolie", ETOILES, CAFE, LP4, 179},
    {"Encore (bonus, recorded last)", ETOILES, CAFE, HI_SP, 331},
    {"Minuit moins le quart", ETOILES, CAFE, HI_LP_64, 284},
    {"Soundcheck & Crowd Noise", TIDEWATER, HARBOUR, PCM, 62},
    {"Harbour Lights", TIDEWATER, HARBOUR, PCM, 261},
    {"Salt in the Wind (Extended Jam)", TIDEWATER, HARBOUR, HI_SP, 588, true},
    {"Anchors Aweigh", TIDEWATER, HARBOUR, HI_SP, 210},
    {"Lighthouse Keeper", TIDEWATER, HARBOUR, HI_LP_64, 305},
    {"Full concert recording", TIDEWATER, HARBOUR, HI_LP_48, 4354},
    {"Voice memo, rehearsal", nullptr, nullptr, LP4, 47},
    {nullptr, nullptr, nullptr, LP4, 75},
    {"Rehearsal take 2", nullptr, nullptr, LP2, 181},
    {nullptr, nullptr, nullptr, HI_LP_48, 32},
    {"Radio session intro", "DJ Ma" N_TILDE "ana", nullptr, LP2_105, 118},
    {"Cr" E_GRAVE "me br"
     "\xFB"
     "l" E_ACUTE "e",
     "P" A_CIRC "tisserie Sonore", nullptr, PLUS_192, 213, false, true},
    {"Podcast: " CAP_U_UMLAUT "ber die Stille", "Klangraum", nullptr, MP3, 1450},
    {"Obertura", ORQUESTA, SENORITAS, HI_SP, 160},
    {"Danza de la Lluvia", ORQUESTA, SENORITAS, HI_SP, 252},
    {"Canci" O_ACUTE "n para In" E_ACUTE "s", ORQUESTA, SENORITAS, LP2, 217},
    {"El Ni" N_TILDE "o y el Mar", ORQUESTA, SENORITAS, LP2, 320},
    {"A" N_TILDE "oranza", ORQUESTA, SENORITAS, HI_LP_64, 242},
    {"Fiesta en S" A_TILDE "o Paulo", ORQUESTA, SENORITAS, HI_LP_48, 224},
    {"Finale: Adi" O_ACUTE "s", ORQUESTA, SENORITAS, PCM, 145},
    {"Field recording: rain on the roof", nullptr, nullptr, LP4, 600},
    {"Answering machine", nullptr, nullptr, LP2_105, 21},
    {nullptr, nullptr, nullptr, LP4, 9},
    {"Night Train to Z" U_UMLAUT "rich (Remastered 2026 Edition)", "Nordlicht", "Sleeper Cars", HI_SP, 366},
    {SONG_OF_DAWN, HANAKO_YAMADA, TOKYO_NIGHTS, HI_SP, 240, false, false, SHIFT_JIS},
    {SAKURA_HALF_WIDTH, HANAKO_YAMADA, TOKYO_NIGHTS, LP2, 198, false, false, SHIFT_JIS},
    {AFTER_THE_RAIN, HANAKO_YAMADA, TOKYO_NIGHTS, HI_LP_64, 263, false, false, SHIFT_JIS},
    {"Za\u017C\u00F3\u0142\u0107 g\u0119\u015Bl\u0105 ja\u017A\u0144", "Kwartet Wiosna", "Polskie Piosenki", LP2, 205,
     false, false, UTF16BE},
    {"\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1 \U0001F3B5", "\u0395\u03BB\u03AD\u03BD\u03B7", nullptr, HI_SP,
     187, false, false, UTF16BE},
    {"Drei M" U_UMLAUT "nzen " EN_DASH " 3 " EURO, "Klangraum", nullptr, LP2_105, 95},
};
constexpr uint16_t MOVED_POSITION = 5;  // recorded last, into the last slot

// The tracks recorded on the recorder, by play position, with its clock;
// every other track was sent from a computer and has no recording time.
// Odd hours are among them: a reader that drops bit 11 of the time word
// shows them an hour early.
struct DemoRecording {
    uint16_t position;
    unsigned year, month, day, hour, minute, second;
};
const DemoRecording RECORDINGS[] = {
    {7, 2019, 7, 20, 19, 58, 2},    {8, 2019, 7, 20, 20, 0, 10},    {9, 2019, 7, 20, 20, 4, 40},
    {10, 2019, 7, 20, 20, 14, 36},  {11, 2019, 7, 20, 20, 18, 12},  {12, 2019, 7, 20, 21, 3, 50},
    {13, 2016, 9, 13, 23, 11, 46},  {14, 2016, 9, 13, 23, 12, 16},  {15, 2016, 9, 13, 23, 13, 14},
    {16, 2016, 9, 12, 8, 2, 14},    {27, 2021, 4, 3, 5, 47, 30},    {28, 2018, 2, 1, 14, 20, 8},
    {29, 2018, 2, 1, 15, 1, 44},
};
constexpr uint32_t DELETED_SLOT = 12;   // its entry stays, no position names it

struct DemoGroup {
    uint16_t first, last;
    const char* title;  // nullptr: untitled group
    uint8_t encoding = LATIN1;
};

const DemoGroup GROUPS[] = {
    {1, 6, CAFE},
    {7, 12, HARBOUR},
    {13, 16, nullptr},
    {20, 26, SENORITAS},
    {31, 33, TOKYO_NIGHTS, SHIFT_JIS},
};

// Lays the track's frames out from the disc's block cursor on.
std::vector<TimingSpan> Spans(const DemoTrack& t, uint32_t& blockCursor) {
    const uint32_t frames = uint32_t(t.seconds * t.codec.framesPerSecond + 0.5);
    const uint32_t fpb = t.codec.framesPerBlock;
    std::vector<TimingSpan> spans;
    auto add = [&](uint32_t n, uint32_t firstFrame) {
        const uint32_t last = firstFrame + n - 1;
        spans.push_back({uint16_t(blockCursor), uint16_t(blockCursor + last / fpb), uint8_t(firstFrame),
                         uint8_t(last % fpb)});
        blockCursor += last / fpb + 1;
    };
    if (t.isDivided) {
        // The second part begins at frame 3 of its first block.
        add(frames / 2, 0);
        add(frames - frames / 2, 3);
    } else {
        add(frames, 0);
    }
    return spans;
}

// position 0: a track that no position names.
TrackDescription TrackOf(const DemoTrack& t, uint32_t slot, uint32_t& blockCursor, uint32_t position) {
    TrackDescription track;
    track.slot = slot;
    for (const DemoRecording& r : RECORDINGS) {
        if (r.position != position) continue;
        track.recordedDate = DosDateWord(r.year, r.month, r.day);
        track.recordedTime = DosTimeWord(r.hour, r.minute, r.second);
    }
    auto bytes = [&](const char* text) {
        return t.encoding == UTF16BE ? Utf16Be(Utf16OfUtf8(text)) : std::string(text);
    };
    if (t.title != nullptr) track.title = bytes(t.title);
    if (t.artist != nullptr) track.artist = bytes(t.artist);
    if (t.album != nullptr) track.album = bytes(t.album);
    track.encoding = t.encoding;
    track.codecId = t.codec.codecId;
    track.family = t.codec.family;
    track.c0 = t.codec.c0;
    track.mp3Seconds = uint16_t(t.seconds);
    track.timing = Spans(t, blockCursor);
    return track;
}

// UTF-16 copy of a Latin-1 text (every Latin-1 byte is its own code point).
std::string Latin1ToUtf16Be(const char* text) {
    std::u16string wide;
    for (const char* p = text; *p != '\0'; ++p) wide.push_back(char16_t(uint8_t(*p)));
    return Utf16Be(wide);
}

// A title given as UTF-8 goes in as UTF-16, which holds every script.
std::vector<uint8_t> BuildCurrent(const char* discTitle) {
    IndexImageBuilder b;
    if (discTitle != nullptr)
        b.SetDiscTitle(Utf16Be(Utf16OfUtf8(discTitle)), UTF16BE);
    else
        b.SetDiscTitle("Tavolin Demo Disc: Caf" E_ACUTE ", Harbour & Se" N_TILDE "oritas");
    for (const DemoGroup& g : GROUPS) b.AddGroup({g.first, g.last, g.title ? g.title : "", g.encoding});
    const uint32_t count = uint32_t(std::size(TRACKS));
    // Slots in recording order: every track but the moved one in play order,
    // the deleted one's slot skipped; the moved one after them all.
    std::vector<uint16_t> entryOfPosition(count);
    uint32_t slot = 0;
    uint32_t blockCursor = 120;
    for (uint32_t position = 1; position <= count; ++position) {
        if (position == MOVED_POSITION) continue;
        if (slot == DELETED_SLOT) {
            TrackDescription deleted =
                TrackOf({"Deleted demo take", nullptr, nullptr, LP2, 95}, slot, blockCursor, 0);
            b.AddTrack(deleted);
            ++slot;
        }
        const DemoTrack& t = TRACKS[position - 1];
        TrackDescription track = TrackOf(t, slot, blockCursor, position);
        if (t.isUtf16Title) {
            track.title.clear();
            b.AddTrack(track);
            b.PokeBe16(IndexImageBuilder::EntryOffset(slot) + 8,
                       b.AddText(Latin1ToUtf16Be(t.title), UTF16BE));
        } else {
            b.AddTrack(track);
        }
        entryOfPosition[position - 1] = uint16_t(slot + 1);
        ++slot;
    }
    b.AddTrack(TrackOf(TRACKS[MOVED_POSITION - 1], slot, blockCursor, MOVED_POSITION));
    entryOfPosition[MOVED_POSITION - 1] = uint16_t(slot + 1);
    b.SetPlayOrder(entryOfPosition);
    return b.Build();
}

// An older state of the disc: its first tracks, in recording order.
std::vector<uint8_t> BuildEarlier(const char* discTitle, uint32_t tracks) {
    IndexImageBuilder b;
    b.SetDiscTitle(discTitle);
    b.AddGroup({1, 4, CAFE});
    uint32_t blockCursor = 120;
    std::vector<uint16_t> order;
    uint32_t position = 1;
    for (uint32_t slot = 0; slot < tracks; ++slot, ++position) {
        if (position == MOVED_POSITION) ++position;  // not yet recorded
        b.AddTrack(TrackOf(TRACKS[position - 1], slot, blockCursor, position));
        order.push_back(uint16_t(slot + 1));
    }
    b.SetPlayOrder(order);
    return b.Build();
}

bool WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        error = path.string() + ": cannot write";
        return false;
    }
    return true;
}

}  // namespace

std::vector<uint8_t> BuildDemoIndex(DemoGeneration generation, const char* discTitle) {
    switch (generation) {
    case DemoGeneration::FIRST_SESSION: return BuildEarlier("Tavolin Demo Disc (first session)", 3);
    case DemoGeneration::DRAFT: return BuildEarlier("Tavolin Demo Disc (draft)", 9);
    case DemoGeneration::CURRENT: break;
    }
    return BuildCurrent(discTitle);
}

bool WriteDemoRecorder(const fs::path& root, std::string& error, const char* discTitle) {
    const fs::path folder = root / "HMDHIFI";
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) {
        error = folder.string() + ": " + ec.message();
        return false;
    }
    // The marker only has to exist; its content is the recorder's own.
    if (!WriteFile(folder / "_MDHIFI.HMA", std::vector<uint8_t>(512, 0), error)) return false;

    // Number 01 is the newest by write time; 02, written earlier, is a stale
    // copy that only a choice by number would take.
    struct Generation {
        const char* name;
        DemoGeneration content;
        std::chrono::hours age;
    };
    const Generation generations[] = {
        {"TRKIDX00.HMA", DemoGeneration::DRAFT, std::chrono::hours(3)},
        {"TRKIDX01.HMA", DemoGeneration::CURRENT, std::chrono::hours(1)},
        {"TRKIDX02.HMA", DemoGeneration::FIRST_SESSION, std::chrono::hours(48)},
    };
    // Only the current generation has its disc list: the window and
    // tavolin-list read the identity of the generation they list.
    if (discTitle == nullptr && !WriteFile(folder / "MCLIST01.HMA", BuildDiscList(DEMO_DISC_IDENTITY), error))
        return false;
    const fs::file_time_type now = fs::file_time_type::clock::now();
    for (const Generation& g : generations) {
        const fs::path path = folder / g.name;
        if (!WriteFile(path, BuildDemoIndex(g.content, discTitle), error)) return false;
        fs::last_write_time(path, now - g.age, ec);
        if (ec) {
            error = path.string() + ": cannot set its time: " + ec.message();
            return false;
        }
    }
    return true;
}

FormatSettings DemoLayouts() {
    struct Slot {
        const char* token;
        const char* param;
    };
    const Slot full[] = {{"Trk Number", ""}, {"<Space>", "1"}, {"Artist", ""}, {"<Space>", "1"},
                         {"-", "1"},         {"<Space>", "1"}, {"Title", ""},  {"<Tab>", "1"},
                         {"Trk Length", ""}, {"<CRLF>", "1"}};
    const Slot group[] = {{"Grp Number", ""}, {")", "1"},       {"<Space>", "1"},
                          {"Grp Name", ""},   {"<Space>", "1"}, {"(", "1"},
                          {"Grp Length", ""}, {")", "1"},       {"<CRLF>", "1"}};
    FormatSettings settings;
    SetFormatDefaults(settings);
    auto fill = [](FormatTable& table, const Slot* slots, size_t n) {
        for (size_t k = 0; k < n; ++k) {
            StoreFieldText(table.slots[k].token, FORMAT_FIELD_SIZE, slots[k].token);
            StoreFieldText(table.slots[k].param, FORMAT_FIELD_SIZE, slots[k].param);
        }
    };
    fill(settings.fullFormat, full, std::size(full));
    fill(settings.groupFormat, group, std::size(group));
    return settings;
}

bool WriteDemoLayouts(const fs::path& path, std::string& error) {
    std::vector<uint8_t> bytes(FORMAT_FILE_SIZE);
    WriteFormatFile(DemoLayouts(), bytes.data());
    return WriteFile(path, bytes, error);
}
