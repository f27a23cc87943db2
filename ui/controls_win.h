// Child controls of a WindowContext, known by their window handles (all are
// created with identifier 0), and the few operations the program performs on
// them. GUI thread only.
#pragma once

#include "ui/window_context_win.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

// Null when the kind is not a ControlKind, the table is full or the platform
// refuses the control; nothing is added to the table then.
HWND CreateControl(WindowContext* context, int kind, int x, int y, int width, int height, const char* text,
                   uint32_t resizeFlags, ControlCallback callback, intptr_t handler, intptr_t user);
void SetControlFont(WindowContext* context, HWND control, int height, int width, int italic, int underline,
                    const char* faceName);
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
void AddItem(WindowContext* context, HWND control, const char* text, intptr_t itemData, int allowDuplicate);
void SetCheck(HWND button, int checked);
int IsChecked(HWND button);
int GetListCount(HWND list);
void SetMultiSelect(WindowContext* context, HWND list, int allow);
void DestroyControl(WindowContext* context, HWND control);

// The steps of one batch of lines added to a list box: redraw off and room
// reserved for count lines of textBytes bytes in all, the lines, then redraw
// on and one scroll upkeep. BeginListBatch answers null, and nothing happens,
// when list is not a list box of context.
ControlRecord* BeginListBatch(WindowContext* context, HWND list, size_t count, size_t textBytes);
void AddListLine(HWND list, const char* text, intptr_t itemData);
void EndListBatch(ControlRecord* record);

// Appends the lines (any record with `text` and `itemData`), in order, as one
// batch. Leaves exactly the state that AddItem(context, list, text, itemData,
// /*allowDuplicate*/1) per line leaves; lines without text are skipped.
template <class Line>
void AppendListLines(WindowContext* context, HWND list, const Line* lines, size_t count) {
    // No lines: the one-by-one path would not touch the list at all.
    if (lines == nullptr || count == 0) return;
    size_t bytes = 0;
    for (size_t i = 0; i < count; i++) {
        if (lines[i].text != nullptr) bytes += strlen(lines[i].text) + 1;
    }
    ControlRecord* record = BeginListBatch(context, list, count, bytes);
    if (record == nullptr) return;
    for (size_t i = 0; i < count; i++) {
        if (lines[i].text != nullptr) AddListLine(list, lines[i].text, lines[i].itemData);
    }
    EndListBatch(record);
}

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
// Removes every item; the combo is left without a selection.
void ClearComboItems(HWND combo);
// Appends the items, in order, as one batch (no search for items already
// there) and selects the first one when nothing was selected. Leaves the
// state that AddItem(context, combo, text, 0, /*allowDuplicate*/1) per item leaves.
void AppendComboItems(HWND combo, const char* const* items, size_t count);

// --- List box operations ----------------------------------------------------
// One message each (in the spirit of 7-Zip's CPP/Windows/Control wrappers),
// for code that works on a list's lines directly. Indexes are the list's;
// a read past the end gives what the list box gives (LB_ERR, -1).
int GetListTopIndex(HWND list);               // LB_GETTOPINDEX
int GetListCaretIndex(HWND list);             // LB_GETCARETINDEX
int GetListAnchorIndex(HWND list);            // LB_GETANCHORINDEX
int GetListCurrentIndex(HWND list);           // LB_GETCURSEL; -1: none
int GetListSelectedCount(HWND list);          // LB_GETSELCOUNT
int GetListTextLength(HWND list, int index);  // LB_GETTEXTLEN
// LB_GETTEXT: buffer must hold GetListTextLength + 1 bytes.
int GetListText(HWND list, int index, char* buffer);
intptr_t GetListItemDataAt(HWND list, int index);               // LB_GETITEMDATA, no range check
int AddListString(HWND list, const char* text);                 // LB_ADDSTRING: the new index, < 0 on failure
void SetListItemData(HWND list, int index, intptr_t itemData);  // LB_SETITEMDATA
void ReserveListStorage(HWND list, size_t count, size_t bytes);  // LB_INITSTORAGE
void SetRedraw(HWND control, bool redraw);                       // WM_SETREDRAW
void RepaintControl(HWND control);                               // invalidates all of it, background too
int GetHorizontalScrollPos(HWND control);                        // the SB_HORZ position
// The width of the text in the list's font on its measuring context, as the
// scroll upkeep measures it; -1 when the list is not in the table or has no
// measuring context.
int MeasureListText(WindowContext* context, HWND list, const char* text);
