// What the shell hands the program: its command line and files dropped on
// its window, as UTF-8 paths.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The arguments after the program's own name, as the shell quotes them (a
// folder dropped on the program's icon or opened with it is one).
std::vector<std::string> CommandLineArguments();

// The window takes files dropped on it from now on: WM_DROPFILES arrives.
void AcceptDroppedFiles(HWND window);

// The paths of a drop (the wParam of WM_DROPFILES), in order. The drop is
// released: its handle is not valid afterwards.
std::vector<std::string> TakeDroppedPaths(WPARAM drop);
