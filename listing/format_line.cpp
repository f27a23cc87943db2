#include "listing/format_line.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "text/hms.h"
#include "text/line_writer.h"
#include "index/track_timing.h"
#include "settings/listing_words.h"
#include "text/fields.h"

namespace {

size_t FieldLength(const char* field) { return strnlen(field, FORMAT_FIELD_SIZE); }

void AppendNumber(LineWriter& w, uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03u", unsigned(value));
    w.Append(text);
}

void AppendLength(LineWriter& w, float length, int round) {
    char text[HMS_TEXT_SIZE];
    FormatHms(length, round, text, sizeof text);
    w.Append(text);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
}  // namespace

long ReadAmount(const char* field, size_t size) {
    size_t i = 0;
    while (i < size && IsSpace(field[i])) ++i;
    bool isNegative = false;
    if (i < size && (field[i] == '+' || field[i] == '-')) isNegative = field[i++] == '-';
    long value = 0;
    for (; i < size && field[i] >= '0' && field[i] <= '9'; ++i) {
        const int digit = field[i] - '0';
        if (isNegative)
            value = value < (LONG_MIN + digit) / 10 ? LONG_MIN : value * 10 - digit;
        else
            value = value > (LONG_MAX - digit) / 10 ? LONG_MAX : value * 10 + digit;
    }
    return value;
}

// A rate past INT32_MAX turns negative here and names no mode.
const char* FormatModeName(uint32_t bitrate) { return RecordingModeFormatName(int32_t(bitrate)); }

// Slots 0..20 of the mode's table, in order; no separator or line end is
// added between them. Token and param are read up to their first NUL or the
// end of their 32-byte field, since a loaded table may hold unterminated
// fields. A token text that names no token (matched folding A-Z) is written
// as it stands, repeated like a separator. A negative amount writes nothing,
// and a line longer than FORMAT_LINE_CHARS characters or size - 1 bytes is
// cut on a character boundary.
size_t FormatRecordLine(const TrackRecord& r, const FormatSettings& settings, char* out, size_t size) {
    LineWriter w(out, size, FORMAT_LINE_CHARS);
    if (size == 0) return 0;
    const FormatTable& table = ActiveFormatTable(settings);
    for (size_t k = 0; k < FORMAT_USED_SLOTS && !w.IsFull(); ++k) {
        const FormatSlot& slot = table.slots[k];
        const size_t n = FieldLength(slot.token);
        const FormatToken* token = FindFormatToken(slot.token, n);
        if (!token) {
            w.Repeat(slot.token, n, ReadAmount(slot.param, FieldLength(slot.param)));
            continue;
        }
        switch (token->writes) {
        case TokenWrites::NOTHING: break;
        case TokenWrites::TRACK_NUMBER: AppendNumber(w, r.trackNumber); break;
        case TokenWrites::GROUP_NUMBER: AppendNumber(w, r.groupNumber); break;
        case TokenWrites::GROUP_NAME: w.Append(r.groupName); break;
        case TokenWrites::ARTIST: w.Append(r.artist); break;
        case TokenWrites::ALBUM: w.Append(r.album); break;
        case TokenWrites::TITLE: w.Append(r.title); break;
        case TokenWrites::TRACK_LENGTH: AppendLength(w, r.trackLength, settings.roundLengths != 0); break;
        case TokenWrites::GROUP_LENGTH: AppendLength(w, r.groupLength, settings.roundLengths != 0); break;
        case TokenWrites::MODE_NAME: w.Append(FormatModeName(r.bitrate)); break;
        case TokenWrites::RECORDED: {
            char text[RECORDING_TIME_TEXT_SIZE];
            FormatRecordingTime(r.recorded, text, sizeof text);
            w.Append(text);
            break;
        }
        case TokenWrites::CUSTOM_TEXT: w.Append(slot.param, FieldLength(slot.param)); break;
        case TokenWrites::REPEATED_TEXT: {
            const char* text = token->repeated ? token->repeated : token->name;
            w.Repeat(text, std::strlen(text), ReadAmount(slot.param, FieldLength(slot.param)));
            break;
        }
        }
    }
    return w.Length();
}

size_t FormatLine(intptr_t index, char* out, size_t size) {
    const TrackRecord* r = CatalogueRecord(index);
    if (!r) {
        if (size) out[0] = '\0';
        return 0;
    }
    return FormatRecordLine(*r, gFormatSettings, out, size);
}
