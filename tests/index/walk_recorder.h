#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "index/scan_walk.h"

// Copies every report of a walk, as the window does.
struct ReportedTrack {
    uint32_t slot;
    std::string displayLine, artist, album, title, groupName;
    uint32_t trackNumber;
    float length;
    int32_t bitrate;
};

class WalkRecorder : public ScanSink {
public:
    void OnDiscTitle(const char* title) override { discTitles.emplace_back(title); }
    void OnTrackFound(uint32_t slot, const TrackReport& r) override {
        tracks.push_back({slot, r.displayLine, r.artist, r.album, r.title, r.groupName, r.trackNumber,
                          *r.trackLength, r.bitrate});
    }
    std::vector<std::string> discTitles;
    std::vector<ReportedTrack> tracks;
};

inline WalkRecorder Walk(const std::vector<uint8_t>& image) {
    WalkRecorder recorder;
    std::atomic<int32_t> stop{0};
    WalkTrackIndex(TrackIndexFile{image.data(), image.size()}, stop, recorder);
    return recorder;
}
