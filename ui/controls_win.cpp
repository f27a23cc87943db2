#include "ui/controls_win.h"

#include <cstdio>
#include <cstring>
#include <string>

#include <commctrl.h>

#include "base/scoped_win.h"
#include "base/wide_text_win.h"

namespace {

struct KindStyle {
    const wchar_t* className;
    DWORD style;
    bool generatedName;  // window name "CONTROL<kind><x><y><width><height>"
    bool textIsCaption;  // the creation text becomes the window text
};

// Indexed by ControlKind. List and combo boxes do not sort: lines stay in the
// order they were added. The check box is the plain kind: a click only
// notifies and the owner sets the state. Every kind but the label is a tab
// stop.
constexpr KindStyle KIND_STYLES[] = {
    {L"LISTBOX",
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
         LBS_EXTENDEDSEL,
     true, false},
    {L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_BORDER | BS_PUSHBUTTON, true, true},
    {L"EDIT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_BORDER | ES_AUTOHSCROLL, false, false},
    {L"EDIT",
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
         ES_AUTOVSCROLL,
     false, false},
    {L"STATIC", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_LEFT, false, true},
    {L"BUTTON", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | BS_CHECKBOX, true, true},
    {L"COMBOBOX", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_HASSTRINGS, true,
     false},
    // Rows come from the owner on demand (LVN_GETDISPINFOW), so a list of
    // any length costs only the rows in sight.
    {WC_LISTVIEWW,
     WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | WS_BORDER | LVS_REPORT | LVS_OWNERDATA |
         LVS_SINGLESEL | LVS_SHOWSELALWAYS,
     false, false},
};
constexpr int KIND_COUNT = sizeof KIND_STYLES / sizeof KIND_STYLES[0];

// Font parameters beyond size, slant and underline.
constexpr int FONT_WEIGHT = 0;  // FW_DONTCARE
constexpr DWORD FONT_PITCH_AND_FAMILY = FIXED_PITCH;

LRESULT Send(HWND control, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(control, message, wParam, lParam);
}

int ToIndex(LRESULT result) { return result < 0 ? -1 : static_cast<int>(result); }

ControlKind KindOf(WindowContext* context, HWND control) {
    const ControlRecord* r = FindControl(context, control);
    return r != nullptr ? r->kind : CONTROL_NONE;
}

bool IsSameFont(const SharedFont& f, int height, int width, bool isItalic, bool isUnderlined,
                const wchar_t* face) {
    return f.font != nullptr && f.height == height && f.width == width && f.isItalic == isItalic &&
           f.isUnderlined == isUnderlined && wcsncmp(f.faceName, face, LF_FACESIZE) == 0;
}

// The context's font of these parameters, one more user counted; made when
// no control uses it yet. Null when the platform refuses the font.
HFONT AcquireFont(WindowContext* context, int height, int width, bool isItalic, bool isUnderlined,
                  const char* faceName) {
    // CreateFontW keeps 31 characters of the face; the key keeps as many.
    wchar_t face[LF_FACESIZE] = L"";
    const std::wstring wide = ToWide(faceName);
    wcsncpy(face, wide.c_str(), LF_FACESIZE - 1);
    SharedFont* freeSlot = nullptr;
    for (SharedFont& f : context->fonts) {
        if (IsSameFont(f, height, width, isItalic, isUnderlined, face)) {
            f.users++;
            return f.font;
        }
        if (f.font == nullptr && freeSlot == nullptr) freeSlot = &f;
    }
    // One slot per control: a control holds one font at a time, so a slot is
    // free whenever a control asks.
    if (freeSlot == nullptr) return nullptr;
    HFONT font = CreateFontW(height, width, 0, 0, FONT_WEIGHT, isItalic, isUnderlined, 0, 0, 0, 0, 0,
                             FONT_PITCH_AND_FAMILY, wide.c_str());
    if (font == nullptr) return nullptr;
    *freeSlot = SharedFont{font, 1, height, width, isItalic, isUnderlined, {}};
    wcsncpy(freeSlot->faceName, face, LF_FACESIZE);
    return font;
}

// One user fewer; the last one deletes the font.
void ReleaseFont(WindowContext* context, HFONT font) {
    if (font == nullptr) return;
    for (SharedFont& f : context->fonts) {
        if (f.font != font) continue;
        if (--f.users == 0) {
            DeleteObject(f.font);
            f = SharedFont{};
        }
        return;
    }
}

bool IsMultiSelectList(HWND list) {
    const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
    return (style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

// The text of a list line or combo item (getLength and getText its LB_ or
// CB_ messages) as UTF-8; false when it has none to give. The length is
// asked first and the text fetched into room of that size, trusting the
// smaller count.
bool ReadItemText(HWND control, UINT getLength, UINT getText, int index, std::string* text) {
    if (index < 0) return false;
    const LRESULT len = Send(control, getLength, static_cast<WPARAM>(index));
    if (len < 0) return false;
    std::wstring wide(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = Send(control, getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data()));
    if (got < 0) got = 0;
    if (got > len) got = len;
    *text = ToUtf8(wide.data(), static_cast<int>(got));
    return true;
}

int CopyItemText(HWND control, UINT getLength, UINT getText, int index, char* buffer, size_t bufferSize) {
    std::string text;
    if (buffer == nullptr || bufferSize == 0 || !ReadItemText(control, getLength, getText, index, &text))
        return -1;
    return static_cast<int>(CopyUtf8(text, buffer, bufferSize));
}

// What a list or combo box sends its parent for a selection the user made.
void NotifySelectionChange(HWND control, UINT code) {
    Send(GetParent(control), WM_COMMAND, MAKEWPARAM(0, code), reinterpret_cast<LPARAM>(control));
}

}  // namespace

HWND CreateControl(WindowContext* context, ControlKind kind, int x, int y, int width, int height,
                   const char* text, uint32_t resizeFlags, ControlCallback callback, void* callbackData) {
    if (kind < 0 || kind >= KIND_COUNT) return nullptr;
    // A full table refuses the control before a window exists for it.
    if (context->controlCount >= MAX_CONTROLS) return nullptr;
    const KindStyle& ks = KIND_STYLES[kind];

    char name[64] = "";
    if (ks.generatedName) snprintf(name, sizeof name, "CONTROL%d%d%d%d%d", kind, x, y, width, height);
    HWND window = CreateWindowExW(0, ks.className, ToWide(name).c_str(), ks.style, x, y, width, height,
                                  context->window, nullptr, context->instance, context);
    // A record without a window could only ever match notifications that carry
    // no control, so a refused control leaves the table as it was.
    if (window == nullptr) return nullptr;
    if (ks.textIsCaption) SetWindowCaption(window, text);

    ControlEntry* entry = &context->controls[context->controlCount];
    ControlRecord* r = &entry->record;
    memset(entry, 0, sizeof *entry);
    entry->window = window;
    r->window = window;
    r->kind = kind;
    r->callback = callback;
    r->callbackData = callbackData;
    r->font = nullptr;
    r->x = r->createX = static_cast<float>(x);
    r->y = r->createY = static_cast<float>(y);
    r->width = r->createWidth = static_cast<float>(width);
    r->height = r->createHeight = static_cast<float>(height);
    r->resizeFlags = resizeFlags;
    r->listFlags = 0;
    context->controlCount++;

    if (kind == CONTROL_LIST_BOX) RefreshListScroll(context, r);
    return window;
}

void SetControlFont(WindowContext* context, HWND control, int height, int width, bool isItalic,
                    bool isUnderlined, const char* faceName) {
    ControlRecord* r = FindControl(context, control);
    if (r == nullptr) return;
    HFONT font = AcquireFont(context, height, width, isItalic, isUnderlined, faceName);
    // The control switches to the new font before the old one is let go, so it
    // never holds a dead font handle. A font the platform refuses is null:
    // the control then draws in the system font and the record holds none.
    Send(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ReleaseFont(context, r->font);
    r->font = font;
}

// Narrower widths of the face: the glyphs keep their height and the line its
// place, as on the label's neighbours.
void SetControlFontToFit(WindowContext* context, HWND control, int height, int width, bool isItalic,
                         bool isUnderlined, const char* faceName, const char* text) {
    SetControlFont(context, control, height, width, isItalic, isUnderlined, faceName);
    if (text == nullptr || width <= 1) return;
    RECT client = {};
    GetClientRect(control, &client);
    const int room = client.right - client.left;
    for (int w = width - 1; w >= 1 && MeasureControlText(context, control, text) > room; --w) {
        SetControlFont(context, control, height, w, isItalic, isUnderlined, faceName);
    }
}

int MeasureWideText(WindowContext* context, const ControlRecord* record, const wchar_t* text, int n) {
    if (record == nullptr || context->measuringDc == nullptr) return -1;
    SIZE size = {};
    // The DC's own font goes back afterwards, so a shared font is never left
    // selected and can be deleted as soon as its last control lets it go.
    ScopedSelectObject font(context->measuringDc, record->font);
    GetTextExtentPoint32W(context->measuringDc, text, n, &size);
    return static_cast<int>(size.cx);
}

int MeasureControlText(WindowContext* context, HWND control, const char* text) {
    const std::wstring wide = ToWide(text);
    return MeasureWideText(context, FindControl(context, control), wide.c_str(), static_cast<int>(wide.size()));
}

// Each control goes right after the one before it in the z-order that the
// dialog manager walks; the first goes to the top. A control already there
// is not moved: the panel sets the order again after every rebuild, when
// most controls already stand in it.
void SetTabOrder(const HWND* controls, size_t count) {
    HWND after = HWND_TOP;
    for (size_t i = 0; i < count; ++i) {
        if (controls[i] == nullptr) continue;
        const HWND before = GetWindow(controls[i], GW_HWNDPREV);
        if (before != (after == HWND_TOP ? nullptr : after)) {
            SetWindowPos(controls[i], after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
        }
        after = controls[i];
    }
}

void SetWindowCaption(HWND window, const char* text) {
    const std::wstring wide = ToWide(text);
    Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

// In an edit the caret stands before the last character; for an empty text
// both ends are -1, which drops the selection. Other kinds ignore it. The
// edit counts characters as UTF-16 units.
void SetControlText(HWND control, const char* text) {
    const std::wstring wide = ToWide(text);
    Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    const int caret = static_cast<int>(wide.size()) - 1;
    Send(control, EM_SETSEL, static_cast<WPARAM>(caret), static_cast<LPARAM>(caret));
}

int GetControlText(HWND control, char* buffer, size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) return 0;
    const LRESULT len = Send(control, WM_GETTEXTLENGTH);
    std::wstring wide(len > 0 ? static_cast<size_t>(len) + 1 : 1, L'\0');
    LRESULT got = Send(control, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
    if (got < 0) got = 0;
    if (got > len) got = len > 0 ? len : 0;
    return static_cast<int>(CopyAsUtf8(wide.data(), static_cast<int>(got), buffer, bufferSize));
}

intptr_t GetSelectedItemData(WindowContext* context, HWND control) {
    switch (KindOf(context, control)) {
    case CONTROL_LIST_BOX: {
        const int index = GetListCurrentIndex(control);
        return index < 0 ? -1 : GetListItemData(control, index);
    }
    case CONTROL_COMBO_BOX: {
        const int index = GetComboSelection(control);
        return index < 0 ? -1 : GetComboItemData(control, index);
    }
    default: return -1;
    }
}

bool GetSelectedText(WindowContext* context, HWND control, char* buffer, size_t bufferSize) {
    switch (KindOf(context, control)) {
    case CONTROL_COMBO_BOX: return GetComboItemText(control, GetComboSelection(control), buffer, bufferSize) >= 0;
    case CONTROL_LIST_BOX:
        if (GetListSelectedCount(control) < 1) return false;
        return GetListText(control, GetListCurrentIndex(control), buffer, bufferSize) >= 0;
    default: return false;
    }
}

void SelectItem(WindowContext* context, HWND control, int index, bool notify) {
    const ControlKind kind = KindOf(context, control);
    if (kind == CONTROL_LIST_BOX) {
        if (index == -1) index = GetListCount(control) - 1;
        if (IsMultiSelectList(control)) {
            // LB_SETCURSEL does nothing on a multiple-selection list: select the
            // one line and give it the focus, which LB_GETCURSEL then reports.
            SetListSelected(control, -1, false);
            if (index >= 0 && index < GetListCount(control)) {
                SetListSelected(control, index, true);
                SetListCaretIndex(control, index);
            }
        } else {
            SetListCurrentIndex(control, index);
        }
        // A list box does not notify a selection made by message; the routing
        // then runs the control's callback as for the user's own change.
        if (notify) NotifySelectionChange(control, LBN_SELCHANGE);
    } else if (kind == CONTROL_COMBO_BOX) {
        if (index == -1) index = GetComboCount(control) - 1;
        SetComboSelection(control, index);
        if (notify) NotifySelectionChange(control, CBN_SELCHANGE);
    }
}

void AddItem(WindowContext* context, HWND control, const char* text, intptr_t itemData, bool allowDuplicate) {
    if (text == nullptr) return;
    ControlRecord* r = FindControl(context, control);
    if (r == nullptr) return;
    if (r->kind == CONTROL_COMBO_BOX) {
        // The platform's exact search ignores letter case.
        if (!allowDuplicate && FindComboString(control, text) >= 0) return;
        const int index = AddComboString(control, text);
        if (index < 0) return;
        SetComboItemData(control, index, itemData);
        if (GetComboSelection(control) < 0) SetComboSelection(control, index);
    } else if (r->kind == CONTROL_LIST_BOX) {
        if (!allowDuplicate && FindListString(control, text) >= 0) return;
        const int index = AddListString(control, text);
        if (index < 0) return;
        SetListItemData(control, index, itemData);
        RefreshListScroll(context, r);
    }
}

ControlRecord* BeginListBatch(WindowContext* context, HWND list, size_t count, size_t textBytes) {
    ControlRecord* r = FindControl(context, list);
    if (r == nullptr || r->kind != CONTROL_LIST_BOX) return nullptr;
    // Reserving room for all lines at once spares the list its step-by-step
    // growth (no measurable gain under Wine, where the list grows cheaply).
    ReserveListStorage(list, count, textBytes);
    SetRedraw(list, false);
    return r;
}

void EndListBatch(WindowContext* context, ControlRecord* record) {
    SetRedraw(record->window, true);
    RefreshListScroll(context, record);
    RepaintControl(record->window);
}

void SetCheck(HWND button, bool isChecked) { Send(button, BM_SETCHECK, isChecked ? BST_CHECKED : BST_UNCHECKED); }

bool IsChecked(HWND button) { return (Send(button, BM_GETSTATE) & BST_CHECKED) != 0; }

void PressButton(HWND button) { Send(button, BM_CLICK); }

void SetMultiSelect(WindowContext* context, HWND list, bool allow) {
    ControlRecord* r = FindControl(context, list);
    if (r == nullptr) return;
    if (allow) {
        r->listFlags &= ~LIST_SINGLE_SELECTION;
    } else {
        r->listFlags |= LIST_SINGLE_SELECTION;
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
    while (i < context->controlCount && context->controls[i].window != control) i++;
    if (i == context->controlCount) return;
    ControlRecord* r = &context->controls[i].record;
    ReleaseFont(context, r->font);
    r->font = nullptr;
    const uint32_t last = context->controlCount - 1;
    if (i != last) context->controls[i] = context->controls[last];
    memset(&context->controls[last], 0, sizeof context->controls[last]);
    context->controlCount = last;
}

// --- One message each -------------------------------------------------------

int GetListCount(HWND list) { return static_cast<int>(Send(list, LB_GETCOUNT)); }

void ClearList(HWND list) { Send(list, LB_RESETCONTENT); }

int GetListTopIndex(HWND list) { return static_cast<int>(Send(list, LB_GETTOPINDEX)); }

int GetListCaretIndex(HWND list) { return static_cast<int>(Send(list, LB_GETCARETINDEX)); }

int GetListAnchorIndex(HWND list) { return static_cast<int>(Send(list, LB_GETANCHORINDEX)); }

int GetListCurrentIndex(HWND list) { return ToIndex(Send(list, LB_GETCURSEL)); }

int GetListSelectedCount(HWND list) { return static_cast<int>(Send(list, LB_GETSELCOUNT)); }

int GetListItemHeight(HWND list) { return ToIndex(Send(list, LB_GETITEMHEIGHT)); }

int GetListTextLength(HWND list, int index) {
    return index < 0 ? -1 : ToIndex(Send(list, LB_GETTEXTLEN, static_cast<WPARAM>(index)));
}

void SetListSelected(HWND list, int index, bool isSelected) {
    Send(list, LB_SETSEL, isSelected ? TRUE : FALSE, static_cast<LPARAM>(index));
}

void SetListCaretIndex(HWND list, int index) { Send(list, LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE); }

void SetListCurrentIndex(HWND list, int index) { Send(list, LB_SETCURSEL, static_cast<WPARAM>(index)); }

void SetListHorizontalExtent(HWND list, int width) {
    Send(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(width > 0 ? width : 0));
}

int GetListText(HWND list, int index, char* buffer, size_t bufferSize) {
    return CopyItemText(list, LB_GETTEXTLEN, LB_GETTEXT, index, buffer, bufferSize);
}

// LB_GETITEMDATA answers LB_ERR for a bad index, which a line's own data can
// also be: the index is checked first.
intptr_t GetListItemData(HWND list, int index) {
    if (index < 0 || index >= GetListCount(list)) return -1;
    return static_cast<intptr_t>(Send(list, LB_GETITEMDATA, static_cast<WPARAM>(index)));
}

bool ReadListLines(HWND list, std::string* texts, std::vector<size_t>* starts, std::vector<intptr_t>* items) {
    try {
        const int count = GetListCount(list);
        const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
        starts->reserve(starts->size() + n);
        items->reserve(items->size() + n);
        std::wstring wide;
        for (size_t i = 0; i < n; ++i) {
            const LRESULT len = GetListTextLength(list, static_cast<int>(i));
            LRESULT got = 0;
            if (len > 0) {
                wide.resize(static_cast<size_t>(len) + 1);
                got = Send(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide.data()));
                if (got < 0) got = 0;
                if (got > len) got = len;
            }
            starts->push_back(texts->size());
            AppendAsUtf8(wide.data(), static_cast<int>(got), texts);
            texts->push_back('\0');
            // i is a line of the list: the checked read would ask the count again.
            items->push_back(static_cast<intptr_t>(Send(list, LB_GETITEMDATA, static_cast<WPARAM>(i))));
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

int AddListString(HWND list, const char* text) {
    const std::wstring wide = ToWide(text);
    return ToIndex(Send(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int FindListString(HWND list, const char* text) {
    const std::wstring wide = ToWide(text);
    return ToIndex(Send(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str())));
}

void SetListItemData(HWND list, int index, intptr_t itemData) {
    Send(list, LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(itemData));
}

// The list keeps its lines as UTF-16: at most two bytes per byte of UTF-8.
void ReserveListStorage(HWND list, size_t count, size_t bytes) {
    Send(list, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(bytes * sizeof(wchar_t)));
}

void SetRedraw(HWND control, bool redraw) { Send(control, WM_SETREDRAW, redraw ? TRUE : FALSE); }

void RepaintControl(HWND control) { InvalidateRect(control, nullptr, TRUE); }

int GetHorizontalScrollPos(HWND control) { return GetScrollPos(control, SB_HORZ); }

int MeasureListText(WindowContext* context, HWND list, const char* text) {
    return MeasureControlText(context, list, text);
}

int GetComboCount(HWND combo) { return ToIndex(Send(combo, CB_GETCOUNT)); }

int GetComboSelection(HWND combo) { return ToIndex(Send(combo, CB_GETCURSEL)); }

void SetComboSelection(HWND combo, int index) { Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index)); }

int GetComboItemText(HWND combo, int index, char* buffer, size_t bufferSize) {
    return CopyItemText(combo, CB_GETLBTEXTLEN, CB_GETLBTEXT, index, buffer, bufferSize);
}

intptr_t GetComboItemData(HWND combo, int index) {
    return static_cast<intptr_t>(Send(combo, CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

void SetComboItemData(HWND combo, int index, intptr_t itemData) {
    Send(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(itemData));
}

int AddComboString(HWND combo, const char* text) {
    const std::wstring wide = ToWide(text);
    return ToIndex(Send(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int FindComboString(HWND combo, const char* text) {
    const std::wstring wide = ToWide(text);
    return ToIndex(Send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str())));
}

void ClearComboItems(HWND combo) { Send(combo, CB_RESETCONTENT); }

void AppendComboItems(HWND combo, const char* const* items, size_t count) {
    if (items == nullptr || count == 0) return;
    size_t bytes = 0;
    for (size_t i = 0; i < count; i++) {
        if (items[i] != nullptr) bytes += strlen(items[i]) + 1;
    }
    Send(combo, CB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(bytes * sizeof(wchar_t)));
    int first = -1;
    for (size_t i = 0; i < count; i++) {
        if (items[i] == nullptr) continue;
        const int index = AddComboString(combo, items[i]);
        if (first < 0 && index >= 0) first = index;
    }
    if (first >= 0 && GetComboSelection(combo) < 0) SetComboSelection(combo, first);
}
