#pragma once
#include <cstdint>

#include "base/control_kind.h"
#include "settings/settings_handler.h"

// The records that describe an option panel: rows of a label and one control,
// and the choices of a combo row, each with the child rows it reveals. Tables
// are static but writable: choice flags change at run time.

struct WindowContext;

// Row flags; only the low eight bits are examined.
constexpr uint32_t ROW_HAS_CHOICES = 0x01;  // combo row whose choices select a child table
constexpr uint32_t ROW_NUMERIC = 0x02;      // value must be a non-negative base-10 integer
constexpr uint32_t ROW_EXACT_MATCH = 0x04;  // match values by exact equality, not containment
constexpr uint32_t ROW_LABEL_ONLY = 0x08;   // a label and no control
constexpr uint32_t ROW_SAME_LINE = 0x10;    // the next row continues on this line

struct OptionChoice;

struct OptionRow {
    const char* label;      // null ends the table; empty: no label control
    int32_t labelWidth;     // panel units; also the room the label takes in the line
    int32_t controlWidth;   // panel units
    uint32_t optionId;      // handed to the table handler for get and set
    uint32_t flags;         // ROW_*
    ControlKind kind;       // edit, check box or combo box; CONTROL_NONE when label-only
    const char* items;      // combo: comma-separated items; edit: default text
    OptionChoice* choices;  // with ROW_HAS_CHOICES, else null
};

struct OptionChoice {
    const char* text;  // the combo item it stands for
    OptionRow* child;  // rows shown while active; the empty table, never null, except
                       // in the entry that ends a choice list
    int32_t active;    // 0 or 1
};

// A table handler: get (set == 0) writes the value of optionId into text (at
// least OPTION_TEXT_SIZE bytes); set stores it. 1: handled or accepted; 0: refused or unknown.
using TableHandler = int (*)(WindowContext* context, uint32_t optionId, char* text, int set);
