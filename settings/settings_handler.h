#pragma once
#include <cstddef>
#include <cstdint>

// Get and set of the listing settings by option id, the one way the option
// panel reads and changes gFormatSettings. Portable: the refreshes a set
// needs reach the list, the listing and the preview through hooks that the
// window side installs. Window thread only.

struct WindowContext;

// Size of the text buffer every table handler is given (at least).
constexpr size_t OPTION_TEXT_SIZE = 255;

// Option numbers (the low 28 bits of an option id).
constexpr uint32_t OPTION_NUMBER_MASK = 0x0FFFFFFF;
constexpr uint32_t OPTION_SORT_KEY_FIRST = 1;   // 1..3: key of sort level 1..3
constexpr uint32_t OPTION_SORT_CASE_FIRST = 4;  // 4..6: case flag of sort level 1..3
constexpr uint32_t OPTION_ROUND_LENGTHS = 7;
constexpr uint32_t OPTION_SLOT_TOKEN_FIRST = 10;  // 10..30 with a mode bit: token of slot 0..20
constexpr uint32_t OPTION_SLOT_PARAM_FIRST = 40;  // 40..60 with a mode bit: param of slot 0..20
constexpr uint32_t OPTION_LISTING_MODE = 100;

// What a set calls after it changed a setting, in the order the handler
// gives. A null hook is skipped.
struct SettingsRefreshHooks {
    void (*clearList)();       // empties the track list
    void (*rebuildListing)();  // fills the emptied track list with the current listing
    void (*reorderList)();     // re-sorts the track list by the sort levels
    void (*refreshPreview)();  // re-renders the selected line, if any, into the preview
};
void SetSettingsRefreshHooks(const SettingsRefreshHooks& hooks);

// Get (set == 0): writes the current value of optionId into text (at least
// OPTION_TEXT_SIZE bytes) and returns 1; never refused. Set: stores the value
// in text, runs the refreshes it needs and returns 1, or returns 0 and changes
// nothing when refused (busy flag, a text outside the accepted ones). Unknown
// option numbers answer 0 and leave text untouched. The context is not used.
int SettingsHandler(WindowContext* context, uint32_t optionId, char* text, int set);
