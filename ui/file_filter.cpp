#include "ui/file_filter.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {
// Steps back from a cut at `length` bytes to the first byte of the character
// it falls in (UTF-8 continuation bytes are 10xxxxxx).
size_t CharacterStart(const char* text, size_t length) {
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    return length;
}
}  // namespace

// Layout of the first entry: display text, zero, pattern, zero, zero (the
// empty entry that ends the list), then zeros to the end. The pattern is kept
// whole when it fits, since a cut pattern would match other files; the
// display text gives way.
void BuildFileFilter(char* filter, size_t size, const FileType* types, size_t count) {
    if (filter == nullptr || size < 4) return;
    memset(filter, 0, size);
    if (types == nullptr || count == 0) return;
    const char* typeText = types[0].text != nullptr ? types[0].text : "";
    const char* extension = types[0].extension != nullptr ? types[0].extension : "";
    size_t patternLen = 1 + strlen(extension);
    // At least one display character stays, or the list would read as empty.
    if (patternLen > size - 4) patternLen = size - 4;
    const size_t displayRoom = size - 3 - patternLen;
    const std::string display = std::string(typeText) + " (*" + extension + ")";
    size_t displayLen = display.size();
    if (displayLen > displayRoom) displayLen = CharacterStart(display.c_str(), displayRoom);
    memcpy(filter, display.data(), displayLen);
    char* pattern = filter + displayLen + 1;
    snprintf(pattern, patternLen + 1, "*%s", extension);
    size_t used = displayLen + 1 + strlen(pattern) + 1;

    for (size_t i = 1; i < count; ++i) {
        const char* text = types[i].text != nullptr ? types[i].text : "";
        const char* ext = types[i].extension != nullptr ? types[i].extension : "";
        const size_t display = strlen(text) + strlen(ext) + 4;  // " (*" and ")"
        const size_t need = display + 1 + 1 + strlen(ext) + 1;
        if (used + need + 1 > size) break;
        snprintf(filter + used, display + 1, "%s (*%s)", text, ext);
        snprintf(filter + used + display + 1, strlen(ext) + 2, "*%s", ext);
        used += need;
    }
}

void BuildFileFilter(char* filter, size_t size, const char* typeText, const char* extension) {
    const FileType type = {typeText, extension};
    BuildFileFilter(filter, size, &type, 1);
}
