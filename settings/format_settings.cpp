#include "settings/format_settings.h"

#include <cstring>

#include "settings/listing_words.h"

namespace {
void SetTableDefaults(FormatTable& table) {
    std::memset(&table, 0, sizeof table);
    for (FormatSlot& slot : table.slots) {
        StoreFieldText(slot.token, sizeof slot.token, NONE_TOKEN);
        StoreFieldText(slot.param, sizeof slot.param, "1");
    }
}
}  // namespace

// Holds the defaults from the start, so nothing ever sees a listing mode of 0;
// start-up sets them again before the option panel is built.
FormatSettings gFormatSettings = [] {
    FormatSettings settings;
    SetFormatDefaults(settings);
    return settings;
}();

void SetFormatDefaults(FormatSettings& settings) {
    settings.listingMode = FULL_LISTING;
    settings.sortLevels[0] = {SORT_NUMBER_ASC, 0};
    settings.sortLevels[1] = {SORT_LENGTH_ASC, 0};
    settings.sortLevels[2] = {SORT_BITRATE_ASC, 0};
    settings.roundLengths = 1;
    SetTableDefaults(settings.fullFormat);
    SetTableDefaults(settings.groupFormat);
}

const FormatTable& ActiveFormatTable(const FormatSettings& settings) {
    return settings.listingMode == GROUP_LISTING ? settings.groupFormat : settings.fullFormat;
}

int StoreFieldText(char* field, size_t size, const char* text) {
    if (size == 0) return 0;
    const char* src = text ? text : "";
    size_t n = 0;
    while (n < size - 1 && src[n] != '\0') ++n;
    std::memcpy(field, src, n);
    field[n] = '\0';
    return src[n] == '\0' ? 1 : 0;
}

bool TextEqualsFolded(const char* text, size_t limit, const char* name) {
    size_t i = 0;
    for (; i < limit && name[i] != '\0'; ++i) {
        if (FoldCase(text[i]) != FoldCase(name[i])) return false;
    }
    return name[i] == '\0' && (i == limit || text[i] == '\0');
}
