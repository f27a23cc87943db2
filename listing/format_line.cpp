#include "listing/format_line.h"

#include <climits>
#include <cstdio>
#include <cstring>

#include "index/hms.h"

namespace {
// Appends to a fixed buffer, cutting what does not fit; the buffer is always
// terminated and never written past.
struct LineWriter {
    char* out;
    size_t size;
    size_t used = 0;

    bool IsFull() const { return used + 1 >= size; }
    void Append(const char* text, size_t n) {
        if (size == 0) return;
        const size_t room = size - 1 - used;
        if (n > room) n = room;
        std::memcpy(out + used, text, n);
        used += n;
        out[used] = '\0';
    }
    void Append(const char* text) { Append(text, std::strlen(text)); }
    // A repeat stops as soon as the line is full, so no amount can run long.
    void Repeat(const char* text, size_t n, long amount) {
        if (n == 0) return;
        for (long i = 0; i < amount && !IsFull(); ++i) Append(text, n);
    }
};

size_t FieldLength(const char* field) {
    return strnlen(field, FORMAT_FIELD_SIZE);
}

bool TokenIs(const char* token, size_t n, const char* name) {
    if (std::strlen(name) != n) return false;
    for (size_t i = 0; i < n; ++i) {
        unsigned char a = token[i], b = name[i];
        if (a >= 'A' && a <= 'Z') a += 'a' - 'A';
        if (b >= 'A' && b <= 'Z') b += 'a' - 'A';
        if (a != b) return false;
    }
    return true;
}

void AppendNumber(LineWriter& w, uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03u", unsigned(value));
    w.Append(text);
}

void AppendLength(LineWriter& w, float length, int round) {
    uint32_t h, m, s;
    HmsSplit(length, h, m, s, round);
    char text[48];
    int n = 0;
    if (h > 0) n += std::snprintf(text + n, sizeof text - n, "%uh:", unsigned(h));
    if (m > 0) n += std::snprintf(text + n, sizeof text - n, "%um:", unsigned(m));
    std::snprintf(text + n, sizeof text - n, "%02us", unsigned(s));
    w.Append(text);
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
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

const char* FormatModeName(uint32_t bitrate) {
    switch (bitrate) {
    case 48000: return "HI-LP 48kbps";
    case 64000: return "HI-LP 64kbps";
    case 66000: return "LP4 66kbps";
    case 105000: return "LP2 105kbps";
    case 132000: return "LP2 132kbps";
    case 256000: return "HI-SP 256kbps";
    case 1411200: return "PCM\t1411kbps";
    default: return "UNKNOWN ATRAC";
    }
}

// Slots 0..20 of the mode's table, in order; no separator or line end is
// added between them. Token and param are read up to their first NUL or the
// end of their 32-byte field, since a loaded table may hold unterminated
// fields. A negative amount writes nothing, and a line longer than the
// buffer is cut at size - 1 characters.
size_t FormatRecordLine(const TrackRecord& r, const FormatSettings& settings, char* out, size_t size) {
    LineWriter w{out, size};
    if (size == 0) return 0;
    out[0] = '\0';
    const FormatTable& table = ActiveFormatTable(settings);
    for (size_t k = 0; k < FORMAT_USED_SLOTS && !w.IsFull(); ++k) {
        const FormatSlot& slot = table.slots[k];
        const size_t n = FieldLength(slot.token);
        const char* t = slot.token;
        if (TokenIs(t, n, "Trk Number")) AppendNumber(w, r.trackNumber);
        else if (TokenIs(t, n, "Grp Number")) AppendNumber(w, r.groupNumber);
        else if (TokenIs(t, n, "Group") || TokenIs(t, n, "Grp Name")) w.Append(r.groupName);
        else if (TokenIs(t, n, "Artist")) w.Append(r.artist);
        else if (TokenIs(t, n, "Album")) w.Append(r.album);
        else if (TokenIs(t, n, "Title")) w.Append(r.title);
        else if (TokenIs(t, n, "Trk Length")) AppendLength(w, r.trackLength, settings.roundLengths != 0);
        else if (TokenIs(t, n, "Grp Length")) AppendLength(w, r.groupLength, settings.roundLengths != 0);
        else if (TokenIs(t, n, "Trk Format")) w.Append(FormatModeName(r.bitrate));
        else if (TokenIs(t, n, "<None>")) {}
        else if (TokenIs(t, n, "<Custom>")) w.Append(slot.param, FieldLength(slot.param));
        else {
            const long amount = ReadAmount(slot.param, FieldLength(slot.param));
            if (TokenIs(t, n, "<Tab>")) w.Repeat("\t", 1, amount);
            else if (TokenIs(t, n, "<Space>")) w.Repeat(" ", 1, amount);
            else if (TokenIs(t, n, "<Comma>")) w.Repeat(",", 1, amount);
            else if (TokenIs(t, n, "<CR>")) w.Repeat("\n", 1, amount);
            else if (TokenIs(t, n, "<CRLF>")) w.Repeat("\r\n", 2, amount);
            else w.Repeat(t, n, amount);
        }
    }
    return w.used;
}

size_t FormatLine(intptr_t index, char* out, size_t size) {
    const TrackRecord* r = CatalogueRecord(index);
    if (!r) {
        if (size) out[0] = '\0';
        return 0;
    }
    return FormatRecordLine(*r, gFormatSettings, out, size);
}
