// The common save and open dialogs, without an owner window (the main window
// keeps receiving messages while one is open). The file-type filter offers one
// type: "<type text> (*<extension>)" with the pattern "*<extension>".
#pragma once

#include <cstddef>

// Non-zero when a name was chosen; it is then in `name` (cut to size - 1
// characters, the rest zero). A cancelled dialog leaves `name` untouched.
int ShowSaveDialog(const char* title, const char* extension, const char* typeText, char* name,
                   size_t nameSize);
// Non-zero when a file was chosen; its path is then in `name`. `name` is
// zeroed before the dialog opens.
int ShowOpenDialog(const char* title, const char* extension, const char* typeText, char* name,
                   size_t nameSize);

// A message box with an OK button, without an owner window and brought to
// the foreground: the program's way of telling the user of a failure or a
// finished file command. Returns when the box is closed.
void ShowMessage(const char* text, const char* title);
