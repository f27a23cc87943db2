#include <windows.h>

#include "app/main_window_win.h"

// The command line and the show command are not used: the window always opens
// shown.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunTavolin(instance); }
