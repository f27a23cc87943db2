// The file-type filter handed to the save and open dialogs: per type the
// display text "<type text> (*<extension>)", its terminator, the pattern
// "*<extension>" and its terminator; a zero after the last type ends the
// list. Portable; the texts are UTF-8.
#pragma once

#include <cstddef>

constexpr size_t FILE_FILTER_SIZE = 255;

struct FileType {
    const char* text;
    const char* extension;
};

// Fills all `size` bytes of `filter` (size >= 4). When the first type's texts
// are too long for the area they are cut (on a character boundary) so that
// its pattern keeps at least its '*' and the two closing zeros remain; a
// later type is offered only when it fits whole.
void BuildFileFilter(char* filter, size_t size, const FileType* types, size_t count);
// The filter of one type.
void BuildFileFilter(char* filter, size_t size, const char* typeText, const char* extension);
