// A real main window of the application's size for the option panel's
// tests, with the panel's registries emptied before and after each test.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>

#include "panel/listing_tables.h"
#include "panel/option_panel_win.h"
#include "support/panel_state/panel_state_win.h"
#include "ui/controls_win.h"

inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Rebuild requests waiting in the queue, without handling them.
inline int QueuedRebuilds() {
    int n = 0;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, MSG_PANEL_REBUILD, MSG_PANEL_REBUILD, PM_REMOVE)) {
        ++n;
    }
    return n;
}

class PanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int serial = 0;
        const std::string name = "TAVOLINPANELTEST" + std::to_string(++serial);
        context_ = CreateWindowContext(GetModuleHandleA(nullptr), name.c_str(), 0);
        ASSERT_NE(context_, nullptr);
        ASSERT_EQ(OpenMainWindow(context_, 770, 650, "Tavolin panel test"), 1);
        std::memset(PanelRegistry, 0, sizeof PanelRegistry);
        std::memset(TableRegistry, 0, sizeof TableRegistry);
        gTestOptions = TestOptionStore{};
        BuildListingTables();
    }

    void TearDown() override {
        ClearPanel(context_);
        DestroyWindow(MainWindowOf(context_));
        Pump();
        DestroyWindowContext(context_);
        std::memset(PanelRegistry, 0, sizeof PanelRegistry);
        BuildListingTables();
    }

    HWND Window() const { return MainWindowOf(context_); }

    HWND ControlOf(const OptionRow* row) const {
        for (const PanelEntry& e : PanelRegistry) {
            if (e.row == row) return e.control;
        }
        return nullptr;
    }

    // Replaces an edit's whole text by typing: select all, then one WM_CHAR
    // per character (backspace for the empty text), each reported by the edit.
    void Type(HWND edit, const char* text) {
        SendMessageA(edit, EM_SETSEL, 0, -1);
        if (*text == '\0') SendMessageA(edit, WM_CHAR, VK_BACK, 0);
        for (const char* c = text; *c; ++c) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(*c), 0);
    }

    // Selects a combo item as the user does: the selection, then its notification.
    void Choose(HWND combo, int index) {
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }

    void Choose(HWND combo, const char* item) {
        const LRESULT index =
            SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item));
        ASSERT_NE(index, CB_ERR) << item;
        Choose(combo, static_cast<int>(index));
    }

    WindowContext* context_ = nullptr;
};
