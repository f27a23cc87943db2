// The kinds of child control the window layer creates. Portable and apart
// from ui/, so that the option panel's tables and row layout name them
// without knowing the window layer.
#pragma once

#include <cstdint>

// Kind of a child control; CreateControl refuses CONTROL_NONE and any other
// value. The number of a kind is part of the window name of the kinds that
// get a generated one.
enum ControlKind : int32_t {
    CONTROL_NONE = -1,  // no control: a label-only row, a window that is not a control
    CONTROL_LIST_BOX = 0,
    CONTROL_PUSH_BUTTON = 1,
    CONTROL_EDIT = 2,
    CONTROL_MULTILINE_EDIT = 3,
    CONTROL_STATIC_TEXT = 4,
    CONTROL_CHECK_BOX = 5,
    CONTROL_COMBO_BOX = 6,
    CONTROL_LIST_VIEW = 7,  // a report-style virtual list view (ui/list_view_win.h)
};
