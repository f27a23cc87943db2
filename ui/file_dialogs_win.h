// The common save and open dialogs, without an owner window (the main window
// keeps receiving messages while one is open), and the program's message
// box. Texts and paths are UTF-8.
#pragma once

#include <cstddef>

#include "ui/file_filter.h"

// True when a name was chosen; it is then in `name` (cut to nameSize - 1
// bytes on a character boundary, the rest zero) and, unless chosenType is
// null, the position (from 1) of the file type chosen in *chosenType. A
// cancelled dialog leaves `name` untouched. The first type is the default.
bool ShowSaveDialog(const char* title, const FileType* types, size_t typeCount, char* name, size_t nameSize,
                    int* chosenType = nullptr);
// True when a file was chosen; its path is then in `name`. `name` is zeroed
// before the dialog opens.
bool ShowOpenDialog(const char* title, const FileType& type, char* name, size_t nameSize);

// A message box with an OK button, without an owner window and brought to
// the foreground: the program's way of telling the user of a failure or a
// finished file command. Returns when the box is closed.
void ShowMessage(const char* text, const char* title);
// The same box with Yes and No buttons, No the default: true for Yes.
bool AskYesNo(const char* text, const char* title);
