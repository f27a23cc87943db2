#pragma once
#include <cstdint>

#include "index/recording_time.h"

// What one MSG_TRACK_FOUND carries: one reported track. Every pointer refers
// to the scan's own reused buffers and stays valid only while the report is
// being handled; the receiver copies what it keeps.
struct TrackReport {
    const char* displayLine;   // ready-made Full Listing line
    const char* artist;        // "" when the track has no artist
    const char* album;         // "" when the track has no album
    const char* title;         // "" when the track has no title
    uint32_t trackNumber;      // number shown in the line; play position when the disc has a play order
    const float* trackLength;  // seconds
    int32_t bitrate;           // bits per second
    const char* groupName;     // "" when the track lies in no group or an untitled one
    uint32_t slot;             // the track's entry slot in the index
    RecordingTime recorded;    // NO_RECORDING_TIME when the track has none
};
