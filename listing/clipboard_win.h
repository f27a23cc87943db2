// Ctrl+C in the track list: the listing as text on the clipboard. GUI thread
// only.
#pragma once

#include <windows.h>

#include <string>

// The text Export List writes for the track list as it stands, without the
// byte order mark. False when the memory for it cannot be had.
bool ComposeListedText(std::string* text);

// Puts that text on the clipboard (CF_UNICODETEXT), owned by the window.
// False when it could not be put there; the clipboard is then unchanged.
bool CopyListingToClipboard(HWND owner);
