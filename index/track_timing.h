#pragma once
#include <cstdint>

#include "index/track_index.h"

// Bitrate, byte total and length of one track entry.
struct TrackTiming {
    int32_t bitrate;       // bits per second; for a codec outside the named modes
                           // a value no mode name matches (0 when unknown)
    uint32_t totalBytes;   // frame size x frames, modulo 2^32
    uint32_t trackNumber;  // the entry's own track number (also its first timing cell)
    float length;          // seconds; always finite and not negative
};

inline constexpr uint32_t FRAMES_PER_BLOCK_BYTES = 16319;  // usable bytes of a block for frames

void ComputeTrackTiming(const TrackIndexFile& file, uint32_t slot, TrackTiming& timing);

// "LP2 132kbps" and so on; "UNKNOWN ATRAC" for any bitrate without a name.
const char* RecordingModeName(int32_t bitrate);

// The same name as a format line writes it: "PCM\t1411kbps" for PCM, every
// other name as RecordingModeName gives it.
const char* RecordingModeFormatName(int32_t bitrate);
