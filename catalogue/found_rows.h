// Tracks a catalogue search found, as the catalogue window shows, sorts and
// exports them. Portable.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "catalogue/catalogue.h"

// One found track, kept past the search's call.
struct FoundRow {
    int64_t discId;
    std::string discKey;
    std::string discTitle;
    std::string group, artist, album, title;
    uint32_t number;
    float length;  // seconds
    uint32_t bitrate;
    RecordingTime recorded;
};

FoundRow MakeFoundRow(const FoundTrack& found);

// The table's columns, in their order on screen.
enum FoundColumn {
    FOUND_DISC,
    FOUND_NUMBER,
    FOUND_ARTIST,
    FOUND_ALBUM,
    FOUND_TITLE,
    FOUND_LENGTH,
    FOUND_MODE,
    FOUND_RECORDED,
    FOUND_COLUMN_COUNT,
};
extern const char* const FOUND_COLUMN_NAMES[FOUND_COLUMN_COUNT];

// The column's text of the row; "" for a column outside the table.
std::string FoundColumnText(const FoundRow& row, int column);

// The CSV of found tracks, RFC 4180 quoting and CRLF line ends: the header,
// then one line per row. seconds has three decimals, length is as the
// listing shows it (rounded), recorded "" when unknown.
extern const char FOUND_CSV_HEADER[];
std::string FoundCsvLine(const FoundRow& row);
// A text as a CSV field: quoted, quotes doubled, when it holds a comma, a
// quote or a line break.
std::string CsvText(const char* text);
void AppendCsvText(const char* text, std::string& out);

// One row of the CSV of tracks, the catalogue window's Export CSV and
// tavolin-list's --csv alike, in the header's column order: texts as they
// are (each quoted as a CSV field), seconds with three decimals.
struct CsvRow {
    uint32_t number;
    const char* group;
    const char* artist;
    const char* album;
    const char* title;
    double seconds;
    const char* length;     // as the listing shows it
    const char* mode;       // "" for a group
    const char* recorded;   // "YYYY-MM-DD HH:MM:SS" or ""
    const char* discId;     // 32 hexadecimal digits or ""
    const char* discTitle;  // nullptr: the row has no disc_title column
};
// Appends the row and its CRLF to out.
void AppendCsvRow(const CsvRow& row, std::string& out);

// A count with its thousands separated by commas: 4310 as "4,310".
std::string FormatCount(uint64_t n);
