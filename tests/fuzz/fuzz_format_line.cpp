// libFuzzer entry: the line formatter over an arbitrary record and arbitrary
// slots (fields with or without terminators, any amounts). The line is
// always terminated inside its 1024 bytes, a smaller buffer gets a prefix of
// the same line, and neither slots past the 21 the formatter uses nor bytes
// after a field's terminator change it.
#include <algorithm>
#include <bit>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "listing/format_line.h"

using fuzz_input::Check;

namespace {

void ReadText(fuzz_input::Reader& in, char (&field)[TRACK_TEXT_SIZE]) {
    const size_t n = in.Byte();
    const size_t taken = in.Take(field, n < TRACK_TEXT_SIZE ? n : TRACK_TEXT_SIZE - 1);
    field[taken] = '\0';
}

// Renders into a heap buffer of exactly size bytes, so a write past it is
// caught; returns the text and checks the reported length.
std::vector<char> Render(const TrackRecord& record, const FormatSettings& settings, size_t size) {
    std::unique_ptr<char[]> out(new char[size ? size : 1]);
    std::memset(out.get(), 0x7F, size ? size : 1);
    const size_t n = FormatRecordLine(record, settings, out.get(), size);
    if (size == 0) {
        Check(n == 0 && out[0] == 0x7F);
        return {};
    }
    Check(n < size && out[n] == '\0' && strnlen(out.get(), size) == n);
    return std::vector<char>(out.get(), out.get() + n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_input::Reader in(data, size);
    // Heap objects of their exact size: a read past the record or the
    // settings is caught.
    auto settings = std::make_unique<FormatSettings>();
    SetFormatDefaults(*settings);
    auto record = std::make_unique<TrackRecord>();
    std::memset(record.get(), 0, sizeof *record);

    const uint8_t flags = in.Byte();
    settings->listingMode = (flags & fuzz_input::LINE_GROUP_MODE) ? GROUP_LISTING : FULL_LISTING;
    settings->roundLengths = (flags & fuzz_input::LINE_ROUND) ? 1 : 0;
    const size_t cut = in.U16() % (FORMAT_LINE_SIZE + 1);
    record->trackNumber = in.U32();
    record->groupNumber = in.U32();
    record->bitrate = in.U32();
    record->trackLength = std::bit_cast<float>(in.U32());
    record->groupLength = std::bit_cast<float>(in.U32());
    ReadText(in, record->artist);
    ReadText(in, record->album);
    ReadText(in, record->title);
    ReadText(in, record->groupName);
    FormatTable& table =
        settings->listingMode == GROUP_LISTING ? settings->groupFormat : settings->fullFormat;
    in.Take(&table, sizeof table);
    // Last, so the older seeds keep their meaning: any 32 bits, also values
    // outside the calendar, as a catalogue file could hold.
    record->recorded = in.U32();

    for (size_t k = FORMAT_USED_SLOTS; k < FORMAT_SLOT_COUNT; ++k)
        std::memset(&table.slots[k], 'A', sizeof(FormatSlot));
    const std::vector<char> line = Render(*record, *settings, FORMAT_LINE_SIZE);

    for (size_t k = FORMAT_USED_SLOTS; k < FORMAT_SLOT_COUNT; ++k)
        std::memset(&table.slots[k], 'B', sizeof(FormatSlot));
    Check(Render(*record, *settings, FORMAT_LINE_SIZE) == line);

    // Bytes after a field's terminator (the tail of an earlier text) change nothing.
    for (size_t k = 0; k < FORMAT_USED_SLOTS; ++k) {
        for (char* field : {table.slots[k].token, table.slots[k].param}) {
            const size_t n = strnlen(field, FORMAT_FIELD_SIZE);
            if (n + 1 < FORMAT_FIELD_SIZE) std::memset(field + n + 1, '9', FORMAT_FIELD_SIZE - n - 1);
        }
    }
    Check(Render(*record, *settings, FORMAT_LINE_SIZE) == line);

    Check(CountUtf8Chars(line.data(), line.size()) <= FORMAT_LINE_CHARS);

    // A smaller buffer holds the line's beginning, at most one character's
    // bytes short of the buffer; a line of well-formed UTF-8 is cut on a
    // character boundary.
    std::vector<char> shorter = Render(*record, *settings, cut);
    const size_t want = cut == 0 ? 0 : (line.size() < cut - 1 ? line.size() : cut - 1);
    Check(shorter.size() <= want && shorter.size() + UTF8_MAX_CHAR_BYTES > want &&
          std::equal(shorter.begin(), shorter.end(), line.begin()));
    if (IsValidUtf8(line.data(), line.size()))
        Check(shorter.size() == line.size() || !IsUtf8Continuation(line[shorter.size()]));
    return 0;
}
