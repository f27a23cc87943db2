#include "index/recording_time.h"

#include <cstdio>

namespace {
// FAT/DOS date word: year - 1980 in bits 15-9, month in 8-5, day in 4-0.
// Time word: hour in bits 15-11, minute in 10-5, seconds / 2 in 4-0. The
// hour takes all five bits: a mask that drops bit 11 shows every odd hour
// one hour early.
struct Fields {
    unsigned year, month, day, hour, minute, second;
};

Fields Split(RecordingTime recorded) {
    const unsigned date = recorded >> 16, time = recorded & 0xFFFFu;
    return {1980 + (date >> 9), (date >> 5) & 0xFu, date & 0x1Fu,
            time >> 11,         (time >> 5) & 0x3Fu, 2 * (time & 0x1Fu)};
}
}  // namespace

// All four bytes zero is a track sent from a computer; a value outside the
// calendar is read as no time rather than shown as a date that never was.
// Days past a short month's end (February 30) are kept as the recorder wrote
// them: the clock is the recorder's, not ours to correct.
RecordingTime DecodeRecordingTime(uint16_t date, uint16_t time) {
    const RecordingTime recorded = (RecordingTime(date) << 16) | time;
    if (recorded == NO_RECORDING_TIME) return NO_RECORDING_TIME;
    const Fields f = Split(recorded);
    if (f.month < 1 || f.month > 12 || f.day < 1 || f.hour > 23 || f.minute > 59 || f.second > 59)
        return NO_RECORDING_TIME;
    return recorded;
}

// A value that did not come through DecodeRecordingTime (a catalogue file
// is hostile input too) and lies outside the calendar writes "" as well,
// never a month 13 or an hour 31.
void FormatRecordingTime(RecordingTime recorded, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    if (DecodeRecordingTime(uint16_t(recorded >> 16), uint16_t(recorded)) == NO_RECORDING_TIME) return;
    const Fields f = Split(recorded);
    std::snprintf(out, size, "%04u-%02u-%02u %02u:%02u:%02u", f.year, f.month, f.day, f.hour, f.minute,
                  f.second);
}
