#include "settings/settings_handler.h"

#include <cstring>

#include "settings/busy_flag.h"
#include "settings/format_settings.h"
#include "settings/listing_words.h"

namespace {

SettingsRefreshHooks gHooks{};

constexpr uint32_t SORT_LEVEL_COUNT = 3;

bool IsCustom(const char* text, size_t limit) { return TextEqualsFolded(text, limit, CUSTOM_TOKEN); }

// Copies a 32-byte field up to its first NUL or its end into out (at least
// OPTION_TEXT_SIZE bytes), terminated: a loaded field may lack a terminator.
void CopyField(const char* field, char* out) {
    const size_t n = strnlen(field, FORMAT_FIELD_SIZE);
    std::memcpy(out, field, n);
    out[n] = '\0';
}

void WriteText(char* out, const char* text) { std::memcpy(out, text, std::strlen(text) + 1); }

void Run(void (*hook)()) {
    if (hook) hook();
}

// The table that an id's mode bit selects (Full Listing wins when both are
// set), or null when it carries none.
FormatTable* TableOf(uint32_t optionId) {
    if (optionId & FULL_LISTING) return &gFormatSettings.fullFormat;
    if (optionId & GROUP_LISTING) return &gFormatSettings.groupFormat;
    return nullptr;
}

uint32_t FlagOf(const char* text) { return text[0] == '1' ? 1 : 0; }

// The slot an id of a token (first = 10) or param (first = 40) option
// reaches, or null when the number is outside the range or the id has no
// mode bit: such ids are never built, so they are answered as unknown
// rather than guessed into either table.
FormatSlot* SlotOf(uint32_t optionId, uint32_t number, uint32_t first) {
    if (number < first || number - first >= FORMAT_USED_SLOTS) return nullptr;
    FormatTable* table = TableOf(optionId);
    return table ? &table->slots[number - first] : nullptr;
}

int GetSetting(uint32_t optionId, char* text) {
    const FormatSettings& s = gFormatSettings;
    const uint32_t number = optionId & OPTION_NUMBER_MASK;
    if (number >= OPTION_SORT_KEY_FIRST && number < OPTION_SORT_KEY_FIRST + SORT_LEVEL_COUNT) {
        // Only this handler stores keys, so an unknown one cannot occur;
        // were it there, it answers the empty text.
        const char* name = SortKeyText(s.sortLevels[number - OPTION_SORT_KEY_FIRST].key, s.listingMode);
        WriteText(text, name ? name : "");
        return 1;
    }
    if (number >= OPTION_SORT_CASE_FIRST && number < OPTION_SORT_CASE_FIRST + SORT_LEVEL_COUNT) {
        WriteText(text, s.sortLevels[number - OPTION_SORT_CASE_FIRST].caseSensitive ? "1" : "0");
        return 1;
    }
    if (number == OPTION_ROUND_LENGTHS) {
        WriteText(text, s.roundLengths ? "1" : "0");
        return 1;
    }
    if (const FormatSlot* slot = SlotOf(optionId, number, OPTION_SLOT_TOKEN_FIRST)) {
        CopyField(slot->token, text);
        return 1;
    }
    if (const FormatSlot* slot = SlotOf(optionId, number, OPTION_SLOT_PARAM_FIRST)) {
        CopyField(slot->param, text);
        return 1;
    }
    if (number == OPTION_LISTING_MODE) {
        WriteText(text, ListingModeText(s.listingMode));
        return 1;
    }
    return 0;
}

// The caller's buffer holds at least OPTION_TEXT_SIZE bytes; no text is read
// past them, terminated or not.
int SetSetting(uint32_t optionId, const char* text) {
    FormatSettings& s = gFormatSettings;
    const uint32_t number = optionId & OPTION_NUMBER_MASK;
    if (number >= OPTION_SORT_KEY_FIRST && number < OPTION_SORT_KEY_FIRST + SORT_LEVEL_COUNT) {
        const uint32_t key = SortKeyOfText(text, OPTION_TEXT_SIZE);
        if (key == 0) return 0;
        s.sortLevels[number - OPTION_SORT_KEY_FIRST].key = key;
        Run(gHooks.reorderList);
        return 1;
    }
    if (number >= OPTION_SORT_CASE_FIRST && number < OPTION_SORT_CASE_FIRST + SORT_LEVEL_COUNT) {
        s.sortLevels[number - OPTION_SORT_CASE_FIRST].caseSensitive = FlagOf(text);
        Run(gHooks.reorderList);
        return 1;
    }
    if (number == OPTION_ROUND_LENGTHS) {
        s.roundLengths = FlagOf(text);
        Run(gHooks.refreshPreview);
        return 1;
    }
    if (FormatSlot* slot = SlotOf(optionId, number, OPTION_SLOT_TOKEN_FIRST)) {
        // A custom text and a repeat amount share the param field: entering
        // "<Custom>" starts an empty text, leaving it restores the amount 1.
        const bool wasCustom = IsCustom(slot->token, FORMAT_FIELD_SIZE);
        const bool isCustom = IsCustom(text, OPTION_TEXT_SIZE);
        if (isCustom && !wasCustom)
            StoreFieldText(slot->param, sizeof slot->param, "");
        else if (!isCustom && wasCustom)
            StoreFieldText(slot->param, sizeof slot->param, "1");
        StoreFieldText(slot->token, sizeof slot->token, text);
        Run(gHooks.refreshPreview);
        return 1;
    }
    if (FormatSlot* slot = SlotOf(optionId, number, OPTION_SLOT_PARAM_FIRST)) {
        StoreFieldText(slot->param, sizeof slot->param, text);
        Run(gHooks.refreshPreview);
        return 1;
    }
    if (number == OPTION_LISTING_MODE) {
        if (TextEqualsFolded(text, OPTION_TEXT_SIZE, FULL_LISTING_TEXT))
            s.listingMode = FULL_LISTING;
        else if (TextEqualsFolded(text, OPTION_TEXT_SIZE, GROUP_LISTING_TEXT))
            s.listingMode = GROUP_LISTING;
        else
            return 0;
        // Also when the mode is unchanged: the list is built anew either way.
        Run(gHooks.clearList);
        Run(gHooks.rebuildListing);
        Run(gHooks.reorderList);
        Run(gHooks.refreshPreview);
        return 1;
    }
    return 0;
}

}  // namespace

void SetSettingsRefreshHooks(const SettingsRefreshHooks& hooks) { gHooks = hooks; }

// Every set is refused while a file command runs (its dialog leaves the panel
// live); gets always answer, so a refused control can be put back.
int SettingsHandler(WindowContext*, uint32_t optionId, char* text, int set) {
    if (!text) return 0;
    if (!set) return GetSetting(optionId, text);
    if (gBusy) return 0;
    return SetSetting(optionId, text);
}
