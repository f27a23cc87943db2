// Save Format and Load Format: the two line layouts to and from a format
// configuration file chosen in a file dialog. GUI thread only.
#pragma once

#include "ui/window_context_win.h"

extern const char FORMAT_FILE_EXTENSION[];
extern const char FORMAT_FILE_TYPE_TEXT[];
extern const char SAVE_FORMAT_TITLE[];
extern const char LOAD_FORMAT_TITLE[];
extern const char SAVE_FORMAT_SUCCESS_TEXT[];
extern const char SAVE_FORMAT_CREATE_FAILED_TEXT[];
extern const char SAVE_FORMAT_WRITE_FAILED_TEXT[];
extern const char LOAD_FORMAT_OPEN_FAILED_TEXT[];
extern const char LOAD_FORMAT_VERSION_TEXT[];

// Both set the busy flag for their file work; Save Format does nothing while
// it is already set, Load Format runs regardless.
void SaveFormat();
void LoadFormat(WindowContext* context);
