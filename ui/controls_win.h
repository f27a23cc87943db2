// Child controls of a WindowContext, known by their window handles (all are
// created with identifier 0), and the few operations the program performs on
// them. Texts are UTF-8; a text read back is cut to the caller's buffer
// (sized in bytes) on a character boundary. GUI thread only.
#pragma once

#include "ui/window_context_win.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Null when the kind is CONTROL_NONE or no ControlKind, the table is full or
// the platform refuses the control; nothing is added to the table then. The
// callback gets callbackData back with every notification.
HWND CreateControl(WindowContext* context, ControlKind kind, int x, int y, int width, int height,
                   const char* text, uint32_t resizeFlags, ControlCallback callback, void* callbackData);
// Controls that ask for the same font share one.
void SetControlFont(WindowContext* context, HWND control, int height, int width, bool isItalic,
                    bool isUnderlined, const char* faceName);
// As SetControlFont, and when `text` is wider than the control in that font,
// with the width one pixel narrower at a time until it fits (or the width is
// 1): a label then shows its text whole on its line. A width of 0 (the face's
// own) is never narrowed.
void SetControlFontToFit(WindowContext* context, HWND control, int height, int width, bool isItalic,
                         bool isUnderlined, const char* faceName, const char* text);
// The width of the text in the control's font on the context's measuring
// context; -1 when the control is not in the table or there is no measuring
// context.
int MeasureControlText(WindowContext* context, HWND control, const char* text);
// The same for UTF-16 text of the window layer; n units.
int MeasureWideText(WindowContext* context, const ControlRecord* record, const wchar_t* text, int n);
// Sets the focus order (Tab, Shift+Tab) of the controls: the given ones
// first, in order; the others after them as they stood.
void SetTabOrder(const HWND* controls, size_t count);
// The window text, then the caret of an edit before the last character.
void SetControlText(HWND control, const char* text);
// The window text alone: a caption, a label, a button.
void SetWindowCaption(HWND window, const char* text);
// Bytes copied, without the terminator.
int GetControlText(HWND control, char* buffer, size_t bufferSize);
// -1: no current line or item.
intptr_t GetSelectedItemData(WindowContext* context, HWND control);
// Copies the current line or item's text; leaves the buffer alone when
// there is none. True when copied.
bool GetSelectedText(WindowContext* context, HWND control, char* buffer, size_t bufferSize);
// index -1: the last line or item.
void SelectItem(WindowContext* context, HWND control, int index, bool notify);
void AddItem(WindowContext* context, HWND control, const char* text, intptr_t itemData, bool allowDuplicate);
void SetCheck(HWND button, bool isChecked);
bool IsChecked(HWND button);
void PressButton(HWND button);  // BM_CLICK: notifies as a user's click
void SetMultiSelect(WindowContext* context, HWND list, bool allow);
void DestroyControl(WindowContext* context, HWND control);

// The steps of one batch of lines added to a list box: redraw off and room
// reserved for count lines of textBytes bytes in all, the lines
// (AddListString, SetListItemData), then redraw on and one scroll upkeep.
// BeginListBatch answers null, and nothing happens, when list is not a list
// box of context.
ControlRecord* BeginListBatch(WindowContext* context, HWND list, size_t count, size_t textBytes);
void EndListBatch(WindowContext* context, ControlRecord* record);

// Appends the lines (any record with `text` and `itemData`), in order, as one
// batch. Leaves exactly the state that AddItem(context, list, text, itemData,
// /*allowDuplicate*/true) per line leaves; lines without text are skipped.
template <class Line>
void AppendListLines(WindowContext* context, HWND list, const Line* lines, size_t count);

// --- One message each -------------------------------------------------------
// In the spirit of 7-Zip's CPP/Windows/Control wrappers: typed values in,
// -1 for LB_ERR / CB_ERR out. Indexes are the control's.
int GetListCount(HWND list);                  // LB_GETCOUNT
void ClearList(HWND list);                    // LB_RESETCONTENT; no scroll upkeep
int GetListTopIndex(HWND list);               // LB_GETTOPINDEX
int GetListCaretIndex(HWND list);             // LB_GETCARETINDEX
int GetListAnchorIndex(HWND list);            // LB_GETANCHORINDEX
int GetListCurrentIndex(HWND list);           // LB_GETCURSEL; -1: none
int GetListSelectedCount(HWND list);          // LB_GETSELCOUNT
int GetListItemHeight(HWND list);             // LB_GETITEMHEIGHT
int GetListTextLength(HWND list, int index);  // LB_GETTEXTLEN in UTF-16 units; -1: no such line
void SetListSelected(HWND list, int index, bool isSelected);  // LB_SETSEL; index -1: every line
void SetListCaretIndex(HWND list, int index);                 // LB_SETCARETINDEX
void SetListCurrentIndex(HWND list, int index);               // LB_SETCURSEL, single-selection lists
void SetListHorizontalExtent(HWND list, int width);           // LB_SETHORIZONTALEXTENT
// LB_GETTEXT as UTF-8, cut to bufferSize bytes: bytes copied; -1 when there
// is no such line.
int GetListText(HWND list, int index, char* buffer, size_t bufferSize);
// LB_GETITEMDATA of a line there is: -1 for an index outside the lines.
intptr_t GetListItemData(HWND list, int index);
// Every line of the list in one pass: its UTF-8 text, terminated, appended
// to texts at starts[i], and its item data. False, with the outputs
// incomplete, when the memory for them cannot be had.
bool ReadListLines(HWND list, std::string* texts, std::vector<size_t>* starts, std::vector<intptr_t>* items);
int AddListString(HWND list, const char* text);                 // LB_ADDSTRING: the new index
// LB_FINDSTRINGEXACT: the first line equal to text but for letter case, as
// the platform's locale folds case, not A-Z alone: "ÄRGER" finds "ärger"
// and Greek capitals their small letters; "ARGER" does not find "ärger".
int FindListString(HWND list, const char* text);
void SetListItemData(HWND list, int index, intptr_t itemData);  // LB_SETITEMDATA
void ReserveListStorage(HWND list, size_t count, size_t bytes);  // LB_INITSTORAGE
void SetRedraw(HWND control, bool redraw);                       // WM_SETREDRAW
void RepaintControl(HWND control);                               // invalidates all of it, background too
int GetHorizontalScrollPos(HWND control);                        // the SB_HORZ position
// The width of the text in the list's font, as the scroll upkeep measures it
// (MeasureControlText).
int MeasureListText(WindowContext* context, HWND list, const char* text);

// Combo box items and selection. None of these notifies the parent.
int GetComboCount(HWND combo);  // CB_GETCOUNT
int GetComboSelection(HWND combo);  // CB_GETCURSEL; -1: none
void SetComboSelection(HWND combo, int index);  // CB_SETCURSEL; -1 leaves none selected
// CB_GETLBTEXT as UTF-8, cut to fit: bytes copied, -1 when there is no such item.
int GetComboItemText(HWND combo, int index, char* buffer, size_t bufferSize);
intptr_t GetComboItemData(HWND combo, int index);  // CB_GETITEMDATA
void SetComboItemData(HWND combo, int index, intptr_t itemData);  // CB_SETITEMDATA
int AddComboString(HWND combo, const char* text);  // CB_ADDSTRING: the new index
// CB_FINDSTRINGEXACT: the first item equal to text but for letter case,
// folded by the locale as FindListString folds it.
int FindComboString(HWND combo, const char* text);
void ClearComboItems(HWND combo);  // CB_RESETCONTENT
// Appends the items, in order, as one batch (no search for items already
// there) and selects the first one when nothing was selected. Leaves the
// state that AddItem(context, combo, text, 0, /*allowDuplicate*/true) per
// item leaves.
void AppendComboItems(HWND combo, const char* const* items, size_t count);

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
        if (lines[i].text == nullptr) continue;
        const int index = AddListString(list, lines[i].text);
        if (index >= 0) SetListItemData(list, index, lines[i].itemData);
    }
    EndListBatch(context, record);
}
