// A real main window made through the layer, one per test, and the helpers
// the layer's tests share.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tools/lib/window_driver/window_driver_win.h"
#include "ui/controls_win.h"
#include "ui/window_context_win.h"

using window_driver::PumpMessages;

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int serial = 0;
        className_ = "TAVOLINTESTCLASS" + std::to_string(++serial);
        context_ = CreateWindowContext(GetModuleHandleA(nullptr), className_.c_str(), 0);
        ASSERT_NE(context_, nullptr);
    }

    void TearDown() override {
        if (context_ == nullptr) return;
        HWND window = MainWindowOf(context_);
        if (window != nullptr && IsWindow(window)) DestroyWindow(window);
        PumpMessages();
        DestroyWindowContext(context_);
        context_ = nullptr;
    }

    // Opens the window and makes its last known client size exactly
    // width x height, so that later resizes have round ratios.
    void Open(int width = 400, int height = 300) {
        ASSERT_EQ(OpenMainWindow(context_, 770, 650, "Tavolin test"), 1);
        SendMessageA(MainWindowOf(context_), WM_SIZE, 0, MAKELPARAM(width, height));
        ASSERT_EQ(context_->baseWidth, width);
        ASSERT_EQ(context_->baseHeight, height);
    }

    void ResizeTo(int width, int height) {
        SendMessageA(MainWindowOf(context_), WM_SIZE, 0, MAKELPARAM(width, height));
    }

    HWND Make(ControlKind kind, int x = 10, int y = 10, int width = 200, int height = 100, const char* text = "",
              uint32_t resizeFlags = 0, ControlCallback callback = nullptr, void* data = nullptr) {
        return CreateControl(context_, kind, x, y, width, height, text, resizeFlags, callback, data);
    }

    // The control's place in the parent's client area, as the platform has it.
    RECT PlaceOf(HWND control) {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, MainWindowOf(context_), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    std::string className_;
    WindowContext* context_ = nullptr;
};

// One call of a control or message callback, as the tests record it.
struct CallbackCall {
    WindowContext* context;
    HWND window;
    UINT message;
    intptr_t param;
    void* data;     // a control callback's
    intptr_t user;  // a message callback's
};

inline std::vector<CallbackCall>& RecordedCalls() {
    static std::vector<CallbackCall> calls;
    return calls;
}

inline void RecordControlCall(WindowContext* context, HWND control, intptr_t param, void* data) {
    RecordedCalls().push_back({context, control, 0, param, data, 0});
}

inline void RecordMessageCall(WindowContext* context, HWND window, UINT message, WPARAM, LPARAM lParam,
                              intptr_t user) {
    RecordedCalls().push_back({context, window, message, static_cast<intptr_t>(lParam), nullptr, user});
}

// What a test hands a control as its callback data, to see it come back.
inline int gCallbackTag = 0;
