// The clipboard: text put on it for other programs. GUI thread only.
#pragma once

#include <windows.h>

#include <string>

// Replaces the clipboard's contents with the UTF-8 text as CF_UNICODETEXT,
// owned by the window. False when the clipboard cannot be opened (another
// program holds it) or the memory for the text cannot be had; the clipboard
// is then left as it was.
bool PutTextOnClipboard(HWND owner, const std::string& text);
