#include "panel/option_values.h"

#include <cstdlib>
#include <cstring>

#include "settings/format_settings.h"

bool ItemCursor::Next(char (&item)[ITEM_TEXT_MAX + 1]) {
    if (next_ == nullptr) return false;
    const char* end = std::strchr(next_, ',');
    const size_t length = end != nullptr ? static_cast<size_t>(end - next_) : std::strlen(next_);
    const size_t n = length < ITEM_TEXT_MAX ? length : ITEM_TEXT_MAX;
    std::memcpy(item, next_, n);
    item[n] = '\0';
    next_ = end != nullptr ? end + 1 : nullptr;
    return true;
}

// An empty value would be contained in every item and select the last one;
// it stands for no value at all, so it selects nothing.
bool ValueMatches(const char* text, const char* value, bool exact) {
    if (text == nullptr || value == nullptr) return false;
    if (exact) return std::strcmp(text, value) == 0;
    return *value != '\0' && std::strstr(text, value) != nullptr;
}

// strtoll gives the same verdict as a 32-bit strtol: an out-of-range number
// saturates but keeps its sign, and only the sign and the consumed length
// decide.
bool IsNonNegativeInteger(const char* text) {
    if (text == nullptr || *text == '\0') return true;
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    return end != nullptr && *end == '\0' && end != text && value >= 0;
}

bool ActivateMatchingChoice(OptionChoice* choices, const char* value) {
    if (choices == nullptr) return false;
    bool changed = false;
    for (OptionChoice* c = choices; c->child != nullptr; ++c) {
        const int32_t active =
            c->text != nullptr && TextEqualsFolded(value, OPTION_TEXT_SIZE, c->text) ? 1 : 0;
        if (c->active != active) changed = true;
        c->active = active;
    }
    return changed;
}

void MarkChoiceList(OptionChoice* choices, const char* value, bool exact) {
    if (choices == nullptr || choices[0].child == nullptr) return;
    int lastActive = 0;
    bool matched = false;
    for (int i = 0; choices[i].child != nullptr; ++i) {
        if (choices[i].active) {
            choices[i].active = 0;
            lastActive = i;
        }
        if (ValueMatches(choices[i].text, value, exact)) {
            choices[i].active = 1;
            matched = true;
        }
    }
    if (!matched) choices[lastActive].active = 1;
}
