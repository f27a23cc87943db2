// The window record of one top-level window: its class, its child controls
// (created and operated by controls_win.h) and a table of handlers for
// further messages. The window procedure resizes the controls in proportion,
// routes control notifications to per-control callbacks and every other
// message to the handler table. GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/control_kind.h"

struct WindowContext;

// Resize flags of a control: what follows the parent's size.
constexpr uint32_t RESIZE_X = 1;       // x scales with the width
constexpr uint32_t RESIZE_Y = 2;       // y scales with the height
constexpr uint32_t RESIZE_WIDTH = 4;   // width (or, without RESIZE_X, the right edge)
constexpr uint32_t RESIZE_HEIGHT = 8;  // height (or, without RESIZE_Y, the bottom edge)

// List flags of a list box.
constexpr uint32_t LIST_SINGLE_SELECTION = 1;  // never keep more than one line selected

// Custom message that routes like a control notification: wParam is the
// control, lParam the param handed to its callback.
constexpr UINT MSG_CONTROL_COMMAND = WM_USER + 20;
// Sent to the window by the message loop when the user presses Ctrl+C in one
// of its controls: wParam is that control. A handler table entry answers it.
constexpr UINT MSG_COPY_REQUEST = WM_USER + 21;

constexpr uint32_t MAX_CONTROLS = 255;
constexpr uint32_t MAX_HANDLERS = 255;

// Values of a control callback's param.
constexpr intptr_t PARAM_CHANGE = 0;        // a click, a selection or an edit change
constexpr intptr_t PARAM_DOUBLE_CLICK = 2;  // a double click, or a combo box's edit change

// Notification of a control; data is what the control was created with.
using ControlCallback = void (*)(WindowContext* context, HWND control, intptr_t param, void* data);
// A further message of the window; the result is ignored (the window answers 0).
using MessageCallback = void (*)(WindowContext* context, HWND window, UINT message, WPARAM wParam,
                                 LPARAM lParam, intptr_t user);

struct ControlRecord {
    HWND window;
    ControlKind kind;
    ControlCallback callback;                           // null: notifications are not routed
    void* callbackData;                                 // handed back to the callback, never read here
    HFONT font;                                         // shared (the context's font table); null until SetControlFont
    float x, y, width, height;                          // current place in the parent's client area
    float createX, createY, createWidth, createHeight;  // as created, never changed
    uint32_t resizeFlags;                               // RESIZE_*
    uint32_t listFlags;                                 // LIST_*
};

struct ControlEntry {
    HWND window;  // same as record.window: the key looked up
    ControlRecord record;
};

struct MessageHandler {
    UINT message;
    intptr_t user;
    MessageCallback callback;  // null: the message goes to DefWindowProcW
};

// One font of the context, used by `users` controls: controls that ask for
// the same face and size draw with one font, deleted when its last user lets
// it go.
struct SharedFont {
    HFONT font;  // null: the slot is free
    uint32_t users;
    int32_t height, width;
    bool isItalic, isUnderlined;
    wchar_t faceName[LF_FACESIZE];  // as CreateFontW takes it: cut to 31 characters
};

// A key pressed in the window or one of its controls, before the dialog
// manager sees it; true when the callback took it.
using KeyCallback = bool (*)(WindowContext* context, HWND focus, WPARAM key);

struct WindowContext {
    char className[256];  // UTF-8
    HINSTANCE instance;
    HWND window;        // null until OpenMainWindow
    int32_t baseWidth;  // last known client size
    int32_t baseHeight;
    ControlEntry controls[MAX_CONTROLS];
    uint32_t controlCount;  // live entries, always the first ones
    float scaleX;           // product of all resize ratios since the window opened
    float scaleY;
    MessageHandler handlers[MAX_HANDLERS];
    uint32_t handlerCount;
    SharedFont fonts[MAX_CONTROLS];  // at most one per control
    HDC measuringDc;                 // owned; measures control text in a control's font; may be null
    KeyCallback keyHandler;          // null: none
};

// Null when the memory cannot be had.
WindowContext* CreateWindowContext(HINSTANCE instance, const char* className, int iconId);
// True when the window was created, shown and painted.
bool OpenMainWindow(WindowContext* context, int width, int height, const char* title);
// False when the table is full.
bool AddMessageHandler(WindowContext* context, UINT message, MessageCallback callback, intptr_t user);
// Gives the last handler of this message and callback the user value, or
// adds one when there is none: a caller that registers again keeps one entry.
bool SetMessageHandler(WindowContext* context, UINT message, MessageCallback callback, intptr_t user);
// Runs until the quit message. Tab and Shift+Tab move the focus through the
// window's controls, Enter presses a focused push button, and Ctrl+C in a
// control sends MSG_COPY_REQUEST.
void RunMessageLoop(WindowContext* context);
// The message loop serves the keys of this context's window too, as it
// serves its own context's; false when MAX_SERVED_WINDOWS are served.
// Ended by StopServingKeys before the context goes.
constexpr uint32_t MAX_SERVED_WINDOWS = 4;
bool ServeKeys(WindowContext* context);
void StopServingKeys(WindowContext* context);
void DestroyWindowContext(WindowContext* context);
HWND MainWindowOf(const WindowContext* context);
void GetScaleFactors(const WindowContext* context, float* scaleX, float* scaleY);
// First record whose window is `control`; null if none.
ControlRecord* FindControl(WindowContext* context, HWND control);
void RefreshListScroll(WindowContext* context, ControlRecord* record);
void EnforceSingleSelection(ControlRecord* record);

// The window procedure of every window made by OpenMainWindow.
LRESULT CALLBACK WindowContextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
