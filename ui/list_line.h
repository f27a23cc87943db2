// One line of a list box: its text and its item data. Portable: the listing
// core composes its lines in this record and the control layer adds them.
#pragma once

#include <cstdint>

struct ListLine {
    const char* text;
    intptr_t itemData;
};
