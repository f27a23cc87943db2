#include "listing/clipboard_win.h"

#include <new>

#include "listing/export_win.h"
#include "ui/clipboard_win.h"

namespace {
bool AppendLine(void* sink, const char* line, size_t length) {
    try {
        static_cast<std::string*>(sink)->append(line, length);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}
}  // namespace

bool ComposeListedText(std::string* text) {
    text->clear();
    return RenderListedLines(AppendLine, text);
}

bool CopyListingToClipboard(HWND owner) {
    std::string text;
    return ComposeListedText(&text) && PutTextOnClipboard(owner, text);
}
