#include "settings/format_file.h"

#include <cstring>
#include <initializer_list>

#include "text/decoders.h"
#include "text/utf8.h"

namespace {

constexpr uint32_t FORMAT_FILE_FULL_ONLY_VERSION = 1;  // holds the Full Listing table only

// Copies what the file still has, at most one table, into table; the rest of
// the table keeps its content. Returns the bytes taken.
size_t ReadTable(const uint8_t* bytes, size_t left, FormatTable& table) {
    const size_t n = left < sizeof table ? left : sizeof table;
    std::memcpy(&table, bytes, n);
    return n;
}

// A damaged file may hold a field with no terminator in its 32 bytes. It is
// cut to 31 bytes, as a stored text of that length would be, so no reader of
// the table can run past the field. A field that is not UTF-8 was written by
// a program that kept Windows-1252 texts: it is converted, and cut on a
// character boundary where its UTF-8 runs past 31 bytes.
void ReadFields(FormatTable& table) {
    for (FormatSlot& slot : table.slots) {
        for (char* field : {slot.token, slot.param}) {
            if (!std::memchr(field, '\0', FORMAT_FIELD_SIZE)) field[FORMAT_FIELD_SIZE - 1] = '\0';
            const size_t n = std::strlen(field);
            if (IsValidUtf8(field, n)) continue;
            char text[FORMAT_FIELD_SIZE];
            Windows1252ToUtf8(field, n, text, sizeof text);
            std::memcpy(field, text, std::strlen(text) + 1);
        }
    }
}

}  // namespace

void WriteFormatFile(const FormatSettings& settings, uint8_t out[FORMAT_FILE_SIZE]) {
    for (size_t i = 0; i < FORMAT_FILE_VERSION_SIZE; ++i) out[i] = uint8_t(FORMAT_FILE_VERSION >> (8 * i));
    std::memcpy(out + FORMAT_FILE_VERSION_SIZE, &settings.fullFormat, sizeof(FormatTable));
    std::memcpy(out + FORMAT_FILE_VERSION_SIZE + sizeof(FormatTable), &settings.groupFormat,
                sizeof(FormatTable));
}

// A file shorter than its version field reads as version 0 with nothing
// after it, so it changes nothing. A short file overwrites only the bytes it
// has; bytes beyond the tables its version holds are ignored.
int ReadFormatFile(const uint8_t* bytes, size_t size, FormatSettings& settings) {
    if (size < FORMAT_FILE_VERSION_SIZE) return 1;
    uint32_t version = 0;
    for (size_t i = 0; i < FORMAT_FILE_VERSION_SIZE; ++i) version |= uint32_t(bytes[i]) << (8 * i);
    if (version > FORMAT_FILE_VERSION) return 0;

    size_t at = FORMAT_FILE_VERSION_SIZE;
    at += ReadTable(bytes + at, size - at, settings.fullFormat);
    if (version != FORMAT_FILE_FULL_ONLY_VERSION) ReadTable(bytes + at, size - at, settings.groupFormat);
    ReadFields(settings.fullFormat);
    ReadFields(settings.groupFormat);
    return 1;
}
