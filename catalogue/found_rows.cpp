#include "catalogue/found_rows.h"

#include <cstdio>
#include <cstring>

#include "index/recording_time.h"
#include "index/track_timing.h"
#include "text/hms.h"

const char* const FOUND_COLUMN_NAMES[FOUND_COLUMN_COUNT] = {"Disc",   "No.",  "Artist", "Album",
                                                              "Title",  "Length", "Mode", "Recorded"};

const char FOUND_CSV_HEADER[] =
    "number,group,artist,album,title,seconds,length,mode,recorded,disc_id,disc_title\r\n";

FoundRow MakeFoundRow(const FoundTrack& found) {
    const TrackRecord& t = found.track;
    return FoundRow{found.discId,  found.discKey != nullptr ? found.discKey : "",
                    found.discTitle != nullptr ? found.discTitle : "",
                    t.groupName,   t.artist,
                    t.album,       t.title,
                    t.trackNumber, t.trackLength,
                    t.bitrate,     t.recorded};
}

namespace {
// The listing rounds lengths unless the user says otherwise; the table and
// its CSV show lengths as a default listing does.
constexpr int ROUND_LENGTHS = 1;

std::string LengthText(float seconds) {
    char text[HMS_TEXT_SIZE];
    FormatHms(seconds, ROUND_LENGTHS, text, sizeof text);
    return text;
}

std::string RecordedText(RecordingTime recorded) {
    char text[RECORDING_TIME_TEXT_SIZE];
    FormatRecordingTime(recorded, text, sizeof text);
    return text;
}

}  // namespace

std::string FoundColumnText(const FoundRow& row, int column) {
    switch (column) {
    case FOUND_DISC: return row.discTitle;
    case FOUND_NUMBER: return std::to_string(row.number);
    case FOUND_ARTIST: return row.artist;
    case FOUND_ALBUM: return row.album;
    case FOUND_TITLE: return row.title;
    case FOUND_LENGTH: return LengthText(row.length);
    case FOUND_MODE: return RecordingModeName(int32_t(row.bitrate));
    case FOUND_RECORDED: return RecordedText(row.recorded);
    default: return std::string();
    }
}

void AppendCsvText(const char* text, std::string& out) {
    if (text == nullptr) return;
    if (std::strpbrk(text, ",\"\r\n") == nullptr) {
        out += text;
        return;
    }
    out += '"';
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '"') out += '"';
        out += *p;
    }
    out += '"';
}

std::string CsvText(const char* text) {
    std::string out;
    AppendCsvText(text, out);
    return out;
}

void AppendCsvRow(const CsvRow& row, std::string& out) {
    char number[16], seconds[32];
    std::snprintf(number, sizeof number, "%u", unsigned(row.number));
    std::snprintf(seconds, sizeof seconds, "%.3f", row.seconds);
    out += number;
    for (const char* text : {row.group, row.artist, row.album, row.title}) {
        out += ',';
        AppendCsvText(text, out);
    }
    out += ',';
    out += seconds;
    for (const char* text : {row.length, row.mode, row.recorded, row.discId}) {
        out += ',';
        AppendCsvText(text, out);
    }
    if (row.discTitle != nullptr) {
        out += ',';
        AppendCsvText(row.discTitle, out);
    }
    out += "\r\n";
}

std::string FoundCsvLine(const FoundRow& row) {
    const std::string length = LengthText(row.length), recorded = RecordedText(row.recorded);
    std::string line;
    AppendCsvRow({row.number, row.group.c_str(), row.artist.c_str(), row.album.c_str(), row.title.c_str(),
                  double(row.length), length.c_str(), RecordingModeName(int32_t(row.bitrate)), recorded.c_str(),
                  row.discKey.c_str(), row.discTitle.c_str()},
                 line);
    return line;
}

std::string FormatCount(uint64_t n) {
    std::string digits = std::to_string(n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}
