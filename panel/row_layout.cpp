#include "panel/row_layout.h"

namespace {
constexpr uint32_t ROW_FLAG_MASK = 0xFF;  // only the low eight flag bits carry meaning
}  // namespace

// A running left edge x and line index walk the rows. A same-line row moves
// x right by its label and control widths and takes y one pitch up, so that
// the next row's line top (y + pitch * line) stays on this line. A label-only
// row does not count a line: without ROW_SAME_LINE it moves y one pitch down
// instead. A choice row's child rows fill the lines right below it, from the
// choice row's left edge.
int LayoutRows(OptionRow* table, int x0, int y, int firstLine, int maxRows, PlaceRowFn place, void* user) {
    int x = x0;
    int line = firstLine;
    if (table == nullptr) return line - 1;
    for (int n = 0; table[n].label != nullptr && (maxRows < 0 || n < maxRows); ++n) {
        OptionRow* row = &table[n];
        const uint32_t flags = row->flags & ROW_FLAG_MASK;
        const bool sameLine = (flags & ROW_SAME_LINE) != 0;
        RowPlacement p{row, x, y + LINE_PITCH * line, nullptr, -1};
        if ((flags & ROW_HAS_CHOICES) && !(flags & ROW_LABEL_ONLY)) {
            p.shownIndex = FirstActiveChoice(row->choices);
            if (p.shownIndex >= 0) p.shownChoice = &row->choices[p.shownIndex];
        }
        const bool placed = place(user, p);

        if (flags & ROW_LABEL_ONLY) {
            if (sameLine) {
                x += row->labelWidth + row->controlWidth;
            } else {
                y += LINE_PITCH;
                x = x0;
            }
            continue;
        }
        if (placed && p.shownChoice != nullptr) {
            const int last = LayoutRows(p.shownChoice->child, x, y, line + 1, -1, place, user);
            if (sameLine) y += LINE_PITCH * (line - last);
            line = last;
        }
        if (sameLine) {
            y -= LINE_PITCH;
            x += row->labelWidth + row->controlWidth;
        } else {
            x = x0;
        }
        line += 1;
    }
    return line - 1;
}

int FirstActiveChoice(const OptionChoice* choices) {
    if (choices == nullptr) return -1;
    for (int i = 0; choices[i].child != nullptr; ++i) {
        if (choices[i].active) return i;
    }
    return -1;
}

int ScaleUnits(int units, float factor) { return static_cast<int>(static_cast<float>(units) * factor); }

PanelRect LabelRect(const OptionRow& row, int x, int lineTop, float scaleX, float scaleY) {
    return {ScaleUnits(x + LABEL_OFFSET_X, scaleX), ScaleUnits(lineTop + LABEL_OFFSET_Y, scaleY),
            row.labelWidth, LABEL_HEIGHT};
}

PanelRect ControlRect(const OptionRow& row, int x, int lineTop, float scaleX, float scaleY) {
    const int top = row.kind == CONTROL_EDIT ? lineTop + EDIT_OFFSET_Y : lineTop;
    const int height = row.kind == CONTROL_COMBO_BOX ? COMBO_HEIGHT : CONTROL_HEIGHT;
    return {ScaleUnits(x + row.labelWidth + CONTROL_GAP, scaleX), ScaleUnits(top, scaleY),
            ScaleUnits(row.controlWidth, scaleX), height};
}

uint32_t PackPosition(int x, int lineTop) {
    return (static_cast<uint32_t>(x) << 16) | (static_cast<uint32_t>(lineTop) & 0xFFFF);
}

int PositionX(uint32_t position) { return static_cast<int>(position >> 16); }

int PositionY(uint32_t position) { return static_cast<int>(position & 0xFFFF); }
