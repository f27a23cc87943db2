#include "ui/file_filter.h"

#include <cstdio>
#include <cstring>

// Layout: display text, zero, pattern, zero, zero (the empty entry that ends
// the list), then zeros to the end. The pattern is kept whole when it fits,
// since a cut pattern would match other files; the display text gives way.
void BuildFileFilter(char* filter, size_t size, const char* typeText, const char* extension) {
    if (filter == nullptr || size < 4) return;
    memset(filter, 0, size);
    if (typeText == nullptr) typeText = "";
    if (extension == nullptr) extension = "";
    size_t patternLen = 1 + strlen(extension);
    // At least one display character stays, or the list would read as empty.
    if (patternLen > size - 4) patternLen = size - 4;
    const size_t displayRoom = size - 3 - patternLen;
    char* display = filter;
    const int n = snprintf(display, displayRoom + 1, "%s (*%s)", typeText, extension);
    size_t displayLen = n < 0 ? 0 : static_cast<size_t>(n);
    if (displayLen > displayRoom) displayLen = displayRoom;
    char* pattern = filter + displayLen + 1;
    snprintf(pattern, patternLen + 1, "*%s", extension);
}
