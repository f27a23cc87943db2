#include "settings/listing_words.h"

#include "text/fields.h"

namespace {
// Each SortKey's track wording, and its group wording where the key reads
// group fields in the Group Listing (null where both are the same).
struct SortKeyWords {
    const char* track;
    const char* group;
};
constexpr SortKeyWords SORT_KEY_WORDS[SORT_RECORDED_DESC + 1] = {
    {nullptr, nullptr},
    {"Artist (Ascending Order)", nullptr},
    {"Album (Ascending Order)", nullptr},
    {"Title (Ascending Order)", nullptr},
    {"Artist (Decending Order)", nullptr},
    {"Album (Decending Order)", nullptr},
    {"Title (Decending Order)", nullptr},
    {"Track Number (Ascending Order)", "Group Number (Ascending Order)"},
    {"Track Number (Decending Order)", "Group Number (Decending Order)"},
    {"Track Length (Ascending Order)", "Group Length (Ascending Order)"},
    {"Track Length (Decending Order)", "Group Length (Decending Order)"},
    {"Bitrate (Ascending Order)", nullptr},
    {"Bitrate (Decending Order)", nullptr},
    {"Group Name (Ascending Order)", nullptr},
    {"Group Name (Decending Order)", nullptr},
    {"Recorded (Ascending Order)", nullptr},
    {"Recorded (Decending Order)", nullptr},
};
constexpr uint32_t SORT_KEY_LAST = SORT_RECORDED_DESC;
}  // namespace

const char* ListingModeText(ListingMode mode) {
    return mode == GROUP_LISTING ? GROUP_LISTING_TEXT : FULL_LISTING_TEXT;
}

const char* SortKeyText(uint32_t key, ListingMode mode) {
    if (key == 0 || key > SORT_KEY_LAST) return nullptr;
    const SortKeyWords& k = SORT_KEY_WORDS[key];
    return mode == GROUP_LISTING && k.group ? k.group : k.track;
}

uint32_t SortKeyOfText(const char* text, size_t limit) {
    for (uint32_t key = 1; key <= SORT_KEY_LAST; ++key) {
        const SortKeyWords& k = SORT_KEY_WORDS[key];
        if (TextEqualsFolded(text, limit, k.track) || (k.group && TextEqualsFolded(text, limit, k.group)))
            return key;
    }
    return 0;
}

const FormatToken* FindFormatToken(const char* text, size_t limit) {
    for (const FormatToken& t : FORMAT_TOKENS)
        if (TextEqualsFolded(text, limit, t.name)) return &t;
    return nullptr;
}
