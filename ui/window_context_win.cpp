#include "ui/window_context_win.h"

#include <commctrl.h>

#include <cstring>

#include "ui/controls_win.h"
#include "base/scoped_win.h"
#include "base/wide_text_win.h"

namespace {

// The code MSG_CONTROL_COMMAND routes with; no control sends it.
constexpr UINT CODE_CUSTOM = 0xFFFF;

// The system's arrow cursor (IDC_ARROW, whose definition is the narrow form).
constexpr WORD ARROW_CURSOR_ID = 32512;

// Class background: the menu colour, as a colour index plus one.
constexpr int CLASS_BACKGROUND = COLOR_MENU + 1;

// Extra pixels beyond the widest line's measured width.
constexpr int EXTENT_MARGIN = 10;

WindowContext* ContextOf(HWND window) {
    return reinterpret_cast<WindowContext*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Truncates toward zero; values past the int range (a float can grow without
// bound over many odd resizes) are pinned instead of overflowing.
int TruncToInt(float v) {
    if (!(v > -2147483520.0f)) return v != v ? 0 : INT32_MIN;
    if (v > 2147483520.0f) return INT32_MAX;
    return static_cast<int>(v);
}

void ApplyResizeFlags(ControlRecord* r, float rx, float ry) {
    const uint32_t flags = r->resizeFlags;
    if (flags & RESIZE_WIDTH) {
        if (flags & RESIZE_X) {
            r->width = r->width * rx;
        } else {
            // The left edge stays, the right edge scales.
            r->width = (r->x + r->width) * rx - r->x;
        }
    }
    if (flags & RESIZE_HEIGHT) {
        if (flags & RESIZE_Y) {
            r->height = r->height * ry;
        } else {
            r->height = (r->y + r->height) * ry - r->y;
        }
    }
    if (flags & RESIZE_X) r->x = r->x * rx;
    if (flags & RESIZE_Y) r->y = r->y * ry;
    // A coordinate or size of exactly zero becomes one, whatever the flags.
    if (r->height == 0.0f) r->height = 1.0f;
    if (r->width == 0.0f) r->width = 1.0f;
    if (r->y == 0.0f) r->y = 1.0f;
    if (r->x == 0.0f) r->x = 1.0f;
}

void Resize(WindowContext* context, LPARAM lParam) {
    int newWidth = LOWORD(lParam);
    int newHeight = HIWORD(lParam);
    // A minimised window reports 0 x 0: treat it as 1 x 1 so the ratios stay
    // finite and the way back restores the layout.
    if (newWidth == 0) newWidth = 1;
    if (newHeight == 0) newHeight = 1;
    // Base sizes are never 0 after the first resize; a window opened with a
    // zero size keeps its controls where they are on that first resize.
    const float rx = context->baseWidth > 0
                         ? static_cast<float>(static_cast<double>(newWidth) / context->baseWidth)
                         : 1.0f;
    const float ry = context->baseHeight > 0
                         ? static_cast<float>(static_cast<double>(newHeight) / context->baseHeight)
                         : 1.0f;
    context->scaleX = context->scaleX * rx;
    context->scaleY = context->scaleY * ry;
    for (uint32_t i = 0; i < context->controlCount; i++) {
        ControlRecord* r = &context->controls[i].record;
        ApplyResizeFlags(r, rx, ry);
        SetWindowPos(r->window, nullptr, TruncToInt(r->x), TruncToInt(r->y), TruncToInt(r->width),
                     TruncToInt(r->height), SWP_NOZORDER | SWP_NOOWNERZORDER);
        if (r->kind == CONTROL_LIST_BOX) RefreshListScroll(context, r);
    }
    context->baseWidth = newWidth;
    context->baseHeight = newHeight;
}

// Whether a control of this kind passes a notification code on to its
// callback, and with which param: a double click (or a combo box's edit
// change) with 2, the rest with the param as routed. The same value names
// different notifications for different kinds, so each kind reads it by its
// own names. A list box's selection change and double click pass, not its
// loss of focus; a push button's click and double click pass, not the list
// codes; the other kinds pass every code the routing knows.
bool PassesOn(ControlKind kind, UINT code, intptr_t* param) {
    switch (kind) {
    case CONTROL_LIST_BOX:
        if (code == LBN_DBLCLK) *param = PARAM_DOUBLE_CLICK;
        return code == LBN_SELCHANGE || code == LBN_DBLCLK || code == EN_CHANGE || code == CODE_CUSTOM;
    case CONTROL_PUSH_BUTTON:
        if (code == BN_DOUBLECLICKED) *param = PARAM_DOUBLE_CLICK;
        return code == BN_CLICKED || code == BN_DOUBLECLICKED || code == CODE_CUSTOM;
    default:
        if (code == CBN_DBLCLK || code == CBN_EDITCHANGE) *param = PARAM_DOUBLE_CLICK;
        return code == BN_CLICKED || code == CBN_SELCHANGE || code == CBN_DBLCLK || code == CBN_EDITCHANGE ||
               code == EN_CHANGE || code == CODE_CUSTOM;
    }
}

void RouteCommand(WindowContext* context, UINT code, HWND control, intptr_t param) {
    // A callback may destroy or create controls; the count is re-read on every
    // step so the walk never leaves the live entries.
    for (uint32_t i = 0; i < context->controlCount; i++) {
        ControlEntry* entry = &context->controls[i];
        if (entry->window != control || entry->record.callback == nullptr) continue;
        ControlRecord* r = &entry->record;
        intptr_t passed = param;
        if (PassesOn(r->kind, code, &passed)) r->callback(context, control, passed, r->callbackData);
        // The callback may have removed the record; enforce only on a live one.
        if (r->kind == CONTROL_LIST_BOX && code == LBN_SELCHANGE && i < context->controlCount &&
            context->controls[i].window == control) {
            EnforceSingleSelection(&context->controls[i].record);
        }
    }
}

}  // namespace

LRESULT CALLBACK WindowContextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return 0;
    }
    WindowContext* context = ContextOf(window);
    // Messages before WM_CREATE (WM_NCCREATE, WM_GETMINMAXINFO, ...) and after
    // the context let go of the window have no context to work on.
    if (context == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        if (context->window == window) context->window = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_SIZE: Resize(context, lParam); return 0;
    case WM_COMMAND:
        RouteCommand(context, HIWORD(wParam), reinterpret_cast<HWND>(lParam), PARAM_CHANGE);
        return 0;
    case MSG_CONTROL_COMMAND:
        RouteCommand(context, CODE_CUSTOM, reinterpret_cast<HWND>(wParam), static_cast<intptr_t>(lParam));
        return 0;
    default: break;
    }
    // The last registration of a message wins.
    for (uint32_t i = context->handlerCount; i-- > 0;) {
        const MessageHandler* h = &context->handlers[i];
        if (h->message != message) continue;
        if (h->callback == nullptr) break;
        h->callback(context, window, message, wParam, lParam, h->user);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

WindowContext* CreateWindowContext(HINSTANCE instance, const char* className, int iconId) {
    WindowContext* context = static_cast<WindowContext*>(LocalAlloc(LPTR, sizeof(WindowContext)));
    if (context == nullptr) return nullptr;
    if (className != nullptr) {
        strncpy(context->className, className, sizeof context->className - 1);
    }
    context->instance = instance;

    const std::wstring wideClass = ToWide(context->className);
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WindowContextProc;
    wc.hInstance = instance;
    const WORD icon = LOWORD(iconId);
    wc.hIcon = icon != 0 ? LoadIconW(instance, MAKEINTRESOURCEW(icon)) : nullptr;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(ARROW_CURSOR_ID));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(CLASS_BACKGROUND));
    wc.lpszClassName = wideClass.c_str();
    // A failed registration shows up as OpenMainWindow's failure.
    RegisterClassW(&wc);

    context->controlCount = 0;
    context->handlerCount = 0;
    // One measuring context for every control of the window, rather than
    // one made and deleted with each control.
    context->measuringDc = CreateCompatibleDC(nullptr);
    InitCommonControls();
    return context;
}

bool OpenMainWindow(WindowContext* context, int width, int height, const char* title) {
    context->scaleX = 1.0f;
    context->scaleY = 1.0f;
    context->baseWidth = width;
    context->baseHeight = height;
    HWND window = CreateWindowExW(0, ToWide(context->className).c_str(), ToWide(title).c_str(),
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, width,
                                  height, nullptr, nullptr, context->instance, context);
    if (window == nullptr) {
        context->window = nullptr;
        return false;
    }
    context->window = window;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return true;
}

bool AddMessageHandler(WindowContext* context, UINT message, MessageCallback callback, intptr_t user) {
    if (context->handlerCount >= MAX_HANDLERS) return false;
    MessageHandler* h = &context->handlers[context->handlerCount];
    h->message = message;
    h->user = user;
    h->callback = callback;
    context->handlerCount++;
    return true;
}

bool SetMessageHandler(WindowContext* context, UINT message, MessageCallback callback, intptr_t user) {
    for (uint32_t i = context->handlerCount; i-- > 0;) {
        MessageHandler* h = &context->handlers[i];
        if (h->message != message || h->callback != callback) continue;
        h->user = user;
        return true;
    }
    return AddMessageHandler(context, message, callback, user);
}

namespace {
bool IsKeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// The keys the window handles before its controls see them. Enter on a push
// button: the dialog manager would send IDOK to a window that has no such
// control, so the button is pressed here. Ctrl+C: list boxes do not copy.
bool HandleKey(WindowContext* context, const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return false;
    const ControlRecord* r = FindControl(context, msg.hwnd);
    if (r == nullptr) return false;
    if (msg.wParam == VK_RETURN && r->kind == CONTROL_PUSH_BUTTON && !IsKeyDown(VK_CONTROL) &&
        !IsKeyDown(VK_MENU)) {
        PressButton(msg.hwnd);
        return true;
    }
    // An edit copies its own selection.
    const bool isEdit = r->kind == CONTROL_EDIT || r->kind == CONTROL_MULTILINE_EDIT;
    if (msg.wParam == 'C' && !isEdit && IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_MENU) && !IsKeyDown(VK_SHIFT)) {
        SendMessageW(context->window, MSG_COPY_REQUEST, reinterpret_cast<WPARAM>(msg.hwnd), 0);
        return true;
    }
    return false;
}

// The further windows whose keys the message loop serves.
WindowContext* gServed[MAX_SERVED_WINDOWS] = {};

// The context whose window msg is for, of the loop's own and the served ones.
WindowContext* KeyContextOf(WindowContext* context, const MSG& msg) {
    WindowContext* candidates[1 + MAX_SERVED_WINDOWS] = {context};
    for (uint32_t i = 0; i < MAX_SERVED_WINDOWS; i++) candidates[1 + i] = gServed[i];
    for (WindowContext* c : candidates) {
        HWND window = c != nullptr ? c->window : nullptr;
        if (window != nullptr && (msg.hwnd == window || IsChild(window, msg.hwnd))) return c;
    }
    return nullptr;
}
}  // namespace

bool ServeKeys(WindowContext* context) {
    for (WindowContext*& slot : gServed) {
        if (slot == context) return true;
    }
    for (WindowContext*& slot : gServed) {
        if (slot != nullptr) continue;
        slot = context;
        return true;
    }
    return false;
}

void StopServingKeys(WindowContext* context) {
    for (WindowContext*& slot : gServed) {
        if (slot == context) slot = nullptr;
    }
}

// The dialog manager moves the focus on Tab and Shift+Tab along the
// controls' z-order among the WS_TABSTOP ones; the window keeps that order
// as the controls stand (SetTabOrder).
void RunMessageLoop(WindowContext* context) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        WindowContext* target = KeyContextOf(context, msg);
        if (target != nullptr) {
            if (msg.message == WM_KEYDOWN && target->keyHandler != nullptr &&
                target->keyHandler(target, msg.hwnd, msg.wParam))
                continue;
            if (HandleKey(target, msg)) continue;
            if (IsDialogMessageW(target->window, &msg)) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void DestroyWindowContext(WindowContext* context) {
    if (context == nullptr) return;
    // A window still open must not reach the freed context through its user
    // data: detach it, so its later messages go to DefWindowProcW.
    if (context->window != nullptr && IsWindow(context->window) && ContextOf(context->window) == context) {
        SetWindowLongPtrW(context->window, GWLP_USERDATA, 0);
    }
    UnregisterClassW(ToWide(context->className).c_str(), context->instance);
    // Controls still in the table when the context goes (their window went
    // with the main window) let their fonts go here.
    for (SharedFont& f : context->fonts) {
        if (f.font != nullptr) DeleteObject(f.font);
        f.font = nullptr;
    }
    if (context->measuringDc != nullptr) DeleteDC(context->measuringDc);
    context->measuringDc = nullptr;
    LocalFree(context);
}

HWND MainWindowOf(const WindowContext* context) { return context->window; }

void GetScaleFactors(const WindowContext* context, float* scaleX, float* scaleY) {
    if (scaleX != nullptr) *scaleX = context->scaleX;
    if (scaleY != nullptr) *scaleY = context->scaleY;
}

ControlRecord* FindControl(WindowContext* context, HWND control) {
    for (uint32_t i = 0; i < context->controlCount; i++) {
        if (context->controls[i].window == control) return &context->controls[i].record;
    }
    return nullptr;
}

// Shows the vertical scroll bar only when the lines do not fit, and sets the
// horizontal extent from the line with the most characters (the first of
// equally long ones), measured in the record's font.
void RefreshListScroll(WindowContext* context, ControlRecord* record) {
    HWND list = record->window;
    RECT client = {};
    GetClientRect(list, &client);
    const uint32_t clientHeight = static_cast<uint32_t>(client.bottom - client.top);
    const uint32_t itemHeight = static_cast<uint32_t>(GetListItemHeight(list));
    const int count = GetListCount(list);
    const uint32_t lines = count > 0 ? static_cast<uint32_t>(count) : 0;
    ShowScrollBar(list, SB_VERT, lines * itemHeight > clientHeight);
    if (count <= 0) return;

    // Characters as the list counts them: UTF-16 units.
    int longest = 0;
    int longestIndex = 0;
    for (int i = 0; i < count; i++) {
        const int len = GetListTextLength(list, i);
        if (len > longest) {
            longest = len;
            longestIndex = i;
        }
    }
    if (longest <= 0) return;

    ScopedLocalMemory<wchar_t> memory(
        static_cast<wchar_t*>(LocalAlloc(LPTR, (static_cast<SIZE_T>(longest) + 10) * sizeof(wchar_t))));
    wchar_t* text = memory.Get();
    if (text == nullptr) return;
    const LRESULT got =
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(longestIndex), reinterpret_cast<LPARAM>(text));
    const int n = static_cast<int>(got < longest ? got : longest);
    const int width = got > 0 ? MeasureWideText(context, record, text, n) : -1;
    if (width >= 0) SetListHorizontalExtent(list, width + EXTENT_MARGIN);
}

// Reduces a multiple selection to the focused line. Posted, not sent: the
// list finishes the click that made the selection before the reduction runs.
void EnforceSingleSelection(ControlRecord* record) {
    if (!(record->listFlags & LIST_SINGLE_SELECTION)) return;
    HWND list = record->window;
    if (GetListSelectedCount(list) <= 1) return;
    const int focused = GetListCurrentIndex(list);
    const int count = GetListCount(list);
    PostMessageW(list, LB_SELITEMRANGE, FALSE, MAKELPARAM(0, count - 1));
    PostMessageW(list, LB_SELITEMRANGE, TRUE, MAKELPARAM(focused, focused));
}
