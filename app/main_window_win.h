// The main window: start-up, its controls and the program-wide state that the
// commands work on. GUI thread only.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ui/window_context_win.h"

constexpr char MAIN_CLASS_NAME[] = "TAVOLINWNDCLASS";
constexpr int MAIN_ICON_ID = 101;
constexpr int MAIN_OPEN_WIDTH = 770;  // outer size asked for when the window opens
constexpr int MAIN_OPEN_HEIGHT = 650;
constexpr int MAIN_START_WIDTH = 775;  // outer size set once every control exists
constexpr int MAIN_START_HEIGHT = 650;

// Exit codes of the program.
constexpr int EXIT_NORMAL = 0;
constexpr int EXIT_NO_CONTEXT = -1;
constexpr int EXIT_NO_WINDOW = -2;

constexpr char GET_TRACKS_TEXT[] = "Get Tracks...";

struct MainWindow {
    WindowContext* context;  // the main context; null until start-up made it
    HWND trackList;
    HWND getTracksButton;
    HWND statusLabel;
    HWND exampleLabel;
    HWND previewText;
    HWND exportButton;
    HWND saveFormatButton;
    HWND loadFormatButton;
    HWND catalogueButton;
};
extern MainWindow gMainWindow;

// Start-up up to the message loop: the context, the window, the option
// panel, the controls, their fonts, the scan-message and drop handlers and
// the first resize. Returns the main context, or null with *exitCode set when the
// context or the window could not be made.
WindowContext* StartMainWindow(HINSTANCE instance, int* exitCode);

// The whole program: start-up, the recorder copy named by the first
// argument (if any) opened, the message loop and the teardown. Returns the
// exit code.
int RunTavolin(HINSTANCE instance, const std::vector<std::string>& arguments);
