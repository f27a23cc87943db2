// Discs for the catalogue tests: tracks made the way the listing makes
// them (AppendTrack), a catalogue in a temporary folder, and what a stored
// catalogue holds, read back.
#pragma once
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "support/temp_folder/temp_folder.h"

struct TrackText {
    const char* title;
    const char* artist = "";
    const char* album = "";
    const char* group = "";
};

// The records AppendTrack makes of the texts, numbered from 1 with lengths
// that no decimal text holds exactly.
inline std::vector<TrackRecord> MakeTracks(const std::vector<TrackText>& texts, uint32_t salt = 0) {
    ClearCatalogue();
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::string line = std::to_string(i + 1) + ". " + texts[i].title;
        const float length = 60.1f * float(i + 1) + float(salt) / 7.0f;
        TrackReport report{line.c_str(), texts[i].artist, texts[i].album, texts[i].title, uint32_t(i + 1), &length,
                           132000 + int32_t(salt), texts[i].group, uint32_t(i * 3 + salt),
                           RecordingTime(0x5A8B6000u + uint32_t(i))};
        AppendTrack(report);
    }
    std::vector<TrackRecord> records(gCatalogue.records, gCatalogue.records + gCatalogue.count);
    ClearCatalogue();
    return records;
}

// A key of 32 digits whose first digits say which disc it is.
inline std::string TestKey(unsigned n) {
    char key[DISC_KEY_SIZE];
    std::snprintf(key, sizeof key, "%08x%024x", n, 0);
    return key;
}

inline AddOutcome AddTestDisc(Catalogue& c, const std::string& key, const char* title,
                              const std::vector<TrackRecord>& tracks) {
    StoredDiscInfo info{key.c_str(), false, title, 3, "E:\\", 1, nullptr, "TRKIDX03.HMA"};
    return AddDisc(c, info, tracks.data(), tracks.size());
}

inline std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

// fstream takes the path as it is (wide on Windows), so non-ASCII names work.
inline std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::vector<std::string> DiscTitles(Catalogue& c) {
    std::vector<StoredDisc> discs;
    ListDiscs(c, discs);
    std::vector<std::string> titles;
    for (const StoredDisc& d : discs) titles.push_back(d.title);
    return titles;
}

// Titles of the tracks a search finds, in result order.
inline std::vector<std::string> FoundTitles(Catalogue& c, const std::string& text) {
    std::vector<std::string> titles;
    FindTracks(c, text, [&](const FoundTrack& t) {
        titles.push_back(t.track.title);
        return true;
    });
    return titles;
}

inline bool SameRecords(const std::vector<TrackRecord>& a, const std::vector<TrackRecord>& b) {
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0);
}
