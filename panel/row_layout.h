#pragma once
#include <cstdint>

#include "panel/option_rows.h"

// Where the rows of a table go: the walk over rows and the child rows of
// their active choices, and the geometry of a row's label and control.
// Portable; the panel creates the controls at the places this computes.

// Panel units; screen pixels are these times the window's scale factors.
constexpr int LINE_PITCH = 29;
constexpr int LABEL_OFFSET_X = 4;   // label left of the row's left edge
constexpr int LABEL_OFFSET_Y = 4;   // label below the line top
constexpr int LABEL_HEIGHT = 20;    // not scaled, like the label width
constexpr int CONTROL_GAP = 10;     // control left = row left + labelWidth + gap
constexpr int EDIT_OFFSET_Y = 1;    // an edit sits one unit below the line top
constexpr int CONTROL_HEIGHT = 22;  // not scaled
constexpr int COMBO_HEIGHT = 300;   // a combo's height includes its drop-down list

struct RowPlacement {
    OptionRow* row;
    int x;                      // the row's left edge
    int lineTop;                // top of the row's line
    OptionChoice* shownChoice;  // first active choice of a choice row; null: none
    int shownIndex;             // its position in the choice list; -1: none
};

// Called for each row in layout order (a choice row before its child rows).
// False: the row was not placed, and its child rows are not laid out.
using PlaceRowFn = bool (*)(void* user, const RowPlacement& placement);

// Lays out at most maxRows rows of table (all of them when maxRows < 0),
// starting on line firstLine of a panel whose line 0 has its top at y, with
// the rows' left edge at x0. Returns the last line used: firstLine - 1 for an
// empty table.
int LayoutRows(OptionRow* table, int x0, int y, int firstLine, int maxRows, PlaceRowFn place, void* user);

// Position of the first active choice; -1 when none is active. A list ends
// at the first entry without a child table.
int FirstActiveChoice(const OptionChoice* choices);

struct PanelRect {
    int x, y, width, height;
};

// Panel units times a scale factor, truncated toward zero.
int ScaleUnits(int units, float factor);
// Screen rectangles of a row placed at (x, lineTop) with the window's current
// scale factors: x, y and the control width scale; label width and both
// heights do not.
PanelRect LabelRect(const OptionRow& row, int x, int lineTop, float scaleX, float scaleY);
PanelRect ControlRect(const OptionRow& row, int x, int lineTop, float scaleX, float scaleY);

// A row's place as one word: x in the high 16 bits, the line top in the low 16.
uint32_t PackPosition(int x, int lineTop);
int PositionX(uint32_t position);
int PositionY(uint32_t position);
