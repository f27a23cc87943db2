// The file-type filter handed to the save and open dialogs: one entry, the
// display text "<type text> (*<extension>)", its terminator, the pattern
// "*<extension>", and the zeros that end the list. Portable.
#pragma once

#include <cstddef>

constexpr size_t FILE_FILTER_SIZE = 255;

// Fills all `size` bytes of `filter` (size >= 4). Texts too long for the area
// are cut so that the pattern keeps at least its '*' and the two closing zeros
// remain.
void BuildFileFilter(char* filter, size_t size, const char* typeText, const char* extension);
