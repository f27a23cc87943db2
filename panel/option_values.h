#pragma once
#include <cstddef>

#include "panel/option_rows.h"

// The panel's rules for values: splitting a combo's item text, matching a
// value against items and choices, the numeric check, and which choices
// become active after a change or a load. Portable.

// Longest combo item; longer items are cut.
constexpr size_t ITEM_TEXT_MAX = 63;

// Walks a comma-separated item text in order. Null or empty: no items.
class ItemCursor {
public:
    explicit ItemCursor(const char* items) : next_(items != nullptr && *items ? items : nullptr) {}
    // Copies the next item, cut to ITEM_TEXT_MAX characters, and terminates it.
    // False when there is none left.
    bool Next(char (&item)[ITEM_TEXT_MAX + 1]);

private:
    const char* next_;
};

// Whether a value selects text: with exact, equal to it; otherwise contained
// in it. Both case-sensitive. The empty value matches only an empty text
// exactly, and is contained in nothing.
bool ValueMatches(const char* text, const char* value, bool exact);

// A non-negative base-10 integer as the standard conversion reads it
// (leading blanks and a sign allowed), consuming the whole text. The empty
// text passes.
bool IsNonNegativeInteger(const char* text);

// After a change through the panel: the choices whose text equals value
// (ignoring case) become active, every other one inactive. True when any
// flag changed.
bool ActivateMatchingChoice(OptionChoice* choices, const char* value);

// After the settings changed behind the panel: choices matching value (see
// ValueMatches) become active, and the others are cleared. When none matches,
// the last choice that was active stays active (the first one when none
// was). An empty list is left alone.
void MarkChoiceList(OptionChoice* choices, const char* value, bool exact);
