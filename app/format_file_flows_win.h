// Save Format and Load Format: the two line layouts to and from a format
// configuration file chosen in a file dialog. GUI thread only.
#pragma once

#include "ui/window_context_win.h"

// Their texts are in settings/format_file_texts.h.

// Both set the busy flag for their file work; Save Format does nothing while
// it is already set, Load Format runs regardless.
void SaveFormat();
void LoadFormat(WindowContext* context);
