// Lays out a format table for a test: the given token / param pairs in
// slots 0, 1, 2 ... and the defaults ("<None>" / "1") in every other slot.
#pragma once

#include <vector>

#include "settings/format_settings.h"
#include "text/fields.h"

struct Slot {
    const char* token;
    const char* param;
};

inline void SetSlots(FormatTable& table, const std::vector<Slot>& slots) {
    FormatSettings defaults;
    SetFormatDefaults(defaults);
    table = defaults.fullFormat;
    for (size_t k = 0; k < slots.size(); ++k) {
        StoreFieldText(table.slots[k].token, FORMAT_FIELD_SIZE, slots[k].token);
        StoreFieldText(table.slots[k].param, FORMAT_FIELD_SIZE, slots[k].param);
    }
}
