#include "app/main_window_win.h"

#include "app/caption.h"
#include "app/commands_win.h"
#include "index/scan_messages.h"
#include "listing/listing_win.h"
#include "panel/listing_tables.h"
#include "panel/option_panel_win.h"
#include "settings/format_settings.h"
#include "settings/settings_handler.h"
#include "ui/controls_win.h"

MainWindow gMainWindow;

namespace {

// One control of the main window's layout, in client coordinates of the
// window as it opens.
struct ControlLayout {
    HWND MainWindow::*handle;
    int kind;
    int x, y, width, height;
    const char* text;  // null: none
    uint32_t resizeFlags;
    bool isCommand;  // routed to HandleMainCommand
};

// In creation order. The status label reaches past the right edge and the
// preview past the bottom edge of the first client area; the window clips them.
const ControlLayout LAYOUT[] = {
    {&MainWindow::trackList, CONTROL_LIST_BOX, 0, 0, 760, 240, nullptr,
     RESIZE_Y | RESIZE_WIDTH | RESIZE_HEIGHT, true},
    {&MainWindow::getTracksButton, CONTROL_PUSH_BUTTON, 550, 325, 100, 30, GET_TRACKS_TEXT,
     RESIZE_X | RESIZE_Y, true},
    {&MainWindow::statusLabel, CONTROL_STATIC_TEXT, 670, 305, 140, 20, ".", RESIZE_X | RESIZE_Y, false},
    {&MainWindow::exampleLabel, CONTROL_STATIC_TEXT, 0, 550, 60, 20, "Example:", RESIZE_Y, false},
    {&MainWindow::previewText, CONTROL_STATIC_TEXT, 75, 550, 695, 120, "", RESIZE_Y, false},
    {&MainWindow::exportButton, CONTROL_PUSH_BUTTON, 660, 325, 100, 30, "Export List", RESIZE_X | RESIZE_Y,
     true},
    {&MainWindow::saveFormatButton, CONTROL_PUSH_BUTTON, 660, 360, 100, 20, "Save Format",
     RESIZE_X | RESIZE_Y, true},
    {&MainWindow::loadFormatButton, CONTROL_PUSH_BUTTON, 550, 360, 100, 20, "Load Format",
     RESIZE_X | RESIZE_Y, true},
};

struct FontLayout {
    HWND MainWindow::*handle;
    const char* face;
    int height, width;
};

// The Get Tracks and Export List buttons and the "Example:" label keep the
// platform's default font.
const FontLayout FONTS[] = {
    {&MainWindow::trackList, "Arial", 14, 5},
    {&MainWindow::statusLabel, "Arial", 14, 5},
    {&MainWindow::previewText, "Arial", 15, 6},
    {&MainWindow::saveFormatButton, "Courier new", 16, 8},
    {&MainWindow::loadFormatButton, "Courier new", 16, 8},
};

const UINT SCAN_MESSAGES[] = {MSG_TRACK_FOUND, MSG_SCAN_DONE, MSG_DISC_TITLE, MSG_DISC_IDENTITY};

}  // namespace

WindowContext* StartMainWindow(HINSTANCE instance, int* exitCode) {
    MainWindow& w = gMainWindow;
    w = MainWindow{};
    WindowContext* context = CreateWindowContext(instance, MAIN_CLASS_NAME, MAIN_ICON_ID);
    if (context == nullptr) {
        *exitCode = EXIT_NO_CONTEXT;
        return nullptr;
    }
    w.context = context;
    if (!OpenMainWindow(context, MAIN_OPEN_WIDTH, MAIN_OPEN_HEIGHT, PROGRAM_TITLE)) {
        DestroyWindowContext(context);
        w.context = nullptr;
        *exitCode = EXIT_NO_WINDOW;
        return nullptr;
    }

    BuildListingTables();
    RegisterOptionTable({LISTING_TABLE_INDEX, ListTypeTable, SettingsHandler});
    SetFormatDefaults(gFormatSettings);
    // The panel's controls come first in the control table, then the
    // window's own.
    ShowOptionTable(context, LISTING_PANEL_X, LISTING_PANEL_Y, LISTING_TABLE_INDEX);

    for (const ControlLayout& c : LAYOUT) {
        w.*c.handle = CreateControl(context, c.kind, c.x, c.y, c.width, c.height, c.text, c.resizeFlags,
                                    c.isCommand ? HandleMainCommand : nullptr, 0, 0);
        if (c.handle == &MainWindow::trackList) SetMultiSelect(context, w.trackList, false);
    }
    for (const FontLayout& f : FONTS) SetControlFont(context, w.*f.handle, f.height, f.width, false, false, f.face);

    gListingWindow = {context, w.trackList, w.statusLabel, w.previewText};
    InstallSettingsRefreshHooks();
    for (UINT message : SCAN_MESSAGES) AddMessageHandler(context, message, HandleScanMessage, 0);
    AcceptDroppedCopies(context);

    // Five pixels wider: the resize scales every control by the new client
    // width over the old one, and moves the ones at 0 to 1.
    SetWindowPos(MainWindowOf(context), nullptr, 0, 0, MAIN_START_WIDTH, MAIN_START_HEIGHT,
                 SWP_NOMOVE | SWP_NOOWNERZORDER);
    *exitCode = EXIT_NORMAL;
    return context;
}

int RunTavolin(HINSTANCE instance, const std::vector<std::string>& arguments) {
    int exitCode = EXIT_NORMAL;
    WindowContext* context = StartMainWindow(instance, &exitCode);
    if (context == nullptr) return exitCode;
    // The shell passes a folder dropped on the program's icon, or opened
    // with it, as the first argument; further ones are let go.
    if (!arguments.empty()) OpenCopy(context, arguments.front());
    RunMessageLoop();
    gListingWindow = {};
    gMainWindow = MainWindow{};
    DestroyWindowContext(context);
    return EXIT_NORMAL;
}
