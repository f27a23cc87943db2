#include <windows.h>

#include "app/main_window_win.h"
#include "base/shell_win.h"

// The show command is not used: the window always opens shown. The command
// line is read wide, so a path in any script reaches the program whole.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunTavolin(instance, CommandLineArguments());
}
