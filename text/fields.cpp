#include "text/fields.h"

#include <cstring>

#include "text/utf8.h"

int StoreFieldText(char* field, size_t size, const char* text, size_t maxChars) {
    if (size == 0) return 0;
    const char* src = text ? text : "";
    // Looking a character's bytes past the field shows whether the text ends
    // within it and whether its last character there is whole.
    const size_t n = strnlen(src, size + UTF8_MAX_CHAR_BYTES);
    const size_t kept = Utf8CutLength(src, n, size - 1, maxChars);
    std::memmove(field, src, kept);
    field[kept] = '\0';
    return kept == n ? 1 : 0;
}

bool TextEqualsFolded(const char* text, size_t limit, const char* name) {
    size_t i = 0;
    for (; i < limit && name[i] != '\0'; ++i) {
        if (FoldCase(text[i]) != FoldCase(name[i])) return false;
    }
    return name[i] == '\0' && (i == limit || text[i] == '\0');
}
