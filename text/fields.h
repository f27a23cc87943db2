#pragma once
#include <cstddef>
#include <cstdint>

// Fixed text fields and the program's one case fold.

// Stores text into a fixed field the way a slot store does: up to and
// including the terminator, so bytes after it keep an earlier, longer text.
// A text longer than size - 1 bytes or maxChars characters is cut on a
// character boundary. Returns 1 when stored whole, 0 when cut.
int StoreFieldText(char* field, size_t size, const char* text, size_t maxChars = SIZE_MAX);

// The program's one case fold, for sort keys, setting texts and token names:
// A-Z as a-z, every other byte as it is, so UTF-8 sequences stay whole.
inline unsigned FoldCase(unsigned char c) { return (c >= 'A' && c <= 'Z') ? unsigned(c) + ('a' - 'A') : c; }

// Whether text, read no further than limit bytes (a field may lack its
// terminator), equals name as a whole, folding only A-Z.
bool TextEqualsFolded(const char* text, size_t limit, const char* name);
