// Child controls of a WindowContext, known by their window handles (all are
// created with identifier 0), and the few operations the program performs on
// them. GUI thread only.
#pragma once

#include "ui/window_context_win.h"

#include <cstddef>
#include <cstdint>

// Null when the kind is not a ControlKind, the table is full or the platform
// refuses the control; nothing is added to the table then.
HWND CreateControl(WindowContext* context, int kind, int x, int y, int width, int height,
                   const char* text, uint32_t resizeFlags, ControlCallback callback,
                   intptr_t handler, intptr_t user);
void SetControlFont(WindowContext* context, HWND control, int height, int width, int italic,
                    int underline, const char* faceName);
void SetControlText(HWND control, const char* text);
// Characters copied, without the terminator; the text is cut to fit.
int GetControlText(HWND control, char* buffer, int bufferSize);
// -1: no current line or item.
intptr_t GetSelectedItemData(WindowContext* context, HWND control);
// Copies the current line or item's text, cut to fit; leaves the buffer
// alone when there is none. 1 when copied.
int GetSelectedText(WindowContext* context, HWND control, char* buffer, size_t bufferSize);
// 0 for -1 or an index past the end.
intptr_t GetListItemData(HWND list, int index);
// index -1: the last line or item.
void SelectItem(WindowContext* context, HWND control, int index, int notify);
void ClearList(HWND list);
void AddItem(WindowContext* context, HWND control, const char* text, intptr_t itemData,
             int allowDuplicate);
void SetCheck(HWND button, int checked);
int IsChecked(HWND button);
int GetListCount(HWND list);
void SetMultiSelect(WindowContext* context, HWND list, int allow);
void DestroyControl(WindowContext* context, HWND control);

struct ListLine {
  const char* text;
  intptr_t itemData;
};

// Appends the lines, in order, with their item data, as one batch (redraw off,
// lines in, redraw on, one scroll upkeep at the end). Leaves exactly the state
// that AddItem(context, list, text, itemData, /*allowDuplicate*/1) per line leaves.
void AppendListLines(WindowContext* context, HWND list, const ListLine* lines, size_t count);

// Combo box items and selection as the panel and its tests read and restore
// them. None of these notifies the parent.
// Number of items; -1 when the control does not answer.
int GetComboCount(HWND combo);
// -1: no item selected.
int GetComboSelection(HWND combo);
// index -1 leaves no item selected.
void SetComboSelection(HWND combo, int index);
// Characters copied, without the terminator; the item is cut to fit. -1 when
// there is no such item.
int GetComboItemText(HWND combo, int index, char* buffer, size_t bufferSize);
