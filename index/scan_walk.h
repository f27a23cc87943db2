#pragma once
#include <atomic>
#include <cstdint>

#include "index/track_index.h"
#include "index/track_report.h"

// Receives what a walk over a track index finds, in order: the disc title
// (only when the disc has a title cell), then each track with its slot.
class ScanSink {
public:
    virtual ~ScanSink() = default;
    virtual void OnDiscTitle(const char* title) = 0;
    virtual void OnTrackFound(uint32_t slot, const TrackReport& report) = 0;
};

// Walks the image and reports the disc title and every track to the sink.
// The stop flag is polled while walking; once it is non-zero the walk ends.
void WalkTrackIndex(const TrackIndexFile& file, const std::atomic<int32_t>& stop, ScanSink& sink);

// How many tracks a walk of the image that is not stopped reports, found
// without decoding them: the room to make for them beforehand.
uint32_t CountWalkedTracks(const TrackIndexFile& file);
