#pragma once
#include <cstddef>
#include <cstdint>

// When a track was recorded, by the recorder's own clock (local time, no
// zone): the entry's date word in the high 16 bits and its time word in the
// low 16, both in the FAT/DOS layout, so a later time compares greater.
// NO_RECORDING_TIME: the track has none (sent from a computer, or a value
// outside the calendar).
using RecordingTime = uint32_t;
inline constexpr RecordingTime NO_RECORDING_TIME = 0;

// Room for "YYYY-MM-DD HH:MM:SS" and its terminator.
inline constexpr size_t RECORDING_TIME_TEXT_SIZE = 20;

// The recording time of a date word and a time word as the entry holds
// them, or NO_RECORDING_TIME when either is outside its ranges.
RecordingTime DecodeRecordingTime(uint16_t date, uint16_t time);

// Writes "YYYY-MM-DD HH:MM:SS" into out (size bytes, cut to fit and
// terminated); "" for NO_RECORDING_TIME or a value outside the calendar.
void FormatRecordingTime(RecordingTime recorded, char* out, size_t size);
