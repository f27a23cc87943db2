// Field-by-field comparison of the program's byte images (the listing
// settings and their tables, catalogue records) for tests. Every byte is
// compared, bytes after a text's terminator too, and a difference names the
// slot or record, the field, and what it got and wanted.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <sstream>
#include <string>

#include "listing/track_catalogue.h"
#include "settings/format_settings.h"

// Every field of both images is compared below; a field added to either
// must be added here too.
static_assert(sizeof(FormatSettings) == 4 + 3 * 8 + 4 + 2 * sizeof(FormatTable));
static_assert(sizeof(TrackRecord) == 4 * TRACK_TEXT_SIZE + 4 + DISPLAY_LINE_SIZE + 6 * 4);

namespace field_compare {

// A text field for a message: up to its first NUL or its end, bytes outside
// printable ASCII as \xNN.
inline std::string Shown(const char* field, size_t size) {
    std::ostringstream os;
    os << '"';
    for (size_t i = 0; i < size && field[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(field[i]);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            os << char(c);
        } else {
            static const char digits[] = "0123456789ABCDEF";
            os << "\\x" << digits[c >> 4] << digits[c & 15];
        }
    }
    os << '"';
    return os.str();
}

// Adds "<name>: ..." to out when the size bytes of got and want differ.
inline void CompareText(std::ostringstream& out, const std::string& name, const char* got, const char* want,
                        size_t size) {
    if (std::memcmp(got, want, size) == 0) return;
    size_t at = 0;
    while (got[at] == want[at]) ++at;
    out << "\n  " << name << ": got " << Shown(got, size) << ", want " << Shown(want, size) << " (byte " << at
        << ": 0x" << std::hex << unsigned(static_cast<unsigned char>(got[at])) << " vs 0x"
        << unsigned(static_cast<unsigned char>(want[at])) << std::dec << ")";
}

template <class T>
void CompareValue(std::ostringstream& out, const std::string& name, const T& got, const T& want) {
    // Bytes, as the image holds them: a float compares by its bits.
    if (std::memcmp(&got, &want, sizeof got) != 0)
        out << "\n  " << name << ": got " << got << ", want " << want;
}

inline void CompareSlot(std::ostringstream& out, const std::string& name, const FormatSlot& got,
                        const FormatSlot& want) {
    CompareText(out, name + " token", got.token, want.token, sizeof got.token);
    CompareText(out, name + " param", got.param, want.param, sizeof got.param);
}

inline void CompareTable(std::ostringstream& out, const std::string& name, const FormatTable& got,
                         const FormatTable& want) {
    for (size_t k = 0; k < FORMAT_SLOT_COUNT; ++k)
        CompareSlot(out, name + "slot " + std::to_string(k), got.slots[k], want.slots[k]);
}

inline void CompareRecord(std::ostringstream& out, const std::string& name, const TrackRecord& got,
                          const TrackRecord& want) {
    CompareText(out, name + "artist", got.artist, want.artist, sizeof got.artist);
    CompareText(out, name + "album", got.album, want.album, sizeof got.album);
    CompareText(out, name + "title", got.title, want.title, sizeof got.title);
    CompareText(out, name + "groupName", got.groupName, want.groupName, sizeof got.groupName);
    CompareValue(out, name + "trackNumber", got.trackNumber, want.trackNumber);
    CompareText(out, name + "displayLine", got.displayLine, want.displayLine, sizeof got.displayLine);
    CompareValue(out, name + "groupNumber", got.groupNumber, want.groupNumber);
    CompareValue(out, name + "groupLength", got.groupLength, want.groupLength);
    CompareValue(out, name + "trackLength", got.trackLength, want.trackLength);
    CompareValue(out, name + "bitrate", got.bitrate, want.bitrate);
    CompareValue(out, name + "slot", got.slot, want.slot);
    CompareValue(out, name + "recorded", got.recorded, want.recorded);
}

inline testing::AssertionResult Result(const std::ostringstream& differences) {
    const std::string text = differences.str();
    if (text.empty()) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "differs in:" << text;
}

}  // namespace field_compare

// The first n bytes of a fixed text field, the bytes after its terminator too.
inline testing::AssertionResult SameFieldBytes(const char* got, const char* want, size_t n) {
    std::ostringstream out;
    field_compare::CompareText(out, "field", got, want, n);
    return field_compare::Result(out);
}

inline testing::AssertionResult SameFormatSlot(const FormatSlot& got, const FormatSlot& want) {
    std::ostringstream out;
    field_compare::CompareSlot(out, "slot", got, want);
    return field_compare::Result(out);
}

inline testing::AssertionResult SameFormatTable(const FormatTable& got, const FormatTable& want) {
    std::ostringstream out;
    field_compare::CompareTable(out, "", got, want);
    return field_compare::Result(out);
}

inline testing::AssertionResult SameFormatSettings(const FormatSettings& got, const FormatSettings& want) {
    std::ostringstream out;
    field_compare::CompareValue(out, "listingMode", got.listingMode, want.listingMode);
    for (size_t i = 0; i < 3; ++i) {
        const std::string level = "sortLevels[" + std::to_string(i) + "].";
        field_compare::CompareValue(out, level + "key", got.sortLevels[i].key, want.sortLevels[i].key);
        field_compare::CompareValue(out, level + "caseSensitive", got.sortLevels[i].caseSensitive,
                                    want.sortLevels[i].caseSensitive);
    }
    field_compare::CompareValue(out, "roundLengths", got.roundLengths, want.roundLengths);
    field_compare::CompareTable(out, "fullFormat ", got.fullFormat, want.fullFormat);
    field_compare::CompareTable(out, "groupFormat ", got.groupFormat, want.groupFormat);
    return field_compare::Result(out);
}

// n records of got against n of want.
inline testing::AssertionResult SameTrackRecords(const TrackRecord* got, const TrackRecord* want, size_t n) {
    std::ostringstream out;
    for (size_t i = 0; i < n; ++i)
        field_compare::CompareRecord(out, "record " + std::to_string(i) + " ", got[i], want[i]);
    return field_compare::Result(out);
}
