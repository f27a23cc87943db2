// panel_switch: the listing mode switched Full -> Group -> Full through the
// List Type combo of the real option panel, with the settings handler, on a
// window of the main window's size. Each switch replaces about 120 labels
// and controls.
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
    ClearPanel(context);
    DestroyWindow(MainWindowOf(context));
    PumpMessages();
    DestroyWindowContext(context);
    SetFormatDefaults(gFormatSettings);
    return ms;
}
