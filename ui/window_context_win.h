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

constexpr uint32_t MAX_CONTROLS = 255;
constexpr uint32_t MAX_HANDLERS = 255;

// Results of both callbacks are ignored.
typedef int (*ControlCallback)(WindowContext* context, HWND control, intptr_t param, intptr_t handler,
                               intptr_t user);
typedef int (*MessageCallback)(WindowContext* context, HWND window, UINT message, WPARAM wParam,
                               LPARAM lParam, intptr_t user);

struct ControlRecord {
    HWND window;
    int32_t kind;                                       // ControlKind
    ControlCallback callback;                           // null: notifications are not routed
    intptr_t handler;                                   // opaque, handed back to the callback
    intptr_t user;                                      // opaque, handed back to the callback
    HFONT font;                                         // owned; null until SetControlFont
    HDC measuringDc;                                    // owned; measures list text for the horizontal extent
    float x, y, width, height;                          // current place in the parent's client area
    float createX, createY, createWidth, createHeight;  // as created, never changed
    uint32_t resizeFlags;                               // RESIZE_*
    uint32_t listFlags;                                 // LIST_*
};

struct ControlEntry {
    HWND key;  // same as record.window
    ControlRecord record;
};

struct MessageHandler {
    UINT key;      // message id looked up
    UINT message;  // the same id
    intptr_t user;
    MessageCallback callback;  // null: the message goes to DefWindowProcW
};

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
void RunMessageLoop();
void DestroyWindowContext(WindowContext* context);
HWND MainWindowOf(const WindowContext* context);
void GetScaleFactors(const WindowContext* context, float* scaleX, float* scaleY);
// First record whose window is `control`; null if none.
ControlRecord* FindControl(WindowContext* context, HWND control);
void RefreshListScroll(ControlRecord* record);
void EnforceSingleSelection(ControlRecord* record);

// The window procedure of every window made by OpenMainWindow.
LRESULT CALLBACK WindowContextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
