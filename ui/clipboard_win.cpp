#include "ui/clipboard_win.h"

#include <cstring>

#include "base/wide_text_win.h"

namespace {
// Closes the clipboard on every way out of the copy.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner) : isOpen_(OpenClipboard(owner) != FALSE) {}
    ~ClipboardScope() {
        if (isOpen_) CloseClipboard();
    }
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    bool IsOpen() const { return isOpen_; }

private:
    bool isOpen_;
};
}  // namespace

// The memory goes to the clipboard only when SetClipboardData takes it;
// otherwise it is freed here. The block is filled before the clipboard is
// emptied, so a text that cannot be had leaves the old contents.
bool PutTextOnClipboard(HWND owner, const std::string& text) {
    const std::wstring wide = ToWide(text.data(), text.size());
    const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return false;
    void* block = GlobalLock(memory);
    if (block == nullptr) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(block, wide.c_str(), bytes);
    GlobalUnlock(memory);
    const ClipboardScope clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard() || SetClipboardData(CF_UNICODETEXT, memory) == nullptr) {
        GlobalFree(memory);
        return false;
    }
    return true;
}
