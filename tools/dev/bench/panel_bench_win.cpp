// panel_switch: the listing mode switched Full -> Group -> Full through the
// List Type combo of the real option panel, with the settings handler, on a
// window of the main window's size. Each switch replaces about 120 labels
// and controls. Beside the time it prints what one round trip asks of the
// window system, counted by hooks: the same on every run, however loaded the
// machine is.
#include <windows.h>

#include "bench_cases.h"
#include "panel/listing_tables.h"
#include "panel/option_panel_win.h"
#include "settings/format_settings.h"
#include "settings/settings_handler.h"
#include "tools/lib/window_driver/window_driver_win.h"
#include "ui/controls_win.h"

namespace {

using window_driver::PumpMessages;

// Selects the mode in the List Type combo as a user does and handles the
// rebuild it asks for.
void SwitchTo(WindowContext* context, const char* mode) {
    HWND combo = nullptr;
    for (const PanelEntry& e : PanelRegistry) {
        if (e.row == &ListTypeTable[0]) combo = e.control;
    }
    SetComboSelection(combo, FindComboString(combo, mode));
    // CB_SETCURSEL sends no CBN_SELCHANGE: the notification a user's choice
    // gives goes to the panel by hand.
    SendMessageW(MainWindowOf(context), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
    PumpMessages();
}

// Counted on this thread: windows made and destroyed, messages sent to
// window procedures (fonts set and moves among them), erased backgrounds and
// paints dispatched.
struct SwitchCounts {
    long created, destroyed, sent, fontsSet, moves, erases, paints;
};
SwitchCounts gCounts = {};

LRESULT CALLBACK CountCbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) ++gCounts.created;
    if (code == HCBT_DESTROYWND) ++gCounts.destroyed;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CountSent(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const UINT message = reinterpret_cast<const CWPSTRUCT*>(lParam)->message;
        ++gCounts.sent;
        gCounts.fontsSet += message == WM_SETFONT;
        gCounts.moves += message == WM_WINDOWPOSCHANGING;
        gCounts.erases += message == WM_ERASEBKGND;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CountTaken(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        gCounts.paints += reinterpret_cast<const MSG*>(lParam)->message == WM_PAINT;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// One round trip with the hooks in place.
SwitchCounts CountRoundTrip(WindowContext* context) {
    gCounts = {};
    const DWORD thread = GetCurrentThreadId();
    HHOOK hooks[] = {SetWindowsHookExW(WH_CBT, CountCbt, nullptr, thread),
                     SetWindowsHookExW(WH_CALLWNDPROC, CountSent, nullptr, thread),
                     SetWindowsHookExW(WH_GETMESSAGE, CountTaken, nullptr, thread)};
    SwitchTo(context, "Group Listing");
    SwitchTo(context, "Full Listing");
    for (HHOOK h : hooks) {
        if (h != nullptr) UnhookWindowsHookEx(h);
    }
    return gCounts;
}

}  // namespace

// Median ms of one Full -> Group -> Full round trip; -1 when the window
// cannot be opened.
double PanelSwitchMs(int runs) {
    WindowContext* context = CreateWindowContext(GetModuleHandleA(nullptr), "TAVOLINPANELBENCH", 0);
    if (context == nullptr || !OpenMainWindow(context, 770, 650, "tavolin-bench panel")) return -1;
    SetFormatDefaults(gFormatSettings);
    BuildListingTables();
    RegisterOptionTable({LISTING_TABLE_INDEX, ListTypeTable, SettingsHandler});
    ShowOptionTable(context, LISTING_PANEL_X, LISTING_PANEL_Y, LISTING_TABLE_INDEX);
    PumpMessages();
    const double ms = MedianMs(
        runs, [] {},
        [&] {
            SwitchTo(context, "Group Listing");
            SwitchTo(context, "Full Listing");
        });
    const SwitchCounts c = CountRoundTrip(context);
    std::printf("panel_switch_windows created %ld destroyed %ld\n", c.created, c.destroyed);
    std::printf("panel_switch_messages sent %ld fonts %ld moves %ld erases %ld paints %ld\n", c.sent, c.fontsSet,
                c.moves, c.erases, c.paints);
    ClearPanel(context);
    DestroyWindow(MainWindowOf(context));
    PumpMessages();
    DestroyWindowContext(context);
    SetFormatDefaults(gFormatSettings);
    return ms;
}
