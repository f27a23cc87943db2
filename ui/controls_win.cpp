#include "ui/controls_win.h"

#include <cstdio>
#include <cstring>

#include "ui/scoped_win.h"

namespace {

struct KindStyle {
    const char* className;
    DWORD style;
    bool generatedName;  // window name "CONTROL<kind><x><y><width><height>"
    bool textIsCaption;  // the creation text becomes the window text
};

// Indexed by ControlKind. List and combo boxes do not sort: lines stay in the
// order they were added. The check box is the plain kind: a click only
// notifies and the owner sets the state.
constexpr KindStyle KIND_STYLES[] = {
    {"LISTBOX",
     WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
         LBS_EXTENDEDSEL,
     true, false},
    {"BUTTON", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | BS_PUSHBUTTON, true, true},
    {"EDIT", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | ES_AUTOHSCROLL, false, false},
    {"EDIT", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL,
     false, false},
    {"STATIC", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFT, false, true},
    {"BUTTON", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_CHECKBOX, true, true},
    {"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS, true, false},
};
constexpr int KIND_COUNT = sizeof KIND_STYLES / sizeof KIND_STYLES[0];

// Font parameters beyond size, slant and underline.
constexpr int FONT_WEIGHT = 0;  // FW_DONTCARE
constexpr DWORD FONT_PITCH_AND_FAMILY = FIXED_PITCH;

int KindOf(WindowContext* context, HWND control) {
    const ControlRecord* r = FindControl(context, control);
    return r != nullptr ? r->kind : -1;
}

bool IsMultiSelectList(HWND list) {
    const LONG_PTR style = GetWindowLongPtrA(list, GWL_STYLE);
    return (style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

// Copies the text of a list line or combo item (getLength and getText its
// LB_ or CB_ messages) into buffer and returns the characters copied, or -1
// when it has none to give. The length is asked first and the text fetched
// into room of that size, so a text longer than the caller's buffer is cut,
// never written past it.
int CopyItemText(HWND control, UINT getLength, UINT getText, LRESULT index, char* buffer, size_t bufferSize) {
    const LRESULT len = SendMessageA(control, getLength, static_cast<WPARAM>(index), 0);
    if (len < 0) return -1;
    const ScopedLocalMemory<char> memory(static_cast<char*>(LocalAlloc(LPTR, static_cast<SIZE_T>(len) + 1)));
    char* text = memory.Get();
    if (text == nullptr) return -1;
    LRESULT got = SendMessageA(control, getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    if (got < 0) got = 0;
    if (got > len) got = len;
    size_t n = static_cast<size_t>(got);
    if (n > bufferSize - 1) n = bufferSize - 1;
    memcpy(buffer, text, n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

}  // namespace

HWND CreateControl(WindowContext* context, int kind, int x, int y, int width, int height, const char* text,
                   uint32_t resizeFlags, ControlCallback callback, intptr_t handler, intptr_t user) {
    if (kind < 0 || kind >= KIND_COUNT) return nullptr;
    // A full table refuses the control before a window exists for it.
    if (context->controlCount >= MAX_CONTROLS) return nullptr;
    const KindStyle& ks = KIND_STYLES[kind];

    char name[64] = "";
    if (ks.generatedName) snprintf(name, sizeof name, "CONTROL%d%d%d%d%d", kind, x, y, width, height);
    HWND window = CreateWindowExA(0, ks.className, name, ks.style, x, y, width, height, context->window,
                                  nullptr, context->instance, context);
    // A record without a window could only ever match notifications that carry
    // no control, so a refused control leaves the table as it was.
    if (window == nullptr) return nullptr;
    if (ks.textIsCaption) SetWindowTextA(window, text != nullptr ? text : "");

    ControlEntry* entry = &context->controls[context->controlCount];
    ControlRecord* r = &entry->record;
    memset(entry, 0, sizeof *entry);
    entry->key = window;
    r->window = window;
    r->kind = kind;
    r->callback = callback;
    r->handler = handler;
    r->user = user;
    r->font = nullptr;
    r->measuringDc = CreateCompatibleDC(nullptr);
    r->x = r->createX = static_cast<float>(x);
    r->y = r->createY = static_cast<float>(y);
    r->width = r->createWidth = static_cast<float>(width);
    r->height = r->createHeight = static_cast<float>(height);
    r->resizeFlags = resizeFlags;
    r->listFlags = 0;
    context->controlCount++;

    if (kind == CONTROL_LIST_BOX) RefreshListScroll(r);
    return window;
}

void SetControlFont(WindowContext* context, HWND control, int height, int width, int italic, int underline,
                    const char* faceName) {
    ControlRecord* r = FindControl(context, control);
    if (r == nullptr) return;
    HFONT font = CreateFontA(height, width, 0, 0, FONT_WEIGHT, italic, underline, 0, 0, 0, 0, 0,
                             FONT_PITCH_AND_FAMILY, faceName);
    // The control switches to the new font before the old one is deleted, so it
    // never holds a dead font handle. A font the platform refuses is null:
    // the control then draws in the system font and the record holds none.
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (r->font != nullptr) DeleteObject(r->font);
    r->font = font;
}

void SetControlText(HWND control, const char* text) {
    if (text == nullptr) text = "";
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    // In an edit the caret stands before the last character; for an empty text
    // both ends are -1, which drops the selection. Other kinds ignore it.
    const int caret = static_cast<int>(strlen(text)) - 1;
    SendMessageA(control, EM_SETSEL, static_cast<WPARAM>(caret), static_cast<LPARAM>(caret));
}

int GetControlText(HWND control, char* buffer, int bufferSize) {
    if (buffer == nullptr || bufferSize <= 0) return 0;
    return static_cast<int>(
        SendMessageA(control, WM_GETTEXT, static_cast<WPARAM>(bufferSize), reinterpret_cast<LPARAM>(buffer)));
}

intptr_t GetSelectedItemData(WindowContext* context, HWND control) {
    switch (KindOf(context, control)) {
    case CONTROL_LIST_BOX: {
        const LRESULT index = SendMessageA(control, LB_GETCURSEL, 0, 0);
        if (index == LB_ERR) return -1;
        return static_cast<intptr_t>(SendMessageA(control, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    }
    case CONTROL_COMBO_BOX: {
        const LRESULT index = SendMessageA(control, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) return -1;
        return static_cast<intptr_t>(SendMessageA(control, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    }
    default: return -1;
    }
}

int GetSelectedText(WindowContext* context, HWND control, char* buffer, size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return 0;
    UINT getLength, getText;
    LRESULT index;
    switch (KindOf(context, control)) {
    case CONTROL_COMBO_BOX:
        index = SendMessageA(control, CB_GETCURSEL, 0, 0);
        if (index == CB_ERR) return 0;
        getLength = CB_GETLBTEXTLEN;
        getText = CB_GETLBTEXT;
        break;
    case CONTROL_LIST_BOX:
        if (SendMessageA(control, LB_GETSELCOUNT, 0, 0) < 1) return 0;
        index = SendMessageA(control, LB_GETCURSEL, 0, 0);
        if (index == LB_ERR) return 0;
        getLength = LB_GETTEXTLEN;
        getText = LB_GETTEXT;
        break;
    default: return 0;
    }
    return CopyItemText(control, getLength, getText, index, buffer, bufferSize) >= 0 ? 1 : 0;
}

intptr_t GetListItemData(HWND list, int index) {
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (index == -1 || index >= count) return 0;
    if (index < 0) return 0;
    return static_cast<intptr_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

void SelectItem(WindowContext* context, HWND control, int index, int notify) {
    const int kind = KindOf(context, control);
    if (kind == CONTROL_LIST_BOX) {
        if (index == -1) index = static_cast<int>(SendMessageA(control, LB_GETCOUNT, 0, 0)) - 1;
        if (IsMultiSelectList(control)) {
            // LB_SETCURSEL does nothing on a multiple-selection list: select the
            // one line and give it the focus, which LB_GETCURSEL then reports.
            SendMessageA(control, LB_SETSEL, FALSE, -1);
            if (index >= 0 && SendMessageA(control, LB_SETSEL, TRUE, index) != LB_ERR) {
                SendMessageA(control, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
            }
        } else {
            SendMessageA(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    } else if (kind == CONTROL_COMBO_BOX) {
        if (index == -1) index = static_cast<int>(SendMessageA(control, CB_GETCOUNT, 0, 0)) - 1;
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    } else {
        return;
    }
    // List and combo boxes do not notify a selection made by message; the
    // routing then runs the control's callback as for the user's own change.
    if (notify) {
        SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(0, 1), reinterpret_cast<LPARAM>(control));
    }
}

void ClearList(HWND list) { SendMessageA(list, LB_RESETCONTENT, 0, 0); }

void AddItem(WindowContext* context, HWND control, const char* text, intptr_t itemData, int allowDuplicate) {
    if (text == nullptr) return;
    ControlRecord* r = FindControl(context, control);
    if (r == nullptr) return;
    const LPARAM textParam = reinterpret_cast<LPARAM>(text);
    if (r->kind == CONTROL_COMBO_BOX) {
        // The platform's exact search ignores letter case.
        if (!allowDuplicate &&
            SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), textParam) != CB_ERR) {
            return;
        }
        const LRESULT index = SendMessageA(control, CB_ADDSTRING, 0, textParam);
        if (index < 0) return;
        SendMessageA(control, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(itemData));
        if (SendMessageA(control, CB_GETCURSEL, 0, 0) == CB_ERR) {
            SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
    } else if (r->kind == CONTROL_LIST_BOX) {
        if (!allowDuplicate &&
            SendMessageA(control, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), textParam) != LB_ERR) {
            return;
        }
        const LRESULT index = SendMessageA(control, LB_ADDSTRING, 0, textParam);
        if (index < 0) return;
        SendMessageA(control, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(itemData));
        RefreshListScroll(r);
    }
}

ControlRecord* BeginListBatch(WindowContext* context, HWND list, size_t count, size_t textBytes) {
    ControlRecord* r = FindControl(context, list);
    if (r == nullptr || r->kind != CONTROL_LIST_BOX) return nullptr;
    // Reserving room for all lines at once spares the list its step-by-step
    // growth (no measurable gain under Wine, where the list grows cheaply).
    SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(textBytes));
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    return r;
}

void AddListLine(HWND list, const char* text, intptr_t itemData) {
    const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    if (index < 0) return;
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(itemData));
}

void EndListBatch(ControlRecord* record) {
    SendMessageA(record->window, WM_SETREDRAW, TRUE, 0);
    RefreshListScroll(record);
    InvalidateRect(record->window, nullptr, TRUE);
}

void SetCheck(HWND button, int checked) {
    SendMessageA(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int IsChecked(HWND button) { return (SendMessageA(button, BM_GETSTATE, 0, 0) & 1) ? 1 : 0; }

int GetListCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

void SetMultiSelect(WindowContext* context, HWND list, int allow) {
    ControlRecord* r = FindControl(context, list);
    if (r == nullptr) return;
    if (allow == 0) {
        r->listFlags |= LIST_SINGLE_SELECTION;
    } else {
        r->listFlags &= ~LIST_SINGLE_SELECTION;
    }
    EnforceSingleSelection(r);
}

// The last entry moves into the freed slot, so the table stays dense; the
// last control takes the destroyed one's place in the order that resizing
// and routing follow.
void DestroyControl(WindowContext* context, HWND control) {
    if (FindControl(context, control) == nullptr) return;
    // The window goes first: it must not draw with a font already deleted. Its
    // last notifications may reach callbacks that change the table, so the
    // entry is looked up again afterwards.
    DestroyWindow(control);
    uint32_t i = 0;
    while (i < context->controlCount && context->controls[i].key != control) i++;
    if (i == context->controlCount) return;
    ControlRecord* r = &context->controls[i].record;
    if (r->font != nullptr) {
        DeleteObject(r->font);
        r->font = nullptr;
    }
    if (r->measuringDc != nullptr) {
        DeleteDC(r->measuringDc);
        r->measuringDc = nullptr;
    }
    const uint32_t last = context->controlCount - 1;
    if (i != last) context->controls[i] = context->controls[last];
    memset(&context->controls[last], 0, sizeof context->controls[last]);
    context->controlCount = last;
}

int GetComboCount(HWND combo) {
    const LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    return count == CB_ERR ? -1 : static_cast<int>(count);
}

int GetComboSelection(HWND combo) {
    const LRESULT index = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void SetComboSelection(HWND combo, int index) {
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int GetComboItemText(HWND combo, int index, char* buffer, size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0 || index < 0) return -1;
    return CopyItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index, buffer, bufferSize);
}

void ClearComboItems(HWND combo) { SendMessageA(combo, CB_RESETCONTENT, 0, 0); }

void AppendComboItems(HWND combo, const char* const* items, size_t count) {
    if (items == nullptr || count == 0) return;
    size_t bytes = 0;
    for (size_t i = 0; i < count; i++) {
        if (items[i] != nullptr) bytes += strlen(items[i]) + 1;
    }
    SendMessageA(combo, CB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(bytes));
    LRESULT first = CB_ERR;
    for (size_t i = 0; i < count; i++) {
        if (items[i] == nullptr) continue;
        const LRESULT index = SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
        if (first == CB_ERR && index >= 0) first = index;
    }
    if (first != CB_ERR && SendMessageA(combo, CB_GETCURSEL, 0, 0) == CB_ERR) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(first), 0);
    }
}

// --- List box operations ----------------------------------------------------

int GetListTopIndex(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); }

int GetListCaretIndex(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCARETINDEX, 0, 0)); }

int GetListAnchorIndex(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETANCHORINDEX, 0, 0)); }

int GetListCurrentIndex(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

int GetListSelectedCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETSELCOUNT, 0, 0)); }

int GetListTextLength(HWND list, int index) {
    return static_cast<int>(SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
}

int GetListText(HWND list, int index, char* buffer) {
    return static_cast<int>(
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
}

intptr_t GetListItemDataAt(HWND list, int index) {
    return static_cast<intptr_t>(SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

int AddListString(HWND list, const char* text) {
    return static_cast<int>(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

void SetListItemData(HWND list, int index, intptr_t itemData) {
    SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(itemData));
}

void ReserveListStorage(HWND list, size_t count, size_t bytes) {
    SendMessageA(list, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(bytes));
}

void SetRedraw(HWND control, bool redraw) { SendMessageA(control, WM_SETREDRAW, redraw ? TRUE : FALSE, 0); }

void RepaintControl(HWND control) { InvalidateRect(control, nullptr, TRUE); }

int GetHorizontalScrollPos(HWND control) { return GetScrollPos(control, SB_HORZ); }

int MeasureListText(WindowContext* context, HWND list, const char* text) {
    ControlRecord* r = FindControl(context, list);
    if (r == nullptr || r->measuringDc == nullptr) return -1;
    ScopedSelectObject font(r->measuringDc, r->font);
    SIZE size = {};
    GetTextExtentPoint32A(r->measuringDc, text, static_cast<int>(strlen(text)), &size);
    return static_cast<int>(size.cx);
}
